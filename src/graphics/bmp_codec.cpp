// Windows bitmaps and icons, the two other picture kinds a window layout may store. Only the
// uncompressed forms are read (which is what the layouts hold); every offset and size
// comes from untrusted bytes and is checked before use.
#include <algorithm>
#include <cstring>

#include "graphics/image_codecs.h"

namespace orvo {
namespace {

constexpr int64_t kMaxPixels = 64ll * 1024 * 1024;

uint32_t U16(std::span<const uint8_t> b, size_t at) {
  return at + 2 <= b.size() ? b[at] | (b[at + 1] << 8) : 0;
}
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return at + 4 <= b.size()
             ? b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24)
             : 0;
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

// A DIB at `header` (BITMAPINFOHEADER or later). For icons the height counts the colour
// bitmap and the AND mask, and the mask follows the colour bits.
std::optional<PngImage> DecodeDib(std::span<const uint8_t> b, size_t header, bool icon,
                                  size_t bits_at_or_zero) {
  const uint32_t header_size = U32(b, header);
  if (header_size < 40 || header + header_size > b.size()) return std::nullopt;
  const auto width = static_cast<int32_t>(U32(b, header + 4));
  auto height = static_cast<int32_t>(U32(b, header + 8));
  const uint32_t bpp = U16(b, header + 14);
  const uint32_t compression = U32(b, header + 16);
  uint32_t colors_used = U32(b, header + 32);
  const bool top_down = height < 0;
  if (height == INT32_MIN) return std::nullopt;
  height = std::abs(height);
  if (icon) height /= 2;
  if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxPixels) {
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
  std::vector<Argb> palette;
  if (bpp <= 8) {
    if (colors_used == 0 || colors_used > (1u << bpp)) colors_used = 1u << bpp;
    if (table + colors_used * 4 > b.size()) return std::nullopt;
    for (uint32_t i = 0; i < colors_used; ++i) {
      const size_t at = table + i * 4;
      palette.push_back(MakeArgb(255, b[at + 2], b[at + 1], b[at]));
    }
    table += colors_used * 4;
  }
  const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
  const size_t bits = bits_at_or_zero ? bits_at_or_zero : table;
  if (bits + stride * height > b.size()) return std::nullopt;
  const size_t mask_stride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  const size_t mask_at = bits + stride * height;
  const bool has_mask = icon && mask_at + mask_stride * height <= b.size();

  PngImage image(width, height, bpp == 32 || icon ? PngColorType::kRgba : PngColorType::kRgb);
  bool any_alpha = false;
  for (int y = 0; y < height; ++y) {
    const int file_row = top_down ? y : height - 1 - y;
    const uint8_t* row = b.data() + bits + stride * file_row;
    Argb* out = image.Row(y);
    for (int x = 0; x < width; ++x) {
      Argb c = 0;
      if (bpp <= 8) {
        const size_t bit = static_cast<size_t>(x) * bpp;
        const uint32_t index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        c = index < palette.size() ? palette[index] : 0xFF000000u;
      } else if (bpp == 24) {
        c = MakeArgb(255, row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
      } else {
        const uint32_t v = bpp == 16 ? row[x * 2] | (row[x * 2 + 1] << 8)
                                     : row[x * 4] | (row[x * 4 + 1] << 8) |
                                           (row[x * 4 + 2] << 16) |
                                           (static_cast<uint32_t>(row[x * 4 + 3]) << 24);
        const uint32_t a = bpp == 32 && compression == 0 ? v >> 24 : alpha.Get(v);
        any_alpha = any_alpha || a != 0;
        c = MakeArgb(a, red.Get(v), green.Get(v), blue.Get(v));
      }
      out[x] = c;
    }
  }
  // 32-bit pixels whose alpha bytes are all 0 carry no alpha: they are opaque (or masked).
  const bool alpha_in_pixels = (bpp == 32 || alpha.mask) && any_alpha;
  for (int y = 0; y < height; ++y) {
    const int file_row = top_down ? y : height - 1 - y;
    Argb* out = image.Row(y);
    for (int x = 0; x < width; ++x) {
      if (alpha_in_pixels) continue;
      bool transparent = false;
      if (has_mask) {
        const uint8_t m = b[mask_at + mask_stride * file_row + x / 8];
        transparent = (m >> (7 - x % 8)) & 1;
      }
      out[x] = transparent ? 0 : WithAlpha(out[x], 255);
    }
  }
  return image;
}

}  // namespace

std::optional<PngImage> DecodeBmp(std::span<const uint8_t> bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint32_t bits_at = U32(bytes, 10);
  if (bits_at == 0 || bits_at >= bytes.size()) return std::nullopt;
  return DecodeDib(bytes, 14, false, bits_at);
}

std::optional<PngImage> DecodeIco(std::span<const uint8_t> bytes) {
  if (bytes.size() < 6 || U16(bytes, 0) != 0 || U16(bytes, 2) != 1) return std::nullopt;
  const uint32_t count = U16(bytes, 4);
  if (count == 0 || 6 + count * 16 > bytes.size()) return std::nullopt;
  // The largest entry wins; among equals the deepest.
  uint32_t best = count;
  uint64_t best_score = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = 6 + i * 16;
    const uint32_t w = bytes[e] ? bytes[e] : 256, h = bytes[e + 1] ? bytes[e + 1] : 256;
    const uint64_t score = (static_cast<uint64_t>(w) * h << 8) | std::min<uint32_t>(U16(bytes, e + 6), 255);
    const uint32_t size = U32(bytes, e + 8), offset = U32(bytes, e + 12);
    if (offset >= bytes.size() || size > bytes.size() - offset) continue;
    if (score > best_score) best_score = score, best = i;
  }
  if (best == count) return std::nullopt;
  const size_t e = 6 + best * 16;
  const auto entry = bytes.subspan(U32(bytes, e + 12), U32(bytes, e + 8));
  if (entry.size() >= 8 && entry[0] == 0x89 && entry[1] == 'P') return DecodePng(entry);
  return DecodeDib(entry, 0, true, 0);
}

}  // namespace orvo
