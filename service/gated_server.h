#pragma once
// cpp-httplib's server with its connections kept by a ConnectionGate instead of one
// request thread each: the library still accepts, parses, routes and answers, but its
// accepted sockets go to the gate, which gives them to a request thread only once a
// whole request has arrived. (The library's own pool would hold a thread per idle
// connection until its time-out, so a few hundred idle connections stop the service.)
#include <httplib.h>

#include "connection_gate.h"

namespace orvo::service {

class GatedServer : public httplib::Server {
 public:
  explicit GatedServer(const GateOptions& options);
  // The gate's counts of the running server; zeros when it is not running.
  GateCounts gate_counts();

 private:
  class GateQueue;
  // Called by the library on its accepting thread for every accepted socket.
  bool process_and_close_socket(socket_t sock) override;
  bool Serve(Connection& connection, bool last);

  GateOptions options_;
  std::mutex gate_mutex_;
  ConnectionGate* gate_ = nullptr;  // of the listening loop that runs
};

}  // namespace orvo::service
