// A picture is proven whole by decoding it once (the seam's PNG codec).
#include "net/png_picture.h"

#include <string>

#include "platform/png_codec.h"

namespace orvo {

PngPicture PngPicture::Decode(std::string bytes) {
  if (!os::LooksLikePng(bytes)) throw PngDecodeError("not a PNG picture");
  // Announced size first: a small file must not make us decode a huge picture.
  if (bytes.size() >= 24) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const uint32_t w = (uint32_t(p[16]) << 24) | (uint32_t(p[17]) << 16) | (uint32_t(p[18]) << 8) | p[19];
    const uint32_t h = (uint32_t(p[20]) << 24) | (uint32_t(p[21]) << 16) | (uint32_t(p[22]) << 8) | p[23];
    if (w > kMaxSide || h > kMaxSide) {
      throw PngDecodeError("PNG picture too large: " + std::to_string(w) + " x " + std::to_string(h));
    }
  }
  const auto pixels = os::DecodePng(bytes);
  if (!pixels) throw PngDecodeError("broken PNG picture");
  PngPicture picture;
  picture.width_ = static_cast<uint32_t>(pixels->width);
  picture.height_ = static_cast<uint32_t>(pixels->height);
  picture.bytes_ = std::move(bytes);
  return picture;
}

}  // namespace orvo
