// PNG through libpng's simplified interface (which already speaks our BGRA byte layout),
// whole-file reading and writing, and the bitmap <-> picture conversions.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "graphics/image_codecs.h"

namespace orvo {
namespace {

// Pictures beyond this many pixels are refused rather than allocated (a hostile header can
// announce 2^31 x 2^31).
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

PngColorType TypeOf(png_uint_32 format) {
  if (format & PNG_FORMAT_FLAG_COLORMAP) return PngColorType::kPalette;
  const bool color = (format & PNG_FORMAT_FLAG_COLOR) != 0;
  const bool alpha = (format & PNG_FORMAT_FLAG_ALPHA) != 0;
  if (color) return alpha ? PngColorType::kRgba : PngColorType::kRgb;
  return alpha ? PngColorType::kGrayAlpha : PngColorType::kGray;
}

std::vector<uint8_t> Encode(const Argb* pixels, int width, int height, bool alpha) {
  if (!pixels || width <= 0 || height <= 0) return {};
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  std::vector<uint8_t> rgb;
  const void* buffer = pixels;
  if (alpha) {
    image.format = PNG_FORMAT_BGRA;
  } else {
    image.format = PNG_FORMAT_RGB;
    rgb.resize(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
      rgb[i * 3] = RedOf(pixels[i]);
      rgb[i * 3 + 1] = GreenOf(pixels[i]);
      rgb[i * 3 + 2] = BlueOf(pixels[i]);
    }
    buffer = rgb.data();
  }
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, buffer, 0, nullptr)) return {};
  std::vector<uint8_t> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, buffer, 0, nullptr)) return {};
  out.resize(size);
  return out;
}

}  // namespace

std::optional<PngImage> DecodePng(std::span<const uint8_t> bytes) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return std::nullopt;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    return std::nullopt;
  }
  const PngColorType type = TypeOf(image.format);
  const bool palette_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  if (image.width == 0 || image.height == 0 ||
      static_cast<uint64_t>(image.width) * image.height > kMaxPixels) {
    png_image_free(&image);
    return std::nullopt;
  }
  PngImage result(static_cast<int>(image.width), static_cast<int>(image.height));
  image.format = PNG_FORMAT_BGRA;
  if (!png_image_finish_read(&image, nullptr, result.pixels().data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  result.set_color_type(type, palette_alpha);
  return result;
}

std::vector<uint8_t> EncodePng(const PngImage& image) {
  return Encode(image.pixels().data(), image.width(), image.height(), image.has_alpha());
}

std::vector<uint8_t> EncodePng(const Bitmap32& bitmap) {
  return Encode(bitmap.pixels(), bitmap.width(), bitmap.height(), true);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) return {};
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  return bytes;
}

bool WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
  const std::filesystem::path target = PathOf(path);
  std::filesystem::path temp = target;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temp, target, error);
  if (error) std::filesystem::remove(temp, error);
  return !error;
}

std::optional<PngImage> LoadPngFile(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  return DecodePng(bytes);
}

bool SavePngFile(const std::string& path, const PngImage& image) {
  const std::vector<uint8_t> bytes = EncodePng(image);
  return !bytes.empty() && WriteFileBytes(path, bytes);
}

bool SavePngFile(const std::string& path, const Bitmap32& bitmap) {
  const std::vector<uint8_t> bytes = EncodePng(bitmap);
  return !bytes.empty() && WriteFileBytes(path, bytes);
}

PngImage BitmapToPng(const Bitmap32& bitmap) {
  PngImage image(bitmap.width(), bitmap.height());
  if (!image.empty()) {
    std::memcpy(image.pixels().data(), bitmap.pixels(), image.pixels().size() * sizeof(Argb));
  }
  return image;
}

Bitmap32 PngToBitmap(const PngImage& image) {
  Bitmap32 bitmap;
  if (!image.empty() && bitmap.SetSize(image.width(), image.height())) {
    std::memcpy(bitmap.pixels(), image.pixels().data(), image.pixels().size() * sizeof(Argb));
  }
  return bitmap;
}

}  // namespace orvo
