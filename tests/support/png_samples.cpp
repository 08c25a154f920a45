// PNG files for tests, written with libpng's simplified interface.
#include "support/png_samples.h"

#include <png.h>

#include <stdexcept>
#include <vector>

namespace orvo::test {

std::string MakePng(uint32_t width, uint32_t height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<png_byte>(i * 7);
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
    throw std::runtime_error(image.message);
  }
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr)) {
    throw std::runtime_error(image.message);
  }
  out.resize(size);
  return out;
}

}  // namespace orvo::test
