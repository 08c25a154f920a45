// .ico layout:
//   ICONDIR      reserved 0, type 1, count
//   entries      width, height (0 = 256), colours, reserved, planes, bit count,
//                bytes, offset -- 16 bytes each
//   image data   a PNG file, or a BITMAPINFOHEADER (height doubled) + palette +
//                XOR bitmap (bottom-up) + 1-bit AND mask (bottom-up, rows padded to 4 bytes)
#include "platform/sandbox/icon_file.h"

#include <cstdint>
#include <vector>

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

std::optional<Pixels> DecodeDib(std::string_view d) {
  if (d.size() < 40) return std::nullopt;
  const uint32_t header = Le(d, 0, 4);
  const int32_t w = static_cast<int32_t>(Le(d, 4, 4));
  const int32_t h2 = static_cast<int32_t>(Le(d, 8, 4));
  const uint32_t bits = Le(d, 14, 2);
  const uint32_t compression = Le(d, 16, 4);
  uint32_t colors = Le(d, 32, 4);
  if (header < 40 || header > d.size() || w <= 0 || w > 1024 || h2 <= 0 || h2 > 2048 || compression != 0) {
    return std::nullopt;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  const int h = h2 / 2;
  if (bits <= 8 && colors == 0) colors = 1u << bits;
  if (bits > 8) colors = 0;
  const size_t palette = header;
  const size_t xor_at = palette + size_t(colors) * 4;
  const size_t xor_stride = ((size_t(w) * bits + 31) / 32) * 4;
  const size_t and_at = xor_at + xor_stride * h;
  const size_t and_stride = ((size_t(w) + 31) / 32) * 4;
  if (xor_at > d.size() || and_at > d.size() || d.size() - and_at < and_stride * h) {
    // Some 32-bit icons leave out the mask; accept them when the colour part is whole.
    if (!(bits == 32 && and_at <= d.size())) return std::nullopt;
  }
  const bool has_mask = and_at + and_stride * h <= d.size();

  Pixels out{w, h, std::vector<uint32_t>(size_t(w) * h)};
  bool any_alpha = false;
  for (int y = 0; y < h; ++y) {
    const size_t row = xor_at + xor_stride * (h - 1 - y);
    for (int x = 0; x < w; ++x) {
      uint32_t c = 0;
      if (bits == 32 || bits == 24) {
        const size_t p = row + size_t(x) * (bits / 8);
        c = Le(d, p, 3) | (bits == 32 ? uint32_t(static_cast<uint8_t>(d[p + 3])) << 24 : 0);
      } else {
        const size_t bit = size_t(x) * bits;
        const uint8_t byte = static_cast<uint8_t>(d[row + bit / 8]);
        const uint32_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index < colors) c = Le(d, palette + index * 4, 3);
      }
      any_alpha = any_alpha || (c >> 24) != 0;
      out.argb[size_t(y) * w + x] = c;
    }
  }
  for (int y = 0; y < h; ++y) {
    const size_t row = and_at + and_stride * (h - 1 - y);
    for (int x = 0; x < w; ++x) {
      uint32_t& c = out.argb[size_t(y) * w + x];
      const bool transparent =
          has_mask && ((static_cast<uint8_t>(d[row + x / 8]) >> (7 - x % 8)) & 1) != 0;
      if (!any_alpha) c = (c & 0xFFFFFF) | (transparent ? 0 : 0xFF000000u);
      else if (transparent) c = 0;
    }
  }
  return out;
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
  std::optional<Pixels> image = LooksLikePng(data) ? DecodePng(data) : DecodeDib(data);
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
  if (b.size() < 6 || Le(b, 0, 2) != 0 || Le(b, 2, 2) != 1) return std::nullopt;
  const uint32_t count = Le(b, 4, 2);
  if (count == 0 || b.size() < 6 + size_t(count) * 16) return std::nullopt;
  std::vector<Entry> entries;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = 6 + size_t(i) * 16;
    entries.push_back({b[e] == 0 ? 256 : static_cast<uint8_t>(b[e]), Le(b, e + 6, 2)});
  }
  const size_t e = 6 + BestEntry(entries) * 16;
  const uint32_t size = Le(b, e + 8, 4);
  const uint32_t offset = Le(b, e + 12, 4);
  if (offset > b.size() || size > b.size() - offset) return std::nullopt;
  return DecodeEntry(b.substr(offset, size));
}

std::optional<Pixels> DecodeProgramIcon(std::string_view image, int index) {
  // ExtractIconEx: a positive index counts icon groups, a negative one names a group id.
  const auto group = index >= 0 ? PeResourceData(image, kRtGroupIcon, std::nullopt, size_t(index))
                                : PeResourceData(image, kRtGroupIcon, uint32_t(-index));
  if (!group || group->size() < 6 || Le(*group, 2, 2) != 1) return std::nullopt;
  const uint32_t count = Le(*group, 4, 2);
  if (count == 0 || group->size() < 6 + size_t(count) * 14) return std::nullopt;
  std::vector<Entry> entries;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = 6 + size_t(i) * 14;
    entries.push_back({(*group)[e] == 0 ? 256 : static_cast<uint8_t>((*group)[e]), Le(*group, e + 6, 2)});
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
