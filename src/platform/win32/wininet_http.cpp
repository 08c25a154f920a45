// HTTP for the Windows build through WinInet (platform/http.h).
//
// Downloads: InternetOpenW with an empty user agent and the preconfigured proxy settings,
// InternetOpenUrlW with the caller's extra headers (and INTERNET_FLAG_RELOAD |
// INTERNET_FLAG_NO_CACHE_WRITE when the cache is to be bypassed), InternetReadFile in
// 1025-byte chunks until a read yields nothing.
//
// Form client: InternetOpenW with the user agent on a direct connection, InternetConnectW,
// HttpOpenRequestW with the protocol version given and INTERNET_FLAG_NO_AUTO_REDIRECT,
// HttpSendRequestW with the content type, the receive time-out set on the session and the
// request. (Wine's WinInet trims the blank that ends the rating client's content type.)
//
// WinInet ends a body silently when the server closes early; the announced
// Content-Length is checked so that a short body counts as a failed read, as it does in
// the portable back end.
#include <windows.h>
#include <wininet.h>

#include <cwchar>
#include <memory>
#include <optional>
#include <vector>

#include "platform/text.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace orvo::os::win32 {
namespace {

constexpr DWORD kChunk = 1025;

struct InetCloser {
  void operator()(void* h) const { InternetCloseHandle(static_cast<HINTERNET>(h)); }
};
using InetHandle = std::unique_ptr<void, InetCloser>;

bool SpeaksHttp(std::string_view url) {
  return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

void SetReceiveTimeout(HINTERNET h, uint32_t ms) {
  if (ms == 0) return;
  DWORD value = ms;
  InternetSetOptionW(h, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, sizeof value);
}

// The announced body length, if the reply has one.
std::optional<unsigned long long> ContentLength(HINTERNET h) {
  wchar_t text[32] = {};
  DWORD size = sizeof text;
  if (!HttpQueryInfoW(h, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return std::nullopt;
  wchar_t* end = nullptr;
  const unsigned long long n = std::wcstoull(text, &end, 10);
  if (end == text) return std::nullopt;
  return n;
}

// Reads the body of an opened request or URL handle into `body`.
TransferStatus ReadBody(HINTERNET h, size_t max_bytes, std::string* body) {
  char chunk[kChunk];
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(h, chunk, kChunk, &got)) return TransferStatus::kReadFailed;
    if (got == 0) break;
    if (got > max_bytes - body->size()) {
      body->append(chunk, max_bytes - body->size());
      return TransferStatus::kTooLarge;
    }
    body->append(chunk, got);
  }
  const auto announced = ContentLength(h);
  if (announced && body->size() < *announced) return TransferStatus::kReadFailed;
  return TransferStatus::kOk;
}

class WinInetHttp : public Http {
 public:
  DownloadResult Download(const DownloadRequest& request) override {
    DownloadResult result;
    if (!SpeaksHttp(request.url)) return result;
    InetHandle session(InternetOpenW(L"", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return result;
    SetReceiveTimeout(session.get(), request.receive_timeout_ms);
    const std::wstring headers = Wide(request.extra_headers);
    const DWORD flags =
        request.bypass_cache ? (INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE) : 0;
    InetHandle url(InternetOpenUrlW(session.get(), Wide(request.url).c_str(),
                                    headers.empty() ? nullptr : headers.c_str(),
                                    static_cast<DWORD>(headers.size()), flags, 0));
    if (!url) return result;
    SetReceiveTimeout(url.get(), request.receive_timeout_ms);  // Wine does not inherit it
    result.status = ReadBody(url.get(), request.max_bytes, &result.body);
    return result;
  }

  HttpResponse Exchange(const HttpRequest& request) override {
    HttpResponse response;
    if (!SpeaksHttp(request.url)) return response;
    const std::wstring wurl = Wide(request.url);
    wchar_t host[256] = {};
    std::vector<wchar_t> path(wurl.size() + 1);
    std::vector<wchar_t> extra(wurl.size() + 1);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!InternetCrackUrlW(wurl.c_str(), 0, 0, &parts)) return response;
    std::wstring object = std::wstring(path.data()) + extra.data();
    if (object.empty()) object = L"/";

    InetHandle session(InternetOpenW(Wide(request.user_agent).c_str(), INTERNET_OPEN_TYPE_DIRECT,
                                     nullptr, nullptr, 0));
    if (!session) return response;
    SetReceiveTimeout(session.get(), request.receive_timeout_ms);
    InetHandle connection(InternetConnectW(session.get(), host, parts.nPort, nullptr, nullptr,
                                           INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return response;
    DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    // A GET neither reads nor fills the cache (WinInet then adds "Cache-Control:
    // no-cache"); a POST, which WinInet never caches, goes without that header.
    if (request.method == "GET") flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    InetHandle call(HttpOpenRequestW(connection.get(), Wide(request.method).c_str(), object.c_str(),
                                     request.http10 ? L"HTTP/1.0" : L"HTTP/1.1", nullptr, nullptr,
                                     flags, 0));
    if (!call) return response;
    SetReceiveTimeout(call.get(), request.receive_timeout_ms);
    std::wstring headers;
    if (!request.content_type.empty())
      headers = L"Content-Type: " + Wide(request.content_type) + L"\r\n";
    if (!HttpSendRequestW(call.get(), headers.empty() ? nullptr : headers.c_str(),
                          static_cast<DWORD>(headers.size()),
                          request.body.empty() ? nullptr : const_cast<char*>(request.body.data()),
                          static_cast<DWORD>(request.body.size()))) {
      return response;
    }
    DWORD code = 0;
    DWORD size = sizeof code;
    HttpQueryInfoW(call.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size,
                   nullptr);
    response.status_code = static_cast<int>(code);
    response.status = ReadBody(call.get(), request.max_bytes, &response.body);
    return response;
  }
};

}  // namespace

std::unique_ptr<Http> MakeHttp() { return std::make_unique<WinInetHttp>(); }

}  // namespace orvo::os::win32
