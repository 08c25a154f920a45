// Block and stretched transfers. A stretched row is first resampled into a small scratch
// row and then combined like a block row, so the combine code exists once.
#include "graphics/transfer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvo {
namespace {

// Linear sampling positions in 16.16 fixed point for one axis: for target index i the
// source index `base` and the weight of base + 1 (0..65536).
struct Tap {
  int base;
  int next;
  uint32_t weight;
};

std::vector<Tap> LinearTaps(int source_start, int source_len, int target_len, int first,
                            int count) {
  std::vector<Tap> taps(static_cast<size_t>(count));
  const double scale = static_cast<double>(source_len) / target_len;
  for (int k = 0; k < count; ++k) {
    double s = (first + k + 0.5) * scale - 0.5;
    s = std::clamp(s, 0.0, static_cast<double>(source_len - 1));
    const int base = static_cast<int>(s);
    const int next = std::min(base + 1, source_len - 1);
    const auto weight = static_cast<uint32_t>(std::lround((s - base) * 65536.0));
    taps[static_cast<size_t>(k)] = {source_start + base, source_start + next, weight};
  }
  return taps;
}

inline int NearestIndex(int source_start, int source_len, int target_len, int i) {
  return source_start + static_cast<int>((2LL * i + 1) * source_len / (2LL * target_len));
}

// Premultiplied mix of two pixels, weight w (0..65536) for b.
struct Premul {
  uint32_t a, r, g, b;
};

inline Premul Mix(Argb p, Argb q, uint32_t w) {
  const uint32_t wp = 65536 - w;
  const uint32_t pa = AlphaOf(p) * wp, qa = AlphaOf(q) * w;
  // Colours weighted by alpha * weight (colour * alpha); alpha kept times 2^8.
  return {(pa + qa) >> 8, (RedOf(p) * (pa >> 8) + RedOf(q) * (qa >> 8)) >> 8,
          (GreenOf(p) * (pa >> 8) + GreenOf(q) * (qa >> 8)) >> 8,
          (BlueOf(p) * (pa >> 8) + BlueOf(q) * (qa >> 8)) >> 8};
}

inline Argb Unpremultiply(const Premul& top, const Premul& bottom, uint32_t w) {
  const uint64_t wp = 65536 - w;
  const uint64_t a = top.a * wp + bottom.a * static_cast<uint64_t>(w);  // alpha * 2^24
  const auto alpha = static_cast<uint32_t>(std::min<uint64_t>(255, (a + (1u << 23)) >> 24));
  if (alpha == 0) return 0;
  const auto channel = [&](uint32_t t, uint32_t b) {
    const uint64_t c = t * wp + b * static_cast<uint64_t>(w);  // colour * alpha * 2^16
    return static_cast<uint32_t>(std::min<uint64_t>(255, (c * 256 + a / 2) / a));
  };
  return MakeArgb(alpha, channel(top.r, bottom.r), channel(top.g, bottom.g),
                  channel(top.b, bottom.b));
}

// Four opaque pixels need no alpha weighting: plain bilinear mixing in 8.8 fixed point
// (the 16-bit weights rounded to 8 bits), two channels per 32-bit word.
inline Argb MixOpaque(Argb p00, Argb p01, Argb p10, Argb p11, uint32_t wx16, uint32_t wy16) {
  const uint32_t wx = (wx16 + 128) >> 8, wy = (wy16 + 128) >> 8;  // 0..256
  const auto lerp = [](Argb a, Argb b, uint32_t w) {
    const uint32_t rb = ((a & 0x00FF00FFu) * (256 - w) + (b & 0x00FF00FFu) * w) >> 8;
    const uint32_t g = ((a & 0x0000FF00u) * (256 - w) + (b & 0x0000FF00u) * w) >> 8;
    return (rb & 0x00FF00FFu) | (g & 0x0000FF00u);
  };
  return 0xFF000000u | lerp(lerp(p00, p01, wx), lerp(p10, p11, wx), wy);
}

}  // namespace

