// A picture is proven whole by decoding it once (the seam's PNG codec).
#include "net/png_picture.h"

#include <string>

#include "platform/png_codec.h"

namespace orvo {

PngPicture PngPicture::Decode(std::string bytes) {
  if (!os::LooksLikePng(bytes)) throw PngDecodeError("not a PNG picture");
  // The announced size first: a small file must not make us decode a huge picture.
  const auto header = os::ReadPngHeader(bytes);
  if (!header) throw PngDecodeError("broken PNG picture");
  if (header->width > kMaxSide || header->height > kMaxSide) {
    throw PngDecodeError("PNG picture too large: " + std::to_string(header->width) + " x " +
                         std::to_string(header->height));
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
