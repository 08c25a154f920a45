// The waiting room of client connections and the request threads; see connection_gate.h.
#include "connection_gate.h"

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace orvo::service {
namespace {

constexpr uint64_t kWakeId = 0;
constexpr size_t kReadChunk = size_t{16} * 1024;

void CloseSocket(int fd) {
  if (fd < 0) return;
  shutdown(fd, SHUT_RDWR);
  close(fd);
}

// Best effort: the answer is small and the socket's buffer empty, so one send takes it.
void AnswerAndClose(int fd, std::string_view status_line) {
  const std::string answer =
      "HTTP/1.1 " + std::string(status_line) + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  [[maybe_unused]] const ssize_t sent =
      send(fd, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  CloseSocket(fd);
}

}  // namespace

ConnectionGate::ConnectionGate(const GateOptions& options, Serve serve)
    : options_(options), serve_(std::move(serve)) {
  if (options_.threads < 1) options_.threads = 1;
  if (options_.keep_alive_requests < 1) options_.keep_alive_requests = 1;
  epoll_fd_ = epoll_create1(EPOLL_CLOEXEC);
  wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  epoll_event wake{};
  wake.events = EPOLLIN;
  wake.data.u64 = kWakeId;
  epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, wake_fd_, &wake);
  watcher_ = std::thread([this] { WatchLoop(); });
  for (int i = 0; i < options_.threads; ++i) {
    request_threads_.emplace_back([this] { RequestLoop(); });
  }
}

ConnectionGate::~ConnectionGate() {
  Shutdown();
  close(wake_fd_);
  close(epoll_fd_);
}

void ConnectionGate::Admit(int fd) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  auto connection = std::make_unique<Connection>();
  connection->fd = fd;
  connection->deadline = Clock::now() + options_.request_time;
  std::lock_guard lock(mutex_);
  if (stopping_) {
    CloseSocket(fd);
    return;
  }
  if (waiting_.size() + busy_ >= options_.max_connections && !DisplaceOne()) {
    CloseSocket(fd);
    return;
  }
  Park(std::move(connection));
}

bool ConnectionGate::DisplaceOne() {
  // The longest waiting connection that has nothing unread goes. One whose request is
  // already in its socket (the watcher has not got to it yet) is a client at work: its
  // request is read now instead.
  for (auto it = waiting_.begin(); it != waiting_.end();) {
    char byte = 0;
    if (recv(it->second->fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0) {
      const uint64_t id = it->first;
      ++it;
      ReadAhead(id);
      continue;
    }
    ++counts_.displaced;
    Drop(it);
    return true;
  }
  return false;
}

void ConnectionGate::Park(std::unique_ptr<Connection> connection) {
  const uint64_t id = next_id_++;
  epoll_event event{};
  event.events = EPOLLIN | EPOLLRDHUP;
  event.data.u64 = id;
  if (epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, connection->fd, &event) != 0) {
    CloseSocket(connection->fd);
    return;
  }
  waiting_.emplace(id, std::move(connection));
}

void ConnectionGate::HandOver(std::unique_ptr<Connection> connection) {
  ++busy_;
  ready_.push_back(std::move(connection));
  ready_changed_.notify_one();
}

void ConnectionGate::Drop(std::map<uint64_t, std::unique_ptr<Connection>>::iterator it) {
  epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, it->second->fd, nullptr);
  CloseSocket(it->second->fd);
  waiting_.erase(it);
}