void BlockTransfer(Bitmap32& target, int x, int y, const Rect& clip, const PixelView& source,
                   const Rect& source_rect, DrawMode draw, CombineMode combine) {
  if (target.empty() || source.empty()) return;
  Rect src = Intersect(source_rect, source.bounds());
  if (src.empty()) return;
  // Where the (clipped) source lands, then clipped to the target and the clip.
  const int dx = x - source_rect.left, dy = y - source_rect.top;
  Rect dst = Intersect(Intersect(src.Offset(dx, dy), clip), target.bounds());
  if (dst.empty()) return;
  for (int row = dst.top; row < dst.bottom; ++row) {
    CombineRow(source.Row(row - dy) + (dst.left - dx), target.Row(row) + dst.left, dst.width(),
               draw, combine);
  }
}

void StretchTransfer(Bitmap32& target, const Rect& target_rect, const Rect& clip,
                     const PixelView& source, const Rect& source_rect, DrawMode draw,
                     CombineMode combine, Resampler resampler) {
  if (target.empty() || source.empty() || target_rect.empty()) return;
  if (source_rect.empty() || Intersect(source_rect, source.bounds()) != source_rect) {
    // A source rectangle reaching outside the source is cut to it, and the target
    // rectangle with it in proportion, so no pixel is invented.
    const Rect src = Intersect(source_rect, source.bounds());
    if (src.empty() || source_rect.empty()) return;
    const auto map_x = [&](int sx) {
      return target_rect.left + static_cast<int>((static_cast<long long>(sx - source_rect.left) *
                                                  target_rect.width()) /
                                                 source_rect.width());
    };
    const auto map_y = [&](int sy) {
      return target_rect.top + static_cast<int>((static_cast<long long>(sy - source_rect.top) *
                                                 target_rect.height()) /
                                                source_rect.height());
    };
    const Rect cut{map_x(src.left), map_y(src.top), map_x(src.right), map_y(src.bottom)};
    StretchTransfer(target, cut, clip, source, src, draw, combine, resampler);
    return;
  }
  if (target_rect.width() == source_rect.width() && target_rect.height() == source_rect.height()) {
    BlockTransfer(target, target_rect.left, target_rect.top, clip, source, source_rect, draw,
                  combine);
    return;
  }
  const Rect dst = Intersect(Intersect(target_rect, clip), target.bounds());
  if (dst.empty()) return;
  const int tw = target_rect.width(), th = target_rect.height();
  const int sw = source_rect.width(), sh = source_rect.height();
  const int first_col = dst.left - target_rect.left;
  std::vector<Argb> row(static_cast<size_t>(dst.width()));

  if (resampler == Resampler::kNearest) {
    std::vector<int> columns(row.size());
    for (int k = 0; k < dst.width(); ++k) {
      columns[static_cast<size_t>(k)] = NearestIndex(source_rect.left, sw, tw, first_col + k);
    }
    for (int y = dst.top; y < dst.bottom; ++y) {
      const Argb* src = source.Row(NearestIndex(source_rect.top, sh, th, y - target_rect.top));
      for (size_t k = 0; k < row.size(); ++k) row[k] = src[columns[k]];
      CombineRow(row.data(), target.Row(y) + dst.left, dst.width(), draw, combine);
    }
    return;
  }

  const std::vector<Tap> xs = LinearTaps(source_rect.left, sw, tw, first_col, dst.width());
  const std::vector<Tap> ys =
      LinearTaps(source_rect.top, sh, th, dst.top - target_rect.top, dst.height());
  for (int y = dst.top; y < dst.bottom; ++y) {
    const Tap& ty = ys[static_cast<size_t>(y - dst.top)];
    const Argb* r0 = source.Row(ty.base);
    const Argb* r1 = source.Row(ty.next);
    for (size_t k = 0; k < row.size(); ++k) {
      const Tap& tx = xs[k];
      const Argb p00 = r0[tx.base], p01 = r0[tx.next], p10 = r1[tx.base], p11 = r1[tx.next];
      if ((p00 & p01 & p10 & p11) >= 0xFF000000u) {
        row[k] = MixOpaque(p00, p01, p10, p11, tx.weight, ty.weight);
        continue;
      }
      const Premul top = Mix(p00, p01, tx.weight);
      const Premul bottom = Mix(p10, p11, tx.weight);
      row[k] = Unpremultiply(top, bottom, ty.weight);
    }
    CombineRow(row.data(), target.Row(y) + dst.left, dst.width(), draw, combine);
  }
}

}  // namespace orvo
