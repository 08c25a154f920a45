#pragma once
// The plain downloads: notice and advert text, icons and advert pictures. Both block and
// run on worker threads only; each opens and closes its own connection.
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

#include "graphics/png_image.h"
#include "net/transfer_limits.h"

namespace orvo {

// The decoder's refusal of a downloaded picture: not a PNG, a broken or truncated one, or
// one larger than os::kMaxDownloadedPictureSide on a side.
class PngDecodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The body of the URL as text (cut at its first zero byte, converted from the system ANSI
// code page), or empty text on any failure. The HTTP status is not examined: an error
// page comes back like any other text. The cache is bypassed both ways. A body larger
// than `max_bytes` is a failure.
std::string HttpGetText(const std::string& url, size_t max_bytes = kMaxTransferBytes);

// The body of the URL as the server sent it (no conversion, no cut at a zero byte), for
// documents that say their own encoding; nothing on any failure. As HttpGetText
// otherwise.
std::optional<std::string> HttpGetBytes(const std::string& url, size_t max_bytes);

// The body of the URL as a PNG picture (keeping the file as it came), or nothing when no
// byte arrived (or the reply was refused as too large). A body that is not a whole, valid
// PNG within the downloaded-picture limit raises PngDecodeError; a read that breaks off
// hands what arrived to the decoder, which then raises.
std::optional<PngImage> HttpGetPng(const std::string& url, size_t max_bytes = kMaxTransferBytes);

}  // namespace orvo
