// The window's shape: a plain rectangle when maximised, a rounded rectangle, or the black
// pixels of a mask (stretched by nine-slice to the form when it may be resized), one
// rectangle per run of black pixels in each row.
#include "ui/lum_form.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

// More runs than this make a region too costly to build: the window keeps its rectangle.
constexpr size_t kMaxMaskRects = 10000;

os::WindowRegion RectRegion(int w, int h) {
  os::WindowRegion region;
  region.kind = os::WindowRegion::Kind::kRects;
  region.rects.push_back({0, 0, w, h});
  return region;
}

}  // namespace

os::WindowRegion TLumForm::MaskRegion() {
  const int W = Width(), H = Height();
  const Bitmap32* mask = &CutMask;
  if (SupportReSize && (CutMask.width() != W || CutMask.height() != H)) {
    if (stretched_mask_.width() != W || stretched_mask_.height() != H) {
      NineBitmaps pieces;
      if (CutNineBitmap(CutMask, {CutRect.Left, CutRect.Top}, {CutRect.Right, CutRect.Bottom},
                        pieces)) {
        DrawNineStretched(stretched_mask_, W, H, pieces);
      } else {
        stretched_mask_ = Bitmap32();
      }
    }
    if (!stretched_mask_.empty()) mask = &stretched_mask_;
  }
  os::WindowRegion region;
  region.kind = os::WindowRegion::Kind::kRects;
  for (int y = 0; y < mask->height(); ++y) {
    const Argb* row = mask->Row(y);
    int x = 0;
    while (x < mask->width()) {
      if ((row[x] & 0x00FFFFFFu) != 0) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < mask->width() && (row[x] & 0x00FFFFFFu) == 0) ++x;
      if (region.rects.size() == kMaxMaskRects) return RectRegion(W, H);
      region.rects.push_back({start, y, x, y + 1});
    }
  }
  return region;
}

void TLumForm::ApplyShape() {
  const int W = Width(), H = Height();
  if (W <= 0 || H <= 0 || host_->Minimized()) return;
  if (CutMode == CmNone) {
    if (has_region_) {
      region_ = RectRegion(W, H);
      host_->SetRegion(region_);
    }
    return;
  }
  if (form_state_ == WisMax) {
    region_ = RectRegion(W, H);
  } else if (CutMode == CmRound) {
    region_ = {};
    region_.kind = os::WindowRegion::Kind::kRoundRect;
    region_.round = {0, 0, W + 1, H + 1};
    region_.ellipse = CutRound;
  } else {
    if (CutMask.empty()) return;
    region_ = MaskRegion();
  }
  has_region_ = true;
  host_->SetRegion(region_);
}

}  // namespace orvo
