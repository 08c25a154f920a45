// .bmp:  "BM", file size, reserved, offset of the pixels -- 14 bytes -- then the DIB.
// DIB:   BITMAPINFOHEADER (40 bytes or a later, longer one), BI_BITFIELDS masks, palette,
//        rows bottom-up (top-down when the height is negative), each padded to 4 bytes.
// .ico:  ICONDIR (reserved 0, type 1, count), 16-byte entries (width, height (0 = 256),
//        colours, reserved, planes, bit count, bytes, offset), then each entry's data: a
//        PNG file, or a DIB of doubled height + 1-bit AND mask (rows padded to 4 bytes).
#include "platform/dib_codec.h"

#include <cstdlib>
#include <cstring>

#include "platform/picture_limits.h"
#include "platform/png_codec.h"

namespace orvo::os {
namespace {

uint32_t U16(std::string_view b, size_t at) {
  return at + 2 <= b.size() ? uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8) : 0;
}
uint32_t U32(std::string_view b, size_t at) {
  return at + 4 <= b.size() ? uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8) |
                                  (uint8_t(b[at + 2]) << 16) | (uint32_t(uint8_t(b[at + 3])) << 24)
                            : 0;
}

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// Bit position and width of a channel mask, for BI_BITFIELDS.
struct Mask {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Mask(uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    while (bits < 32 - shift && ((m >> (shift + bits)) & 1)) ++bits;
  }
  uint32_t Get(uint32_t value) const {
    if (!mask || bits == 0) return 0;
    const uint32_t v = (value & mask) >> shift;
    const uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    return static_cast<uint32_t>((static_cast<uint64_t>(v) * 255 + max / 2) / max);
  }
};

}  // namespace

