#pragma once
// Client connections between their arrival and their request threads. A few request
// threads serve the service; connections wait in one waiting room watched by one thread
// (epoll) that reads their requests ahead and hands a connection to a request thread only
// once its request has fully arrived. So an idle or stalling client holds a socket and a
// few bytes, not a thread, and everybody else keeps being answered:
// - a new connection must deliver its whole request within the request time, a kept-alive
//   one its next request within the keep-alive time; otherwise it is closed;
// - headers beyond their limit are answered 431 and bodies announced beyond theirs 413,
//   by the waiting room itself, without reading them;
// - at most max_connections are open; a new one beyond that closes the connection that has
//   waited longest, so a flood of idle connections displaces itself and not the clients
//   that send their request at once.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "request_arrival.h"

namespace orvo::service {

struct GateOptions {
  int threads = 8;
  size_t max_connections = 512;
  std::chrono::milliseconds request_time{10'000};
  std::chrono::milliseconds keep_alive_time{5'000};
  int keep_alive_requests = 100;  // requests per connection before it is closed
  ArrivalLimits arrival;
};

// A client connection and the bytes read from it that its server has not consumed yet.
struct Connection {
  int fd = -1;
  std::string input;
  bool peer_ended = false;  // the client closed its sending side
  int served = 0;           // requests answered on it
  std::chrono::steady_clock::time_point deadline;
};

struct GateCounts {
  size_t waiting = 0;  // in the waiting room
  size_t busy = 0;     // handed to request threads (queued or being served)
  int64_t timed_out = 0;
  int64_t displaced = 0;  // closed to make room for a newer connection
  int64_t refused = 0;    // answered 431 or 413 from the waiting room
};

class ConnectionGate {
 public:
  // Serves the whole request at the head of the connection's input on a request thread;
  // last: the answer must close the connection. Returns whether the connection stays open.
  using Serve = std::function<bool(Connection& connection, bool last)>;

  ConnectionGate(const GateOptions& options, Serve serve);
  ~ConnectionGate();
  ConnectionGate(const ConnectionGate&) = delete;
  ConnectionGate& operator=(const ConnectionGate&) = delete;

  // Takes the accepted socket over; never blocks.
  void Admit(int fd);
  // Closes every waiting connection and ends the threads once the requests being served
  // are answered. Further admissions are closed at once.
  void Shutdown();
  GateCounts counts();

 private:
  using Clock = std::chrono::steady_clock;
  void WatchLoop();
  void RequestLoop();
  // Under mutex_.
  void Park(std::unique_ptr<Connection> connection);
  void HandOver(std::unique_ptr<Connection> connection);
  void ReadAhead(uint64_t id);
  bool DisplaceOne();
  void Drop(std::map<uint64_t, std::unique_ptr<Connection>>::iterator it);
  Clock::time_point SweepExpired(Clock::time_point now);

  GateOptions options_;
  Serve serve_;
  int epoll_fd_ = -1;
  int wake_fd_ = -1;
  std::mutex mutex_;
  std::condition_variable ready_changed_;
  bool stopping_ = false;
  uint64_t next_id_ = 1;
  // Keyed by arrival order, so the first entry is the one that has waited longest.
  std::map<uint64_t, std::unique_ptr<Connection>> waiting_;
  std::deque<std::unique_ptr<Connection>> ready_;
  size_t busy_ = 0;
  GateCounts counts_;
  std::thread watcher_;
  std::vector<std::thread> request_threads_;
};

}  // namespace orvo::service
