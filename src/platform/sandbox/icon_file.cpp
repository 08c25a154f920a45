// Icons as the system extracts them: the entry it would take for its large icon, decoded
// by the seam's picture decoders (dib_codec.h, png_codec.h) and fitted to 32 x 32.
#include "platform/sandbox/icon_file.h"

#include <cstdint>
#include <vector>

#include "platform/dib_codec.h"
#include "platform/pe_resources.h"
#include "platform/png_codec.h"

namespace orvo::os::sandbox {
namespace {

constexpr int kLargeIcon = 32;

uint32_t Le(std::string_view b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
  return v;
}

struct Entry {
  int side;
  uint32_t bits;
};

// The entry the system takes for its large icon: exactly 32 (deepest colour), else the
// smallest larger one, else the largest.
size_t BestEntry(const std::vector<Entry>& entries) {
  size_t best = 0;
  auto better = [&](const Entry& a, const Entry& b) {
    if (a.side == b.side) return a.bits > b.bits;
    if (a.side == kLargeIcon) return true;
    if (b.side == kLargeIcon) return false;
    if (a.side > kLargeIcon && b.side > kLargeIcon) return a.side < b.side;
    if (a.side > kLargeIcon) return true;
    return b.side < kLargeIcon && a.side > b.side;
  };
  for (size_t i = 1; i < entries.size(); ++i) {
    if (better(entries[i], entries[best])) best = i;
  }
  return best;
}

Pixels Scale(const Pixels& src, int size) {
  Pixels out{size, size, std::vector<uint32_t>(size_t(size) * size)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      out.argb[size_t(y) * size + x] =
          src.argb[size_t(y * src.height / size) * src.width + (x * src.width / size)];
    }
  }
  return out;
}

Pixels FitLarge(Pixels image) {
  if (image.width == kLargeIcon && image.height == kLargeIcon) return image;
  return Scale(image, kLargeIcon);
}

std::optional<Pixels> DecodeEntry(std::string_view data) {
  std::optional<Pixels> image = DecodeIcoEntry(data);
  if (!image) return std::nullopt;
  return FitLarge(std::move(*image));
}

}  // namespace

std::optional<Pixels> DecodeLargeIcon(std::string_view b) {
  if (LooksLikePng(b)) {
    auto png = DecodePng(b);
    if (!png) return std::nullopt;
    return FitLarge(std::move(*png));
  }
  const std::vector<IcoEntry> icons = ReadIcoDirectory(b);
  if (icons.empty()) return std::nullopt;
  std::vector<Entry> entries;
  entries.reserve(icons.size());
  for (const IcoEntry& icon : icons) entries.push_back({icon.width, icon.bits_per_pixel});
  return DecodeEntry(icons[BestEntry(entries)].data);
}

std::optional<Pixels> DecodeProgramIcon(std::string_view image, int index) {
  // ExtractIconEx: a positive index counts icon groups, a negative one names a group id.
  const auto group = index >= 0 ? PeResourceData(image, kRtGroupIcon, std::nullopt, size_t(index))
                                : PeResourceData(image, kRtGroupIcon, uint32_t(-index));
  if (!group || group->size() < 6 || Le(*group, 2, 2) != 1) return std::nullopt;
  const uint32_t count = Le(*group, 4, 2);
  if (count == 0 || group->size() < 6 + size_t(count) * 14) return std::nullopt;
  std::vector<Entry> entries;
  entries.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = 6 + size_t(i) * 14;
    entries.push_back(
        {(*group)[e] == 0 ? 256 : static_cast<uint8_t>((*group)[e]), Le(*group, e + 6, 2)});
  }
  const size_t e = 6 + BestEntry(entries) * 14;
  const auto data = PeResourceData(image, kRtIcon, Le(*group, e + 12, 2));
  if (!data) return std::nullopt;
  return DecodeEntry(*data);
}

Pixels OnCanvas(const Pixels& icon, int size) {
  Pixels out{size, size, std::vector<uint32_t>(size_t(size) * size, 0)};
  for (int y = 0; y < std::min(size, icon.height); ++y) {
    for (int x = 0; x < std::min(size, icon.width); ++x) {
      out.argb[size_t(y) * size + x] = icon.argb[size_t(y) * icon.width + x];
    }
  }
  return out;
}

}  // namespace orvo::os::sandbox
