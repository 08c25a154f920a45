// PNG validation through libpng's simplified reading interface, which reports errors as a
// message instead of a long jump, so no C++ frame is ever skipped.
#include "net/png_picture.h"

#include <png.h>

#include <vector>

namespace orvo {

PngPicture PngPicture::Decode(std::string bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    throw PngDecodeError(std::string("not a PNG picture: ") + image.message);
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    throw PngDecodeError("PNG picture too large: " + std::to_string(image.width) + " x " +
                         std::to_string(image.height));
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    throw PngDecodeError(std::string("broken PNG picture: ") + image.message);
  }
  PngPicture picture;
  picture.width_ = image.width;
  picture.height_ = image.height;
  picture.bytes_ = std::move(bytes);
  return picture;
}

}  // namespace orvo
