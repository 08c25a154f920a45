#pragma once
// The HTTP side of the service on cpp-httplib: the rating actions under
// /plugin/index.php, the advert request /ad/ad1.php, and the site folder (notice files,
// pages, advert pictures) as static files. It reads request bodies itself, so the
// library's 8 KB cap on form bodies does not apply and one limit (64 KB) covers every
// body; it writes one log line per request. Its connections wait for their requests in a
// ConnectionGate, so idle clients cost no request thread.
#include <cstdio>
#include <memory>
#include <string>

#include "rating_service.h"

namespace orvo::service {

struct FrontOptions {
  std::string host = "127.0.0.1";
  int port = 8086;       // 0 = any free port
  std::string site_dir;  // empty: no site files, no adverts
  int threads = 8;
  size_t max_body = size_t{64} * 1024;
  size_t max_connections = 512;
  int request_seconds = 10;  // for a new connection's whole request
};

class HttpFront {
 public:
  HttpFront(RatingService& service, FrontOptions options, std::FILE* log);
  ~HttpFront();
  HttpFront(const HttpFront&) = delete;
  HttpFront& operator=(const HttpFront&) = delete;

  bool Bind(std::string* error);
  int port() const { return port_; }
  // Serves until Stop; false when the server failed.
  bool Run();
  // Safe from any thread.
  void Stop();

 private:
  class Routes;
  RatingService& service_;
  FrontOptions options_;
  std::FILE* log_;
  int port_ = 0;
  std::unique_ptr<Routes> routes_;
};

}  // namespace orvo::service
