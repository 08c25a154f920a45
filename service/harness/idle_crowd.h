#pragma once
// A crowd of clients that connect to the service and then stall: they send nothing, or
// the start of a request, or a body shorter than the one they announced, and keep the
// connection open. A connection the service closes is opened again at once (unless the
// crowd is told not to), so the crowd stays at its size for as long as it runs. Tests and the
// benchmark measure how the service answers everybody else meanwhile.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace orvo::service::harness {

enum class Stall {
  kSilent,       // connects and sends nothing
  kHalfHeaders,  // a request line and part of a header, no end of headers
  kShortBody,    // whole headers announcing 1000 body bytes, then 10 of them
};

class IdleCrowd {
 public:
  IdleCrowd() = default;
  ~IdleCrowd();
  IdleCrowd(const IdleCrowd&) = delete;
  IdleCrowd& operator=(const IdleCrowd&) = delete;

  // Opens `size` connections (false when fewer could be opened) and keeps them open from
  // a thread of its own until Stop; without `reconnect`, a closed one stays closed.
  bool Start(int port, int size, Stall stall, bool reconnect = true);
  void Stop();

  // How many connections the service closed.
  int64_t closed_by_service() const { return closed_.load(); }
  // How many are open right now.
  int open() const { return open_.load(); }

 private:
  int Connect();
  void Watch();

  int port_ = 0;
  Stall stall_ = Stall::kSilent;
  bool reconnect_ = true;
  std::vector<int> sockets_;
  std::atomic<bool> stop_{false};
  std::atomic<int64_t> closed_{0};
  std::atomic<int> open_{0};
  std::thread watcher_;
};

}  // namespace orvo::service::harness
