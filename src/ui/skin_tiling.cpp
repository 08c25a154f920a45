// Rebuilding skins at a new size: pixel tiling into a new picture, tiled drawing into a
// bitmap (the last copy squeezed), stretched drawing, and three-slice resizing.
#include <algorithm>

#include "graphics/transfer.h"
#include "ui/lum_ui_utils.h"
#include "ui/skin_pixels.h"

namespace orvo {
namespace {

enum Piece { kTL, kT, kTR, kL, kC, kR, kBL, kB, kBR };

const PngImage& P(const NinePng& pieces, Piece p) { return pieces[static_cast<size_t>(p)]; }

// Copies `piece` into `target` at (x, y), pixels replaced, clipped to the target.
void Put(PngImage& target, const PngImage& piece, int x, int y) {
  for (int row = 0; row < piece.height(); ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= target.height()) continue;
    for (int col = 0; col < piece.width(); ++col) {
      const int tx = x + col;
      if (tx >= 0 && tx < target.width()) target.SetPixel(tx, ty, piece.Pixel(col, row));
    }
  }
}

// Fills the target rectangle r with `piece` repeated from r's top-left corner.
void TileInto(PngImage& target, const PngImage& piece, const Rect& r) {
  if (piece.empty()) return;
  for (int j = 0; j < r.height(); ++j) {
    const Argb* src = piece.Row(j % piece.height());
    Argb* dst = target.Row(r.top + j);
    for (int i = 0; i < r.width(); ++i) dst[r.left + i] = src[i % piece.width()];
  }
}

// Covers r with whole copies of `piece` from its top-left corner, the last copy in each
// direction squeezed into what remains.
void DrawTiled(Canvas& canvas, const PngImage& piece, const Rect& r) {
  if (piece.empty() || r.empty()) return;
  for (int x = r.left; x < r.right; x += piece.width()) {
    for (int y = r.top; y < r.bottom; y += piece.height()) {
      const Rect cell{x, y, std::min(x + piece.width(), r.right),
                      std::min(y + piece.height(), r.bottom)};
      canvas.StretchDraw(cell, piece.view(), piece.bounds(), DrawMode::kBlend, CombineMode::kMerge,
                         Resampler::kNearest);
    }
  }
}

std::optional<PngImage> Slice(PngImage& source, int a1, int a2, int alpha_factor, TColor tint,
                              int new_length, bool vertical) {
  ThreePng parts;
  const bool ok = vertical ? CutThreeVert(source, a1, a2, alpha_factor, tint, parts)
                           : CutThreeHorz(source, a1, a2, alpha_factor, tint, parts);
  if (!ok || new_length < 1) return std::nullopt;
  PngImage result =
      vertical ? PngImage(source.width(), new_length) : PngImage(new_length, source.height());
  const int end_length = vertical ? parts[2].height() : parts[2].width();
  const int span_start = a1, span_end = new_length - end_length;
  if (span_end > span_start) {
    const Rect span = vertical ? Rect{0, span_start, result.width(), span_end}
                               : Rect{span_start, 0, span_end, result.height()};
    TileInto(result, parts[1], span);
  }
  Put(result, parts[0], 0, 0);
  Put(result, parts[2], vertical ? 0 : span_end, vertical ? span_end : 0);
  return result;
}

}  // namespace

std::optional<PngImage> AssembleNinePng(int width, int height, const NinePng& pieces) {
  const int lw = P(pieces, kTL).width(), rw = P(pieces, kTR).width();
  const int th = P(pieces, kTL).height(), bh = P(pieces, kBL).height();
  if (width < lw + rw + 1 || height < th + bh + 1) return std::nullopt;
  PngImage result(width, height);
  const int right = width - rw, bottom = height - bh;
  TileInto(result, P(pieces, kT), {lw, 0, right, P(pieces, kT).height()});
  TileInto(result, P(pieces, kB), {lw, height - P(pieces, kB).height(), right, height});
  TileInto(result, P(pieces, kL), {0, th, P(pieces, kL).width(), bottom});
  TileInto(result, P(pieces, kR), {width - P(pieces, kR).width(), th, width, bottom});
  TileInto(result, P(pieces, kC), {lw, th, right, bottom});
  Put(result, P(pieces, kTL), 0, 0);
  Put(result, P(pieces, kTR), width - rw, 0);
  Put(result, P(pieces, kBL), 0, height - bh);
  Put(result, P(pieces, kBR), width - P(pieces, kBR).width(), height - P(pieces, kBR).height());
  return result;
}

