// The bare HTTP client the load tests and the service fuzzer use. A process under test gets
// signals (libFuzzer's time-out alarm among them) while it waits on a slow answer; a signal
// is no end of the answer.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "service/harness/raw_http.h"

namespace orvo::service::harness {
namespace {

std::atomic<int> g_alarms{0};
void CountAlarm(int) { g_alarms.fetch_add(1, std::memory_order_relaxed); }

// Answers one connection after `delay`, never taking the alarm itself, so every alarm lands
// in the client's blocking calls.
class SlowServer {
 public:
  explicit SlowServer(std::chrono::milliseconds delay) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 4);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &alarm, &before);
    thread_ = std::thread([this, delay] {
      const int client = accept(listener_, nullptr, nullptr);
      char request[4096];
      (void)recv(client, request, sizeof request, 0);
      std::this_thread::sleep_for(delay);
      const std::string reply = "HTTP/1.0 200 OK\r\nContent-Length: 7\r\n\r\n{\"m\":1}";
      (void)send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
      close(client);
    });
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
  }
  ~SlowServer() {
    thread_.join();
    close(listener_);
  }
  int port() const { return port_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
};

TEST(RawHttp, AnAnswerArrivesWholeThoughSignalsInterruptTheWait) {
  struct sigaction action {};
  action.sa_handler = CountAlarm;  // no SA_RESTART: blocking calls end with EINTR
  struct sigaction before {};
  sigaction(SIGALRM, &action, &before);
  const itimerval every_20ms{{0, 20000}, {0, 20000}};
  const itimerval off{};

  SlowServer server(std::chrono::milliseconds(300));
  g_alarms = 0;
  setitimer(ITIMER_REAL, &every_20ms, nullptr);
  const RawReply reply = RawPost(server.port(), "/plugin/index.php?to=get_plug_info", "a=1");
  setitimer(ITIMER_REAL, &off, nullptr);
  sigaction(SIGALRM, &before, nullptr);

  EXPECT_GT(g_alarms.load(), 3);  // the wait was interrupted, several times
  EXPECT_TRUE(reply.ok);
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, "{\"m\":1}");
}

}  // namespace
}  // namespace orvo::service::harness
