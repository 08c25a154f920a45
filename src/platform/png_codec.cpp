// PNG through libpng's simplified interface, which reports errors as a message instead of
// a long jump (no C++ frame is ever skipped) and reads and writes our pixel layout
// directly: 0xAARRGGBB words in memory are BGRA bytes.
#include "platform/png_codec.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace orvo::os {
namespace {
constexpr png_uint_32 kMaxSide = 8192;
}  // namespace

std::optional<Pixels> DecodePng(std::string_view bytes) {
  if (!LooksLikePng(bytes)) return std::nullopt;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_BGRA;
  Pixels out{static_cast<int>(image.width), static_cast<int>(image.height),
             std::vector<uint32_t>(size_t(image.width) * image.height)};
  if (!png_image_finish_read(&image, nullptr, out.argb.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return out;
}

std::optional<std::string> EncodePng(const Pixels& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0 ||
      pixels.argb.size() != size_t(pixels.width) * size_t(pixels.height)) {
    return std::nullopt;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(pixels.width);
  image.height = static_cast<png_uint_32>(pixels.height);
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.argb.data(), 0, nullptr)) {
    return std::nullopt;
  }
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.argb.data(), 0, nullptr)) {
    return std::nullopt;
  }
  out.resize(size);
  return out;
}

bool LooksLikePng(std::string_view bytes) {
  return bytes.size() >= 8 && png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) == 0;
}

}  // namespace orvo::os
