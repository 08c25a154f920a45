// The pixel combinations of the raster layer. Rows are the hot path of every paint, so the
// blend works on two channels at a time in one 32-bit word and skips the two common cases
// (fully transparent and fully opaque source pixels) before doing any arithmetic.
#include "graphics/blend.h"

#include <cstring>

namespace orvo {
namespace {

// Rounds each 16-bit lane of x (two channels of up to 255 * 255) divided by 255.
inline uint32_t Div255Lanes(uint32_t x) {
  x += 0x00800080u;
  return ((x + ((x >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

inline Argb BlendPartial(Argb f, Argb b, uint32_t fa) {
  const uint32_t ba = 255 - fa;
  // Alpha lane of F replaced by 255 so that the A channel comes out as Fa + Ba * (1 - Fa).
  const uint32_t f_ag = ((f >> 8) & 0x00FF00FFu) | 0x00FF0000u;
  const uint32_t rb = Div255Lanes((f & 0x00FF00FFu) * fa + (b & 0x00FF00FFu) * ba);
  const uint32_t ag = Div255Lanes(f_ag * fa + ((b >> 8) & 0x00FF00FFu) * ba);
  return rb | (ag << 8);
}

inline Argb MergePartial(Argb f, Argb b, uint32_t fa) {
  const uint32_t wb = AlphaOf(b) * (255 - fa);  // background weight, 0 .. 255 * 255
  const uint32_t wf = fa * 255;
  const uint32_t sum = wf + wb;
  const uint32_t half = sum / 2;
  const uint32_t r = (RedOf(f) * wf + RedOf(b) * wb + half) / sum;
  const uint32_t g = (GreenOf(f) * wf + GreenOf(b) * wb + half) / sum;
  const uint32_t bl = (BlueOf(f) * wf + BlueOf(b) * wb + half) / sum;
  return MakeArgb(Div255(sum), r, g, bl);
}

}  // namespace

Argb BlendPixel(Argb f, Argb b) {
  const uint32_t fa = AlphaOf(f);
  if (fa == 0) return b;
  if (fa == 255) return f;
  return BlendPartial(f, b, fa);
}

Argb MergePixel(Argb f, Argb b) {
  const uint32_t fa = AlphaOf(f);
  if (fa == 0) return b;
  if (fa == 255) return f;
  const uint32_t ba = AlphaOf(b);
  if (ba == 0) return f;
  if (ba == 255) return BlendPartial(f, b, fa);
  return MergePartial(f, b, fa);
}

void CombineRow(const Argb* src, Argb* dst, int count, DrawMode draw, CombineMode combine) {
  if (count <= 0) return;
  if (draw == DrawMode::kOpaque) {
    std::memmove(dst, src, static_cast<size_t>(count) * sizeof(Argb));
    return;
  }
  if (combine == CombineMode::kBlend) {
    for (int i = 0; i < count; ++i) {
      const Argb f = src[i];
      const uint32_t fa = f >> 24;
      if (fa == 255) {
        dst[i] = f;
      } else if (fa != 0) {
        dst[i] = BlendPartial(f, dst[i], fa);
      }
    }
  } else {
    for (int i = 0; i < count; ++i) dst[i] = MergePixel(src[i], dst[i]);
  }
}

}  // namespace orvo
