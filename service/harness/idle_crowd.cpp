// Stalling clients kept open; see idle_crowd.h.
#include "service/harness/idle_crowd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string_view>

namespace orvo::service::harness {
namespace {

std::string_view StallBytes(Stall stall) {
  switch (stall) {
    case Stall::kSilent: return {};
    case Stall::kHalfHeaders:
      return "POST /plugin/index.php?to=get_captcha HTTP/1.0\r\nContent-Type: applica";
    case Stall::kShortBody:
      return "POST /plugin/index.php?to=get_captcha HTTP/1.0\r\n"
             "Content-Type: application/x-www-form-urlencoded\r\n"
             "Content-Length: 1000\r\n\r\nkey=012345";
  }
  return {};
}

}  // namespace

IdleCrowd::~IdleCrowd() { Stop(); }

int IdleCrowd::Connect() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port_));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  const std::string_view bytes = StallBytes(stall_);
  if (!bytes.empty() &&
      send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(bytes.size())) {
    close(fd);
    return -1;
  }
  return fd;
}

bool IdleCrowd::Start(int port, int size, Stall stall, bool reconnect) {
  Stop();
  port_ = port;
  stall_ = stall;
  reconnect_ = reconnect;
  stop_ = false;
  for (int i = 0; i < size; ++i) {
    const int fd = Connect();
    if (fd < 0) break;
    sockets_.push_back(fd);
  }
  // Counted before the watcher starts: from then on the list is the watcher's alone.
  const int opened = static_cast<int>(sockets_.size());
  open_ = opened;
  watcher_ = std::thread([this] { Watch(); });
  return opened == size;
}

void IdleCrowd::Watch() {
  std::vector<pollfd> polls;
  while (!stop_.load()) {
    polls.clear();
    for (int fd : sockets_) polls.push_back({fd, POLLIN, 0});
    if (poll(polls.data(), polls.size(), 50) <= 0) continue;
    for (size_t i = 0; i < polls.size(); ++i) {
      if (polls[i].revents == 0) continue;
      // Whatever comes back (an answer, the end, a reset), this connection is done.
      char sink[512];
      while (recv(polls[i].fd, sink, sizeof sink, MSG_DONTWAIT) > 0) {}
      close(polls[i].fd);
      ++closed_;
      sockets_[i] = reconnect_ ? Connect() : -1;
      if (sockets_[i] < 0) {
        --open_;
        sockets_[i] = -1;
      }
    }
    std::erase(sockets_, -1);
  }
}

void IdleCrowd::Stop() {
  stop_ = true;
  if (watcher_.joinable()) watcher_.join();
  for (int fd : sockets_) close(fd);
  sockets_.clear();
  open_ = 0;
}

}  // namespace orvo::service::harness
