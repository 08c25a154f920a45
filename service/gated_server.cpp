// The library's request handling over gated connections; see gated_server.h.
#include "gated_server.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace orvo::service {
namespace {

using SteadyClock = std::chrono::steady_clock;

// The library's view of one request on a connection: first the bytes the gate read ahead,
// then the socket, waited on until the answer's deadline at the latest. What the request
// did not consume stays in the connection for the next one.
class ConnectionStream : public httplib::Stream {
 public:
  ConnectionStream(Connection& connection, SteadyClock::time_point deadline)
      : connection_(connection), deadline_(deadline) {}
  ~ConnectionStream() override { connection_.input.erase(0, offset_); }
  ConnectionStream(const ConnectionStream&) = delete;
  ConnectionStream& operator=(const ConnectionStream&) = delete;

  bool is_readable() const override {
    return offset_ < connection_.input.size() || connection_.peer_ended || WaitFor(POLLIN);
  }
  bool is_writable() const override { return WaitFor(POLLOUT); }

  ssize_t read(char* ptr, size_t size) override {
    if (offset_ < connection_.input.size()) {
      const size_t n = std::min(size, connection_.input.size() - offset_);
      std::memcpy(ptr, connection_.input.data() + offset_, n);
      offset_ += n;
      return static_cast<ssize_t>(n);
    }
    if (connection_.peer_ended) return 0;
    while (true) {
      const ssize_t got = recv(connection_.fd, ptr, size, 0);
      if (got == 0) connection_.peer_ended = true;
      if (got >= 0) return got;
      if (errno == EINTR) continue;
      if ((errno != EAGAIN && errno != EWOULDBLOCK) || !WaitFor(POLLIN)) return -1;
    }
  }

  ssize_t write(const char* ptr, size_t size) override {
    if (status_line_.size() < kStatusLineStart) {
      status_line_.append(ptr, std::min(size, kStatusLineStart - status_line_.size()));
    }
    while (true) {
      const ssize_t sent = send(connection_.fd, ptr, size, MSG_NOSIGNAL);
      if (sent >= 0) return sent;
      if (errno == EINTR) continue;
      if ((errno != EAGAIN && errno != EWOULDBLOCK) || !WaitFor(POLLOUT)) return -1;
    }
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getpeername(connection_.fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      Describe(address, length, ip, port);
    }
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(connection_.fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      Describe(address, length, ip, port);
    }
  }
  socket_t socket() const override { return connection_.fd; }

  // The answer said 400: the library could not read the request line or its headers.
  bool AnsweredBadRequest() const { return status_line_.ends_with(" 400"); }

 private:
  static constexpr size_t kStatusLineStart = std::string_view("HTTP/1.1 400").size();

  static void Describe(const sockaddr_storage& address, socklen_t length, std::string& ip,
                       int& port) {
    char host[NI_MAXHOST], service[NI_MAXSERV];
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
      ip = host;
      port = static_cast<int>(std::strtol(service, nullptr, 10));
    }
  }

  bool WaitFor(short events) const {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - SteadyClock::now());
    if (left.count() <= 0) return false;
    pollfd poll_fd{connection_.fd, events, 0};
    int ready = 0;
    do {
      ready = poll(&poll_fd, 1, static_cast<int>(left.count()));
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
  }

  Connection& connection_;
  SteadyClock::time_point deadline_;
  size_t offset_ = 0;
  std::string status_line_;  // the first bytes of the answer
};

}  // namespace

// The library runs each accepted socket's task on its accepting thread through this queue;
// the task hands the socket to the gate, which never blocks, and the gate lives as long as
// the listening loop.
class GatedServer::GateQueue : public httplib::TaskQueue {
 public:
  GateQueue(GatedServer& server)
      : server_(server), gate_(server.options_, [&server](Connection& connection, bool last) {
          return server.Serve(connection, last);
        }) {
    std::lock_guard lock(server_.gate_mutex_);
    server_.gate_ = &gate_;
  }
  ~GateQueue() override { shutdown(); }
  void enqueue(std::function<void()> task) override { task(); }
  void shutdown() override {
    {
      std::lock_guard lock(server_.gate_mutex_);
      server_.gate_ = nullptr;
    }
    gate_.Shutdown();
  }
  ConnectionGate& gate() { return gate_; }

 private:
  GatedServer& server_;
  ConnectionGate gate_;
};

GatedServer::GatedServer(const GateOptions& options) : options_(options) {
  new_task_queue = [this] { return new GateQueue(*this); };
}

bool GatedServer::process_and_close_socket(socket_t sock) {
  ConnectionGate* gate = nullptr;
  {
    std::lock_guard lock(gate_mutex_);
    gate = gate_;
  }
  if (gate == nullptr) {
    close(sock);
    return false;
  }
  gate->Admit(sock);
  return true;
}

GateCounts GatedServer::gate_counts() {
  std::lock_guard lock(gate_mutex_);
  return gate_ ? gate_->counts() : GateCounts{};
}

bool GatedServer::Serve(Connection& connection, bool last) {
  // The request has arrived; reading what is left of it (a chunked body) and writing the
  // answer get the request time between them.
  ConnectionStream stream(connection, SteadyClock::now() + options_.request_time);
  bool closed = false;
  const bool answered = process_request(stream, last, closed, nullptr);
  // The library keeps a connection whose request it could not read, having learnt neither
  // its version nor where the next request would begin: an HTTP/1.0 client reading its
  // answer until the connection closes would wait the whole keep-alive time.
  if (stream.AnsweredBadRequest()) return false;
  return answered && !closed && !last && svr_sock_ != INVALID_SOCKET;
}

}  // namespace orvo::service
