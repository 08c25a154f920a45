// PNG through libpng's simplified interface, which reports errors as a message instead of
// a long jump (no C++ frame is ever skipped) and reads and writes our pixel layout
// directly: 0xAARRGGBB words in memory are BGRA bytes.
#include "platform/png_codec.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/picture_limits.h"

namespace orvo::os {
namespace {

// Begins reading; false (with nothing left to free) for anything that is not a PNG
// within the limit.
bool Begin(std::string_view bytes, png_image* image, PngHeader* header) {
  if (!LooksLikePng(bytes)) return false;
  std::memset(image, 0, sizeof *image);
  image->version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(image, bytes.data(), bytes.size())) return false;
  if (image->width == 0 || image->height == 0 || image->width > kMaxPictureSide ||
      image->height > kMaxPictureSide) {
    png_image_free(image);
    return false;
  }
  if (header) {
    header->width = image->width;
    header->height = image->height;
    header->color = (image->format & PNG_FORMAT_FLAG_COLOR) != 0;
    header->alpha = (image->format & PNG_FORMAT_FLAG_ALPHA) != 0;
    header->palette = (image->format & PNG_FORMAT_FLAG_COLORMAP) != 0;
  }
  return true;
}

}  // namespace

std::optional<PngHeader> ReadPngHeader(std::string_view bytes) {
  png_image image;
  PngHeader header;
  if (!Begin(bytes, &image, &header)) return std::nullopt;
  png_image_free(&image);
  return header;
}

std::optional<Pixels> DecodePng(std::string_view bytes, PngHeader* header) {
  png_image image;
  if (!Begin(bytes, &image, header)) return std::nullopt;
  image.format = PNG_FORMAT_BGRA;
  Pixels out{static_cast<int>(image.width), static_cast<int>(image.height),
             std::vector<uint32_t>(size_t(image.width) * image.height)};
  if (!png_image_finish_read(&image, nullptr, out.argb.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return out;
}

std::optional<std::string> EncodePng(const uint32_t* argb, int width, int height, bool alpha) {
  if (!argb || width <= 0 || height <= 0) return std::nullopt;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  std::vector<uint8_t> rgb;
  const void* buffer = argb;
  if (alpha) {
    image.format = PNG_FORMAT_BGRA;
  } else {
    image.format = PNG_FORMAT_RGB;
    const size_t count = static_cast<size_t>(width) * height;
    rgb.resize(count * 3);
    for (size_t i = 0; i < count; ++i) {
      rgb[i * 3] = static_cast<uint8_t>(argb[i] >> 16);
      rgb[i * 3 + 1] = static_cast<uint8_t>(argb[i] >> 8);
      rgb[i * 3 + 2] = static_cast<uint8_t>(argb[i]);
    }
    buffer = rgb.data();
  }
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, buffer, 0, nullptr)) {
    return std::nullopt;
  }
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, buffer, 0, nullptr)) {
    return std::nullopt;
  }
  out.resize(size);
  return out;
}

std::optional<std::string> EncodePng(const Pixels& pixels) {
  const size_t count = size_t(std::max(pixels.width, 0)) * size_t(std::max(pixels.height, 0));
  if (pixels.argb.size() != count) {
    return std::nullopt;
  }
  return EncodePng(pixels.argb.data(), pixels.width, pixels.height, true);
}

bool LooksLikePng(std::string_view bytes) {
  return bytes.size() >= 8 &&
         png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) == 0;
}

}  // namespace orvo::os
