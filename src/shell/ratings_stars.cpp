// The ratings window's pictures: the add-on's icon, the average as five stars, the
// distribution's star captions and bars, and the five-star input of "My Review". All of
// them come from the shared image storage (entries 1, 11, 12, 19 to 22).
#include <algorithm>
#include <cmath>

#include "shell/ratings_form.h"
#include "ui/image_module.h"

namespace orvo {
namespace {

constexpr int kStarPitch = 21;  // the 21-pixel stars, side by side

enum SharedImage {
  kDefaultIcon = 1,
  kBarBack = 11,
  kBarFill = 12,
  kSmallStar = 19,
  kStarFull = 20,
  kStarEmpty = 21,
  kStarHalf = 22,
};

// A bar picture three-sliced to a rectangle: its round ends keep their size (the outer
// four columns on each side) and its middle column stretches. A rectangle narrower than
// the picture gets the two ends, each cut to half of it.
//
//   [0, 4) left end | [4, w - 4) middle, stretched | [w - 4, w) right end
void DrawBar(Canvas& canvas, const Rect& r, const PngImage& png) {
  if (png.empty() || r.width() <= 0) return;
  const int end = std::min(4, png.width() / 2);
  const PixelView view = png.view();
  const auto part = [&](const Rect& to, const Rect& from) {
    if (to.width() > 0 && from.width() > 0) {
      canvas.StretchDraw(to, view, from, DrawMode::kBlend, CombineMode::kMerge);
    }
  };
  const int h = png.height();
  if (r.width() < 2 * end) {
    const int left = r.width() / 2;
    part({r.left, r.top, r.left + left, r.bottom}, {0, 0, left, h});
    part({r.left + left, r.top, r.right, r.bottom},
         {png.width() - (r.width() - left), 0, png.width(), h});
    return;
  }
  part({r.left, r.top, r.left + end, r.bottom}, {0, 0, end, h});
  part({r.left + end, r.top, r.right - end, r.bottom}, {end, 0, png.width() - end, h});
  part({r.right - end, r.top, r.right, r.bottom}, {png.width() - end, 0, png.width(), h});
}

// The record's picture, decoded once per window.
PngImage IconOf(const TBrowserExtensionInfo& addon) {
  return addon.Image ? addon.Image->Unpacked() : PngImage();
}

}  // namespace

void TfrmXOBRate::img1AfterDrawPaint(Canvas& canvas) {
  if (!icon_decoded_) {
    icon_ = IconOf(addon_);
    icon_decoded_ = true;
  }
  const PngImage& picture = icon_.empty() ? SharedPng(kDefaultIcon) : icon_;
  if (!picture.empty()) canvas.StretchDrawPng(img1->ClientRect(), picture);
}

// Full stars while i <= r, a half star for a fractional part, empty stars to five.
void TfrmXOBRate::img2AfterDrawPaint(Canvas& canvas) {
  const double r = std::clamp(average_, 0.0, 5.0);
  int x = 0;
  int drawn = 0;
  for (int i = 1; i <= r; ++i, ++drawn, x += kStarPitch) canvas.DrawPng(x, 0, SharedPng(kStarFull));
  if (r != std::floor(r) && drawn < 5) {
    canvas.DrawPng(x, 0, SharedPng(kStarHalf));
    x += kStarPitch;
    ++drawn;
  }
  for (; drawn < 5; ++drawn, x += kStarPitch) canvas.DrawPng(x, 0, SharedPng(kStarEmpty));
}

// The bar background over the whole image, the fill over the count's share of the
// largest count.
void TfrmXOBRate::img3AfterDrawPaint(TLumImage& bar, Canvas& canvas) {
  const int stars = std::clamp(bar.Tag, 1, 5);
  const int64_t largest =
      std::max<int64_t>(*std::max_element(StarCounts.begin(), StarCounts.end()), 1);
  const int64_t count = std::clamp<int64_t>(StarCounts[static_cast<size_t>(stars - 1)], 0, largest);
  const int width =
      static_cast<int>(static_cast<double>(count) / static_cast<double>(largest) * bar.Width());
  DrawBar(canvas, bar.ClientRect(), SharedPng(kBarBack));
  DrawBar(canvas, {0, 0, width, bar.Height()}, SharedPng(kBarFill));
}

// Tag small stars, right-aligned: the k-th from the right end, over the full height.
void TfrmXOBRate::img8AfterDrawPaint(TLumImage& caption, Canvas& canvas) {
  const PngImage& star = SharedPng(kSmallStar);
  if (star.empty()) return;
  for (int k = 1; k <= std::clamp(caption.Tag, 0, 5); ++k) {
    canvas.StretchDrawPng({caption.Width() - k * star.width(), 0,
                           caption.Width() - (k - 1) * star.width(), caption.Height()},
                          star);
  }
}

// While the pointer is over it, stars up to the pointer; otherwise the chosen Score.
void TfrmXOBRate::img13AfterDrawPaint(Canvas& canvas) {
  const int lit = star_pointer_ ? std::clamp(*star_pointer_ / kStarPitch + 1, 1, 5) : Score;
  for (int k = 0; k < 5; ++k) {
    canvas.DrawPng(kStarPitch * k, 0, SharedPng(k < lit ? kStarFull : kStarEmpty));
  }
}

void TfrmXOBRate::img13MouseMove(int x) {
  star_pointer_ = std::max(x, 0);
  img13->Invalidate();
}

void TfrmXOBRate::img13MouseLeave() {
  star_pointer_.reset();
  img13->Invalidate();
}

void TfrmXOBRate::img13click() {
  if (!star_pointer_) return;
  Score = std::clamp(*star_pointer_ / kStarPitch + 1, 1, 5);
  img13->Invalidate();
}

}  // namespace orvo
