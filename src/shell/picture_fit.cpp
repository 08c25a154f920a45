// Decoding and fitting icons.
#include "shell/picture_fit.h"

#include <algorithm>
#include <cmath>

#include "graphics/bitmap.h"
#include "graphics/canvas.h"

namespace orvo {
namespace {

constexpr int kIconSizes[] = {16, 24, 32, 48};

bool TransparentOutside(const PngImage& p, int s) {
  for (int y = 0; y < p.height(); ++y) {
    const Argb* row = p.Row(y);
    for (int x = y < s ? s : 0; x < p.width(); ++x) {
      if ((row[x] >> 24) != 0) return false;
    }
  }
  return true;
}

// The square of a standard icon size at the top-left corner when everything else is
// transparent; else the whole picture.
Rect IconArea(const PngImage& p) {
  if (p.width() == p.height()) {
    for (const int s : kIconSizes) {
      if (s < p.width() && TransparentOutside(p, s)) return {0, 0, s, s};
    }
  }
  return p.bounds();
}

}  // namespace

PngImage FitPicture(const PngImage& picture, int size) {
  if (picture.empty() || size < 1) return {};
  const Rect area = IconArea(picture);
  if (area == picture.bounds() && area == Rect{0, 0, size, size}) return picture;
  const int w = area.width(), h = area.height(), longest = std::max(w, h);
  // Larger ones shrink to the square; much smaller ones are doubled; others keep their
  // size, centred.
  const double scale = longest > size ? double(size) / longest : longest * 2 <= size ? 2.0 : 1.0;
  const int dw = std::max(1, static_cast<int>(std::lround(w * scale)));
  const int dh = std::max(1, static_cast<int>(std::lround(h * scale)));
  Bitmap32 fitted(size, size, PixelHome::kHeap);
  fitted.Clear(0);
  fitted.canvas().StretchDraw(RectOfSize((size - dw) / 2, (size - dh) / 2, dw, dh), picture.view(),
                              area, DrawMode::kBlend, CombineMode::kMerge);
  PngImage out(size, size);
  for (int y = 0; y < size; ++y) std::copy_n(fitted.Row(y), size, out.Row(y));
  return out;
}

PngImage FittedPicture(const TPngImage& image, int size) {
  return FitPicture(image.Unpacked(), size);
}

}  // namespace orvo