std::optional<DibDecoded> DecodeDib(std::string_view b, size_t header, bool icon, size_t bits_at) {
  const uint32_t header_size = U32(b, header);
  if (header_size < 40 || header > b.size() || header_size > b.size() - header) {
    return std::nullopt;
  }
  const auto width = static_cast<int32_t>(U32(b, header + 4));
  auto height = static_cast<int32_t>(U32(b, header + 8));
  const uint32_t bpp = U16(b, header + 14);
  const uint32_t compression = U32(b, header + 16);
  uint32_t colors_used = U32(b, header + 32);
  const bool top_down = height < 0;
  if (height == INT32_MIN) return std::nullopt;
  height = std::abs(height);
  if (icon) height /= 2;
  if (width <= 0 || height <= 0 || uint32_t(width) > kMaxPictureSide ||
      uint32_t(height) > kMaxPictureSide) {
    return std::nullopt;
  }
  if (compression != 0 && !(compression == 3 && (bpp == 16 || bpp == 32))) return std::nullopt;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    return std::nullopt;
  }
  size_t table = header + header_size;
  Mask red(0x00FF0000), green(0x0000FF00), blue(0x000000FF), alpha(0);
  if (bpp == 16 && compression == 0) red = Mask(0x7C00), green = Mask(0x03E0), blue = Mask(0x1F);
  if (compression == 3) {
    const size_t masks = header_size >= 52 ? header + 40 : table;
    red = Mask(U32(b, masks));
    green = Mask(U32(b, masks + 4));
    blue = Mask(U32(b, masks + 8));
    if (header_size >= 56) alpha = Mask(U32(b, header + 52));
    if (header_size < 52) table += 12;
  }
  std::vector<uint32_t> palette;
  if (bpp <= 8) {
    if (colors_used == 0 || colors_used > (1u << bpp)) colors_used = 1u << bpp;
    if (table + size_t{colors_used} * 4 > b.size()) return std::nullopt;
    for (uint32_t i = 0; i < colors_used; ++i) {
      const size_t at = table + size_t{i} * 4;
      palette.push_back(Argb(255, uint8_t(b[at + 2]), uint8_t(b[at + 1]), uint8_t(b[at])));
    }
    table += size_t{colors_used} * 4;
  }
  const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
  const size_t bits = bits_at ? bits_at : table;
  if (bits > b.size() || stride * height > b.size() - bits) return std::nullopt;
  const size_t mask_stride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  const size_t mask_at = bits + stride * height;
  // Some 32-bit icons leave out the mask: the colour part alone is accepted.
  const bool has_mask = icon && mask_stride * height <= b.size() - mask_at;

  DibDecoded out;
  out.bits_per_pixel = bpp;
  out.pixels = {width, height, std::vector<uint32_t>(size_t(width) * height)};
  const auto* data = reinterpret_cast<const uint8_t*>(b.data());
  bool any_alpha = false;
  for (int y = 0; y < height; ++y) {
    const int file_row = top_down ? y : height - 1 - y;
    const uint8_t* row = data + bits + stride * file_row;
    uint32_t* line = out.pixels.argb.data() + size_t(y) * width;
    for (int x = 0; x < width; ++x) {
      uint32_t c = 0;
      if (bpp <= 8) {
        const size_t bit = static_cast<size_t>(x) * bpp;
        const uint32_t index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        c = index < palette.size() ? palette[index] : 0xFF000000u;
      } else if (bpp == 24) {
        const uint8_t* px = row + static_cast<size_t>(x) * 3;
        c = Argb(255, px[2], px[1], px[0]);
      } else {
        const uint8_t* px = row + static_cast<size_t>(x) * (bpp / 8);
        const uint32_t v =
            bpp == 16 ? px[0] | (px[1] << 8)
                      : px[0] | (px[1] << 8) | (px[2] << 16) | (static_cast<uint32_t>(px[3]) << 24);
        const uint32_t a = bpp == 32 && compression == 0 ? v >> 24 : alpha.Get(v);
        any_alpha = any_alpha || a != 0;
        c = Argb(a, red.Get(v), green.Get(v), blue.Get(v));
      }
      line[x] = c;
    }
  }
  // 32-bit pixels whose alpha bytes are all 0 carry no alpha: they are opaque (or masked),
  // as the system draws them.
  out.alpha = (bpp == 32 || alpha.mask) && any_alpha;
  if (out.alpha) return out;
  for (int y = 0; y < height; ++y) {
    const int file_row = top_down ? y : height - 1 - y;
    uint32_t* line = out.pixels.argb.data() + size_t(y) * width;
    for (int x = 0; x < width; ++x) {
      bool transparent = false;
      if (has_mask) {
        const uint8_t m = data[mask_at + mask_stride * file_row + x / 8];
        transparent = (m >> (7 - x % 8)) & 1;
      }
      line[x] = transparent ? 0 : (line[x] | 0xFF000000u);
    }
  }
  return out;
}

std::optional<DibDecoded> DecodeBmpFile(std::string_view bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint32_t bits_at = U32(bytes, 10);
  if (bits_at == 0 || bits_at >= bytes.size()) return std::nullopt;
  return DecodeDib(bytes, 14, false, bits_at);
}

std::vector<IcoEntry> ReadIcoDirectory(std::string_view b) {
  std::vector<IcoEntry> entries;
  if (b.size() < 6 || U16(b, 0) != 0 || U16(b, 2) != 1) return entries;
  const uint32_t count = U16(b, 4);
  if (count == 0 || 6 + size_t(count) * 16 > b.size()) return entries;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = 6 + size_t(i) * 16;
    const uint32_t size = U32(b, e + 8), offset = U32(b, e + 12);
    if (offset > b.size() || size > b.size() - offset) continue;
    IcoEntry entry;
    entry.width = uint8_t(b[e]) ? uint8_t(b[e]) : 256;
    entry.height = uint8_t(b[e + 1]) ? uint8_t(b[e + 1]) : 256;
    entry.bits_per_pixel = U16(b, e + 6);
    entry.data = b.substr(offset, size);
    entries.push_back(entry);
  }
  return entries;
}

std::optional<Pixels> DecodeIcoEntry(std::string_view data) {
  if (LooksLikePng(data)) return DecodePng(data);
  auto dib = DecodeDib(data, 0, true);
  if (!dib) return std::nullopt;
  return std::move(dib->pixels);
}

}  // namespace orvo::os
