#include "catalogue/png_image.h"

#include "platform/png_codec.h"

#include <cstring>

namespace orvo {
namespace {

constexpr uint32_t kMaxSide = 8192;

uint32_t BigEndian32(const unsigned char* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

}  // namespace

std::unique_ptr<TPngImage> TPngImage::FromBytes(std::string bytes) {
  // Signature, then IHDR as the first chunk: length 13, type, width, height.
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 33 || std::memcmp(bytes.data(), kSignature, 8) != 0) return nullptr;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  if (BigEndian32(p + 8) != 13 || std::memcmp(p + 12, "IHDR", 4) != 0) return nullptr;
  const uint32_t w = BigEndian32(p + 16);
  const uint32_t h = BigEndian32(p + 20);
  if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return nullptr;
  std::unique_ptr<TPngImage> image(new TPngImage());
  image->bytes_ = std::move(bytes);
  image->width_ = static_cast<int>(w);
  image->height_ = static_cast<int>(h);
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