void DrawNineTiled(Bitmap32& bitmap, int width, int height, const NinePng& pieces) {
  if (!bitmap.SetSize(width, height) || bitmap.empty()) return;
  bitmap.ResetAlpha(0);
  Canvas& canvas = bitmap.canvas();
  canvas.Save();
  canvas.SetOrigin({0, 0});
  canvas.SetDeviceClip(bitmap.bounds());
  const int lw = P(pieces, kTL).width(), rw = P(pieces, kTR).width();
  const int th = P(pieces, kTL).height(), bh = P(pieces, kBL).height();
  const int right = width - rw, bottom = height - bh;
  canvas.DrawPng(0, 0, P(pieces, kTL));
  canvas.DrawPng(right, 0, P(pieces, kTR));
  canvas.DrawPng(0, bottom, P(pieces, kBL));
  canvas.DrawPng(width - P(pieces, kBR).width(), height - P(pieces, kBR).height(), P(pieces, kBR));
  DrawTiled(canvas, P(pieces, kT), {lw, 0, right, P(pieces, kT).height()});
  DrawTiled(canvas, P(pieces, kB), {lw, height - P(pieces, kB).height(), right, height});
  DrawTiled(canvas, P(pieces, kL), {0, th, P(pieces, kL).width(), bottom});
  DrawTiled(canvas, P(pieces, kR), {width - P(pieces, kR).width(), th, width, bottom});
  DrawTiled(canvas, P(pieces, kC), {lw, th, right, bottom});
  canvas.Restore();
}

void DrawNineStretched(Bitmap32& bitmap, int width, int height, const NineBitmaps& pieces) {
  if (!bitmap.SetSize(width, height) || bitmap.empty()) return;
  const auto& p = pieces;
  const int lw = p[kTL].width(), rw = p[kTR].width(), th = p[kTL].height(), bh = p[kBL].height();
  const int right = width - rw, bottom = height - bh;
  const Rect targets[9] = {
      {0, 0, lw, th},          {lw, 0, right, th},          {right, 0, width, th},
      {0, th, lw, bottom},     {lw, th, right, bottom},     {right, th, width, bottom},
      {0, bottom, lw, height}, {lw, bottom, right, height}, {right, bottom, width, height}};
  for (size_t i = 0; i < 9; ++i) {
    StretchTransfer(bitmap, targets[i], bitmap.bounds(), p[i].view(), p[i].bounds(),
                    DrawMode::kOpaque, CombineMode::kBlend, Resampler::kNearest);
  }
}

std::optional<PngImage> SlicePngHorz(PngImage& source, int x1, int x2, int alpha_factor,
                                     TColor tint, int new_width) {
  return Slice(source, x1, x2, alpha_factor, tint, new_width, false);
}

std::optional<PngImage> SlicePngVert(PngImage& source, int y1, int y2, int alpha_factor,
                                     TColor tint, int new_height) {
  return Slice(source, y1, y2, alpha_factor, tint, new_height, true);
}

void TileBitmap(Bitmap32& target, const Bitmap32& tile) {
  if (target.empty() || tile.empty()) return;
  for (int y = 0; y < target.height(); y += tile.height()) {
    for (int x = 0; x < target.width(); x += tile.width()) tile.DrawTo(target, x, y);
  }
}

}  // namespace orvo
