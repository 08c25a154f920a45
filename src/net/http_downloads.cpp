// The plain downloads over the seam's HTTP back end (WinInet on Windows).
#include "net/http_downloads.h"

#include "platform/ansi_code_page.h"
#include "platform/platform.h"
#include "net/transfer_limits.h"

namespace orvo {
namespace {

constexpr char kAcceptCharset[] = "Accept-Charset: utf-8\r\n";

os::DownloadResult Fetch(const std::string& url, bool bypass_cache, size_t max_bytes) {
  os::DownloadRequest request;
  request.url = url;
  request.extra_headers = kAcceptCharset;
  request.bypass_cache = bypass_cache;
  request.max_bytes = max_bytes;
  request.receive_timeout_ms = kDownloadReceiveTimeoutMs;
  return os::Current().http().Download(request);
}

}  // namespace

std::string HttpGetText(const std::string& url, size_t max_bytes) {
  os::DownloadResult result = Fetch(url, true, max_bytes);
  if (result.status != os::TransferStatus::kOk) return {};
  const size_t zero = result.body.find('\0');
  if (zero != std::string::npos) result.body.resize(zero);
  return os::AnsiToUtf8(result.body);
}

std::optional<std::string> HttpGetBytes(const std::string& url, size_t max_bytes) {
  os::DownloadResult result = Fetch(url, true, max_bytes);
  if (result.status != os::TransferStatus::kOk) return std::nullopt;
  return std::move(result.body);
}

std::optional<PngImage> HttpGetPng(const std::string& url, size_t max_bytes) {
  os::DownloadResult result = Fetch(url, false, max_bytes);
  const bool received =
      result.status == os::TransferStatus::kOk || result.status == os::TransferStatus::kReadFailed;
  if (!received || result.body.empty()) return std::nullopt;
  std::optional<PngImage> picture =
      PngImage::FromPngFile(std::move(result.body), os::kMaxDownloadedPictureSide);
  if (!picture)
    throw PngDecodeError("not a whole PNG picture of at most " +
                         std::to_string(os::kMaxDownloadedPictureSide) + " pixels a side");
  return picture;
}

}  // namespace orvo