void ConnectionGate::ReadAhead(uint64_t id) {
  const auto it = waiting_.find(id);
  if (it == waiting_.end()) return;
  Connection& connection = *it->second;
  // Never more than one whole request: what lies beyond it waits in the socket.
  const size_t most = options_.arrival.max_header_bytes + options_.arrival.max_body + 1;
  char chunk[kReadChunk];
  while (!connection.peer_ended && connection.input.size() < most) {
    const ssize_t got = recv(connection.fd, chunk, sizeof chunk, MSG_DONTWAIT);
    if (got > 0) {
      connection.input.append(chunk, static_cast<size_t>(got));
    } else if (got == 0) {
      connection.peer_ended = true;
    } else if (errno == EINTR) {
      continue;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      break;
    } else {
      Drop(it);  // reset by the client
      return;
    }
  }
  Arrival arrival = CheckArrival(connection.input, connection.peer_ended, options_.arrival);
  // A body without a length runs to the end of the connection; past the limit it is too
  // large whatever follows.
  if (arrival == Arrival::kIncomplete && connection.input.size() >= most) {
    arrival = Arrival::kBodyTooLarge;
  }
  switch (arrival) {
    case Arrival::kComplete: {
      epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, connection.fd, nullptr);
      auto owned = std::move(it->second);
      waiting_.erase(it);
      HandOver(std::move(owned));
      return;
    }
    case Arrival::kHeadersTooLarge:
    case Arrival::kBodyTooLarge:
      epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, connection.fd, nullptr);
      ++counts_.refused;
      AnswerAndClose(connection.fd, arrival == Arrival::kHeadersTooLarge
                                        ? "431 Request Header Fields Too Large"
                                        : "413 Payload Too Large");
      waiting_.erase(it);
      return;
    case Arrival::kIncomplete:
      // Nothing at all, or half a request, from a client that has stopped sending.
      if (connection.peer_ended) Drop(it);
      return;
  }
}

ConnectionGate::Clock::time_point ConnectionGate::SweepExpired(Clock::time_point now) {
  Clock::time_point next = now + std::chrono::seconds(1);
  for (auto it = waiting_.begin(); it != waiting_.end();) {
    if (it->second->deadline <= now) {
      ++counts_.timed_out;
      Drop(it++);
    } else {
      if (it->second->deadline < next) next = it->second->deadline;
      ++it;
    }
  }
  return next;
}

void ConnectionGate::WatchLoop() {
  std::vector<epoll_event> events(256);
  Clock::time_point next_deadline = Clock::now();
  while (true) {
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(next_deadline - Clock::now());
    const int count = epoll_wait(epoll_fd_, events.data(), static_cast<int>(events.size()),
                                 static_cast<int>(std::max<int64_t>(0, wait.count()) + 1));
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    for (int i = 0; i < count; ++i) {
      if (events[i].data.u64 == kWakeId) {
        uint64_t drained = 0;
        [[maybe_unused]] const ssize_t got = read(wake_fd_, &drained, sizeof drained);
        continue;
      }
      ReadAhead(events[i].data.u64);
    }
    const auto now = Clock::now();
    if (count == 0 || now >= next_deadline) next_deadline = SweepExpired(now);
  }
}

void ConnectionGate::RequestLoop() {
  while (true) {
    std::unique_ptr<Connection> connection;
    {
      std::unique_lock lock(mutex_);
      ready_changed_.wait(lock, [this] { return stopping_ || !ready_.empty(); });
      if (stopping_) return;
      connection = std::move(ready_.front());
      ready_.pop_front();
    }
    const bool last = connection->served + 1 >= options_.keep_alive_requests;
    const bool keep = serve_(*connection, last);
    std::lock_guard lock(mutex_);
    --busy_;
    if (!keep || stopping_) {
      CloseSocket(connection->fd);
      continue;
    }
    ++connection->served;
    connection->deadline = Clock::now() + options_.keep_alive_time;
    if (CheckArrival(connection->input, connection->peer_ended, options_.arrival) ==
        Arrival::kComplete) {
      HandOver(std::move(connection));  // the next request came with the last one
    } else {
      Park(std::move(connection));
    }
  }
}

void ConnectionGate::Shutdown() {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ && !watcher_.joinable()) return;
    stopping_ = true;
  }
  ready_changed_.notify_all();
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t put = write(wake_fd_, &one, sizeof one);
  if (watcher_.joinable()) watcher_.join();
  for (std::thread& thread : request_threads_) {
    if (thread.joinable()) thread.join();
  }
  std::lock_guard lock(mutex_);
  for (auto& [id, connection] : waiting_) CloseSocket(connection->fd);
  waiting_.clear();
  for (auto& connection : ready_) CloseSocket(connection->fd);
  ready_.clear();
}

GateCounts ConnectionGate::counts() {
  std::lock_guard lock(mutex_);
  GateCounts counts = counts_;
  counts.waiting = waiting_.size();
  counts.busy = busy_;
  return counts;
}

}  // namespace orvo::service
