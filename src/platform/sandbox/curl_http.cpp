// HTTP for the portable build, through libcurl, set up to put on the wire what the
// Windows Internet functions send (platform/http.h): plain downloads carry no user agent,
// "Accept: */*" and the extra headers, and follow redirects; the form client's requests
// carry the user agent and content type given (and no Accept), on a direct connection,
// and never follow a redirect. Only http and https are spoken, also
// after a redirect. A fresh handle per call means a fresh connection per call.
//
// The receive time-out is WinInet's: once connected, a transfer that receives nothing
// (no header, no body byte) for that long ends. curl's own low-speed limit averages over
// a window and would let a stall run seconds longer, so the transfer runs on a multi
// handle polled in short steps.
#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <mutex>

#include "platform/sandbox/sandbox_platform.h"

namespace orvo::os::sandbox {
namespace {

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct SlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

using Clock = std::chrono::steady_clock;
constexpr int kPollStepMs = 50;

struct Sink {
  std::string* body;
  size_t max_bytes;
  bool too_large = false;
  Clock::time_point last_data = Clock::now();
};

size_t SeeHeader(char*, size_t size, size_t count, void* user) {
  static_cast<Sink*>(user)->last_data = Clock::now();
  return size * count;
}

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  sink->last_data = Clock::now();
  const size_t n = size * count;
  const size_t room = sink->max_bytes - sink->body->size();
  if (n > room) {
    sink->body->append(data, room);
    sink->too_large = true;
    return 0;  // curl ends the transfer with CURLE_WRITE_ERROR
  }
  sink->body->append(data, n);
  return n;
}

void Append(HeaderList& list, const std::string& line) {
  // The head stays the same once the list has one; null means out of memory with the list
  // left as it was.
  curl_slist* head = curl_slist_append(list.get(), line.c_str());
  if (head && !list) list.reset(head);
}

// "Name: value\r\n" lines into a curl list.
void AppendLines(HeaderList& list, const std::string& lines) {
  size_t start = 0;
  while (start < lines.size()) {
    size_t end = lines.find("\r\n", start);
    if (end == std::string::npos) end = lines.size();
    if (end > start) Append(list, lines.substr(start, end - start));
    start = end + 2;
  }
}

void CommonOptions(CURL* c, const std::string& url, Sink* sink) {
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &WriteBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, sink);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &SeeHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, sink);
  curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
}

struct MultiDeleter {
  void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};

// curl_easy_perform with the receive time-out of the Windows Internet functions.
CURLcode RunTransfer(CURL* c, Sink& sink, uint32_t timeout_ms) {
  std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
  if (!multi || curl_multi_add_handle(multi.get(), c) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
  const auto limit = std::chrono::milliseconds(timeout_ms);
  bool connected = false;
  bool stalled = false;
  for (int running = 1; running;) {
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK || !running) break;
    if (!connected) {
      curl_off_t connect_time = 0;
      curl_easy_getinfo(c, CURLINFO_CONNECT_TIME_T, &connect_time);
      if (connect_time > 0) {
        connected = true;
        sink.last_data = Clock::now();
      }
    }
    if (timeout_ms > 0 && connected && Clock::now() - sink.last_data >= limit) {
      stalled = true;
      break;
    }
    curl_multi_poll(multi.get(), nullptr, 0, kPollStepMs, nullptr);
  }
  CURLcode rc = stalled ? CURLE_OPERATION_TIMEDOUT : CURLE_RECV_ERROR;
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left)) {
    if (msg->msg == CURLMSG_DONE && !stalled) rc = msg->data.result;
  }
  curl_multi_remove_handle(multi.get(), c);
  return rc;
}

struct Outcome {
  TransferStatus status;
  int status_code;
};

// A reply whose status line arrived counts as opened, as with InternetOpenUrl, which
// returns once the headers are in; anything that breaks later is a failed read.
Outcome Perform(CURL* c, Sink& sink, uint32_t timeout_ms) {
  const CURLcode rc = RunTransfer(c, sink, timeout_ms);
  long code = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &code);
  if (rc == CURLE_OK) return {TransferStatus::kOk, static_cast<int>(code)};
  if (sink.too_large) return {TransferStatus::kTooLarge, static_cast<int>(code)};
  if (code == 0) return {TransferStatus::kCannotOpen, 0};
  return {TransferStatus::kReadFailed, static_cast<int>(code)};
}

class CurlHttp : public Http {
 public:
  CurlHttp() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  }

  DownloadResult Download(const DownloadRequest& request) override {
    DownloadResult result;
    CurlHandle c(curl_easy_init());
    if (!c) return result;
    Sink sink{&result.body, request.max_bytes};
    CommonOptions(c.get(), request.url, &sink);
    HeaderList headers;
    AppendLines(headers, request.extra_headers);  // curl's "Accept: */*" stays, as WinInet's
    curl_easy_setopt(c.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c.get(), CURLOPT_MAXREDIRS, 10L);
    result.status = Perform(c.get(), sink, request.receive_timeout_ms).status;
    return result;
  }

  HttpResponse Exchange(const HttpRequest& request) override {
    HttpResponse response;
    CurlHandle c(curl_easy_init());
    if (!c) return response;
    Sink sink{&response.body, request.max_bytes};
    CommonOptions(c.get(), request.url, &sink);
    curl_easy_setopt(c.get(), CURLOPT_PROXY, "");  // direct, whatever the environment says
    curl_easy_setopt(c.get(), CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c.get(), CURLOPT_HTTP_VERSION,
                     request.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(c.get(), CURLOPT_USERAGENT, request.user_agent.c_str());
    HeaderList headers;
    if (!request.content_type.empty()) Append(headers, "Content-Type: " + request.content_type);
    Append(headers, "Accept:");  // HttpOpenRequestW without accept types sends none
    Append(headers, "Expect:");  // no "100-continue" round trip before the body
    curl_easy_setopt(c.get(), CURLOPT_HTTPHEADER, headers.get());
    if (request.method == "POST") {
      curl_easy_setopt(c.get(), CURLOPT_POST, 1L);
      curl_easy_setopt(c.get(), CURLOPT_POSTFIELDSIZE_LARGE,
                       static_cast<curl_off_t>(request.body.size()));
      curl_easy_setopt(c.get(), CURLOPT_POSTFIELDS, request.body.data());
    } else {
      curl_easy_setopt(c.get(), CURLOPT_HTTPGET, 1L);
    }
    const Outcome outcome = Perform(c.get(), sink, request.receive_timeout_ms);
    response.status = outcome.status;
    response.status_code = outcome.status_code;
    return response;
  }
};

}  // namespace

std::unique_ptr<Http> MakeHttp() { return std::make_unique<CurlHttp>(); }

}  // namespace orvo::os::sandbox
