#pragma once
// HTTP through the seam. Two kinds of transfer, each a blocking call made on a worker
// thread; every call opens and closes its own connection, so calls on different threads
// share nothing.
//
//   Download  a plain GET as the Windows Internet functions make it from a URL
//             (InternetOpenUrl): no user agent, the system's proxy settings, redirects
//             followed, extra request headers as given, the cache bypassed on request.
//   Exchange  one request of the form-posting client: the method, protocol version, user
//             agent, content type and body given, a direct connection, no cookies, no
//             cache, redirects never followed, a receive time-out.
//
// Neither ever reports success for a body it did not receive completely: a connection
// closed before the announced length, a time-out and a reply larger than max_bytes are
// failures. The Win32 back end uses WinInet, the portable one libcurl; both put the same
// request on the wire.
#include <cstddef>
#include <cstdint>
#include <string>

namespace orvo::os {

// What a reply may bring when the caller says nothing else.
inline constexpr size_t kDefaultMaxReplyBytes = size_t(16) << 20;

enum class TransferStatus {
  kOk,          // the whole reply arrived
  kCannotOpen,  // no session, no connection, bad URL, or no reply at all
  kReadFailed,  // the reply broke off: reset, closed short, or no data within the time-out
  kTooLarge,    // the reply passed max_bytes; reading stopped there
};

struct DownloadRequest {
  std::string url;
  std::string extra_headers;  // "Name: value\r\n" lines, sent as they are
  bool bypass_cache = false;  // neither read nor write the system's HTTP cache
  size_t max_bytes = kDefaultMaxReplyBytes;
  uint32_t receive_timeout_ms = 0;  // longest wait for data; 0: WinInet's default, none in curl
};

struct DownloadResult {
  TransferStatus status = TransferStatus::kCannotOpen;
  std::string body;  // what arrived, also on failure (at most max_bytes)
};

struct HttpRequest {
  std::string method;   // "GET" or "POST"
  std::string url;      // sent unchanged, query included
  bool http10 = false;  // HTTP/1.0 instead of HTTP/1.1 on the request line
  std::string user_agent;
  std::string content_type;  // a Content-Type header, exactly this text, when not empty
  std::string body;
  size_t max_bytes = kDefaultMaxReplyBytes;
  uint32_t receive_timeout_ms = 0;  // as for downloads
};

struct HttpResponse {
  TransferStatus status = TransferStatus::kCannotOpen;
  int status_code = 0;  // 0 when no status line arrived
  std::string body;     // what arrived, also on failure (at most max_bytes)
};

class Http {
 public:
  virtual ~Http() = default;
  virtual DownloadResult Download(const DownloadRequest& request) = 0;
  virtual HttpResponse Exchange(const HttpRequest& request) = 0;
};

}  // namespace orvo::os
