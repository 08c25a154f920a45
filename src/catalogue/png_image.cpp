// The catalogues' picture: PNG bytes whose header the seam's codec has read.
#include "catalogue/png_image.h"

#include "platform/png_codec.h"

namespace orvo {

std::unique_ptr<TPngImage> TPngImage::FromBytes(std::string bytes) {
  const auto header = os::ReadPngHeader(bytes);
  if (!header) return nullptr;
  std::unique_ptr<TPngImage> image(new TPngImage());
  image->bytes_ = std::move(bytes);
  image->width_ = static_cast<int>(header->width);
  image->height_ = static_cast<int>(header->height);
  return image;
}

std::unique_ptr<TPngImage> TPngImage::FromPixels(const ArgbPixels& pixels) {
  auto bytes = os::EncodePng(pixels);
  return bytes ? FromBytes(std::move(*bytes)) : nullptr;
}

std::optional<ArgbPixels> TPngImage::Decode() const { return os::DecodePng(bytes_); }

std::unique_ptr<TPngImage> TPngImage::Clone() const {
  std::unique_ptr<TPngImage> copy(new TPngImage(*this));
  return copy;
}

}  // namespace orvo
