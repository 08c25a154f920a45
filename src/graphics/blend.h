#pragma once
// How a source pixel F lands on a destination pixel B (straight alpha, channels 0..255).
//
//   opaque:  R = F, all four channels copied.
//   blend:   "F over an opaque B": colours are mixed by F's alpha alone,
//              Rc = rnd((Fc * Fa + Bc * (255 - Fa)) / 255)
//            and the coverage adds up as for "over":
//              Ra = rnd(Fa + Ba * (255 - Fa) / 255).
//            On an opaque destination this is plain alpha blending. Skins drawn over a
//            filled form use it.
//   merge:   true "over" for two straight-alpha pictures, the combination for the
//            off-screen bitmaps of controls and layered windows:
//              Ra = rnd(Fa + Ba * (255 - Fa) / 255)
//              Rc = rnd((Fc * Fa * 255 + Bc * Ba * (255 - Fa)) / (Fa * 255 + Ba * (255 - Fa)))
//            and R = 0 when both are fully transparent. Merging onto a transparent pixel
//            yields F unchanged; onto an opaque one it equals blend.
//
// Both blend and merge return B untouched when Fa = 0 and F when Fa = 255.
#include <cstdint>

#include "graphics/color.h"

namespace orvo {

enum class DrawMode { kOpaque, kBlend };
enum class CombineMode { kBlend, kMerge };

// rnd(x / 255) for 0 <= x <= 255 * 255, without a division.
constexpr uint32_t Div255(uint32_t x) {
  const uint32_t t = x + 128;
  return (t + (t >> 8)) >> 8;
}

Argb BlendPixel(Argb f, Argb b);
Argb MergePixel(Argb f, Argb b);

// One row of `count` pixels combined into dst by the mode (opaque copies).
void CombineRow(const Argb* src, Argb* dst, int count, DrawMode draw, CombineMode combine);

}  // namespace orvo
