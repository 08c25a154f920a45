// Cutting skins into pieces and state frames.
#include "ui/lum_ui_utils.h"
#include "ui/skin_pixels.h"

namespace orvo {
namespace {

bool ValidFactor(int factor) { return factor >= 0 && factor <= 255; }

bool ValidNine(int width, int height, Point p1, Point p2) {
  const auto inside = [](int v, int limit) { return v >= 0 && v < limit; };
  return width > 0 && height > 0 && p1.x < p2.x && p1.y < p2.y && inside(p1.x, width) &&
         inside(p2.x, width) && inside(p1.y, height) && inside(p2.y, height);
}

// The nine rectangles of a cut, in piece order.
std::array<Rect, 9> NineRects(int width, int height, Point p1, Point p2) {
  const int xs[4] = {0, p1.x, p2.x, width};
  const int ys[4] = {0, p1.y, p2.y, height};
  std::array<Rect, 9> rects;
  for (size_t row = 0; row < 3; ++row) {
    for (size_t col = 0; col < 3; ++col) {
      rects[row * 3 + col] = {xs[col], ys[row], xs[col + 1], ys[row + 1]};
    }
  }
  return rects;
}

// Shared by the horizontal and vertical three-slice rules: `length` is the width (height).
bool ValidThree(const PngImage& source, int a1, int a2, int factor, int length) {
  return !source.empty() && ValidFactor(factor) && a1 != 0 && a2 != 0 && a2 >= a1 && a1 <= length &&
         a2 <= length;
}

std::optional<PngImage> StateFrame(PngImage& strip, int count, int index, bool vertical) {
  if (strip.empty() || count < 1 || index < 0 || index > count - 1) return std::nullopt;
  const int length = vertical ? strip.height() : strip.width();
  if (length % count != 0) return std::nullopt;
  strip.CreateAlpha();
  const int size = length / count;
  const Rect r = vertical ? Rect{0, index * size, strip.width(), (index + 1) * size}
                          : Rect{index * size, 0, (index + 1) * size, strip.height()};
  return CopyPiece(strip, r, 255, clNone);
}

}  // namespace

bool CutNinePng(PngImage& source, Point p1, Point p2, int alpha_factor, TColor tint,
                NinePng& pieces) {
  if (source.empty() || !ValidFactor(alpha_factor) ||
      !ValidNine(source.width(), source.height(), p1, p2)) {
    return false;
  }
  source.CreateAlpha();
  const auto rects = NineRects(source.width(), source.height(), p1, p2);
  for (size_t i = 0; i < 9; ++i) pieces[i] = CopyPiece(source, rects[i], alpha_factor, tint);
  return true;
}

bool CutNineBitmap(const Bitmap32& source, Point p1, Point p2, NineBitmaps& pieces) {
  if (source.empty() || !ValidNine(source.width(), source.height(), p1, p2)) return false;
  const auto rects = NineRects(source.width(), source.height(), p1, p2);
  Bitmap32 whole = source;  // pieces are cut from every pixel, whatever the clip
  whole.set_clip_rect(whole.bounds());
  for (size_t i = 0; i < 9; ++i) pieces[i] = whole.CopyPart(rects[i]);
  return true;
}

bool CutThreeHorz(PngImage& source, int x1, int x2, int alpha_factor, TColor tint,
                  ThreePng& pieces) {
  if (!ValidThree(source, x1, x2, alpha_factor, source.width())) return false;
  source.CreateAlpha();
  const int h = source.height();
  pieces[0] = CopyPiece(source, {0, 0, x1, h}, alpha_factor, tint);
  pieces[1] = CopyPiece(source, {x1, 0, x2, h}, alpha_factor, tint);
  pieces[2] = CopyPiece(source, {x2, 0, source.width(), h}, alpha_factor, tint);
  return true;
}

bool CutThreeVert(PngImage& source, int y1, int y2, int alpha_factor, TColor tint,
                  ThreePng& pieces) {
  if (!ValidThree(source, y1, y2, alpha_factor, source.height())) return false;
  source.CreateAlpha();
  const int w = source.width();
  pieces[0] = CopyPiece(source, {0, 0, w, y1}, alpha_factor, tint);
  pieces[1] = CopyPiece(source, {0, y1, w, y2}, alpha_factor, tint);
  pieces[2] = CopyPiece(source, {0, y2, w, source.height()}, alpha_factor, tint);
  return true;
}

std::optional<PngImage> StateFrameHorz(PngImage& strip, int count, int index) {
  return StateFrame(strip, count, index, false);
}

std::optional<PngImage> StateFrameVert(PngImage& strip, int count, int index) {
  return StateFrame(strip, count, index, true);
}

}  // namespace orvo
