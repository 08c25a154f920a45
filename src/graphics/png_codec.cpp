// The toolkit's face on the seam's PNG codec (platform/png_codec.h, the one user of
// libpng): pictures with their colour type, whole-file reading and writing, and the
// bitmap <-> picture conversions.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "graphics/image_codecs.h"
#include "platform/png_codec.h"

namespace orvo {
namespace {

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

PngColorType TypeOf(const os::PngHeader& header) {
  if (header.palette) return PngColorType::kPalette;
  if (header.color) return header.alpha ? PngColorType::kRgba : PngColorType::kRgb;
  return header.alpha ? PngColorType::kGrayAlpha : PngColorType::kGray;
}

std::vector<uint8_t> Encode(const Argb* pixels, int width, int height, bool alpha) {
  const auto bytes = os::EncodePng(pixels, width, height, alpha);
  if (!bytes) return {};
  return std::vector<uint8_t>(bytes->begin(), bytes->end());
}

}  // namespace

std::optional<PngImage> DecodePng(std::span<const uint8_t> bytes) {
  os::PngHeader header;
  auto pixels = os::DecodePng(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &header);
  if (!pixels) return std::nullopt;
  return PngImage(pixels->width, pixels->height, std::move(pixels->argb), TypeOf(header),
                  header.palette && header.alpha);
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

std::optional<PngImage> ReadPngFile(const std::string& path) {
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
