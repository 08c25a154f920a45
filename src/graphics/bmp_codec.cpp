// Windows bitmaps and icons, the two other picture kinds a window layout may store, as the
// toolkit's pictures: the seam's decoder (platform/dib_codec.h) reads them; this file picks
// the icon entry a layout means and gives each picture its colour type.
#include <algorithm>
#include <string_view>

#include "graphics/image_codecs.h"
#include "platform/dib_codec.h"

namespace orvo {
namespace {

std::string_view Bytes(std::span<const uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

PngImage FromDib(os::DibDecoded dib, bool icon) {
  const PngColorType type =
      dib.bits_per_pixel == 32 || icon ? PngColorType::kRgba : PngColorType::kRgb;
  return PngImage(dib.pixels.width, dib.pixels.height, std::move(dib.pixels.argb), type);
}

}  // namespace

std::optional<PngImage> DecodeBmp(std::span<const uint8_t> bytes) {
  auto dib = os::DecodeBmpFile(Bytes(bytes));
  if (!dib) return std::nullopt;
  return FromDib(std::move(*dib), false);
}

std::optional<PngImage> DecodeIco(std::span<const uint8_t> bytes) {
  const std::vector<os::IcoEntry> entries = os::ReadIcoDirectory(Bytes(bytes));
  // The largest entry wins; among equals the deepest.
  const os::IcoEntry* best = nullptr;
  uint64_t best_score = 0;
  for (const os::IcoEntry& entry : entries) {
    const uint64_t score = (static_cast<uint64_t>(entry.width) * entry.height << 8) |
                           std::min<uint32_t>(entry.bits_per_pixel, 255);
    if (score > best_score) best_score = score, best = &entry;
  }
  if (!best) return std::nullopt;
  const std::string_view data = best->data;
  if (data.size() >= 8 && uint8_t(data[0]) == 0x89 && data[1] == 'P') {
    return DecodePng(std::span(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
  }
  auto dib = os::DecodeDib(data, 0, true);
  if (!dib) return std::nullopt;
  return FromDib(std::move(*dib), true);
}

}  // namespace orvo
