#pragma once
// The plain downloads: notice and advert text, icons and advert pictures. Both block and
// run on worker threads only; each opens and closes its own connection.
#include <optional>
#include <string>

#include "net/png_picture.h"

namespace orvo {

// The body of the URL as text (cut at its first zero byte, converted from the system ANSI
// code page), or empty text on any failure. The HTTP status is not examined: an error
// page comes back like any other text. The cache is bypassed both ways.
std::string HttpGetText(const std::string& url);

// The body of the URL as a PNG picture, or nothing when no byte arrived (or the reply was
// refused as too large). A body that is not a valid PNG raises PngDecodeError; a read
// that breaks off hands what arrived to the decoder, which then raises.
std::optional<PngPicture> HttpGetPng(const std::string& url);

}  // namespace orvo
