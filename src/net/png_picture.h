#pragma once
// A PNG picture as the transfers deliver it: the file's own bytes, proven whole and valid
// by decoding them once, with the picture's size. The raster layer turns the bytes into a
// bitmap where a picture is drawn; a picture saved to disk is these bytes unchanged.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/picture_limits.h"

namespace orvo {

// The decoder's refusal: not a PNG, a broken or truncated one, or one too large to hold.
class PngDecodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class PngPicture {
 public:
  // Pictures larger than this on either side are refused (see picture_limits.h).
  static constexpr uint32_t kMaxSide = os::kMaxDownloadedPictureSide;

  // The empty picture.
  PngPicture() = default;
  // Decodes `bytes` completely (every chunk's checksum, the whole image data); throws
  // PngDecodeError when that fails.
  static PngPicture Decode(std::string bytes);

  bool empty() const { return bytes_.empty(); }
  uint32_t width() const { return width_; }
  uint32_t height() const { return height_; }
  // The PNG file.
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
};

}  // namespace orvo
