// The paint pipeline of the skinned control bases.
#include "ui/lum_paint_core.h"

#include <algorithm>

#include "graphics/transfer.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

void Placeholder(TControl& control, Canvas& canvas) {
  canvas.brush.style = BrushStyle::kSolid;
  canvas.brush.color = clWhite;
  canvas.pen.color = clGray;
  canvas.Rectangle(control.ClientRect());
  canvas.font = control.font;
  Rect r = control.ClientRect();
  canvas.DrawText(control.Name, r, kDtCenter | kDtVCenter | kDtSingleLine | kDtNoPrefix);
}

}  // namespace

TLumUIPaintCore::TLumUIPaintCore() {
  bitmap.set_draw_mode(DrawMode::kBlend);
  bitmap.set_combine_mode(CombineMode::kMerge);
}

bool TLumUIPaintCore::StoreAlpha(int value) {
  value = std::clamp(value, 0, 255);
  if (value == alpha) return false;
  alpha = value;
  return true;
}

bool TLumUIPaintCore::StoreTransparent(bool value) {
  if (value == transparent) return false;
  transparent = value;
  return true;
}

bool TLumUIPaintCore::StoreStyle(const TControl& control, TLumStyle* value) {
  if (value == style) return false;
  style = value;
  return !(control.ComponentState & (csLoading | csDesigning));
}

bool TLumUIPaintCore::PointerEntered() {
  mouse_over = true;
  return track_hover;
}

bool TLumUIPaintCore::PointerLeft() {
  mouse_over = false;
  return track_hover;
}

void TLumUIPaintCore::ButtonChanged(TMouseButton button, bool down) {
  if (button == mbLeft) mouse_down = down;
}

bool TLumUIPaintCore::Quiet(const TControl& control) {
  return (control.ComponentState & (csLoading | csReading | csDesigning)) != 0;
}

void TLumUIPaintCore::Paint(TControl& control, Canvas& canvas, const DrawFn& draw_control) {
  if (control.ComponentState & csDesigning) {
    Placeholder(control, canvas);
    return;
  }
  if (control.Width() <= 0 || control.Height() <= 0) return;
  // Only the part the canvas lets through is ever seen: a partial repaint, or a child
  // copying this control as its background, pays for that part alone.
  const Rect visible = Intersect(canvas.ClipRect(), control.ClientRect());
  if (visible.empty()) return;
  if (!bitmap.SetSize(control.Width(), control.Height()) || bitmap.empty()) return;
  Canvas& own = bitmap.canvas();
  own.ResetState();
  own.IntersectClip(visible);
  if (alpha == 255 && !transparent) {
    own.brush.color = control.Color;
    own.brush.style = BrushStyle::kSolid;
    own.FillRect(visible);
  } else {
    for (int y = visible.top; y < visible.bottom; ++y) {
      std::fill_n(bitmap.Row(y) + visible.left, visible.width(), Argb{0});
    }
    CopyParentBackground(control, own);
    if (alpha < 255) FadeRectAlpha(bitmap, visible, alpha);
  }
  if (draw_control) draw_control(bitmap);
  own.ResetState();
  canvas.Draw(0, 0, bitmap.view(), DrawMode::kOpaque);
  if (control.OnPaint) control.OnPaint(control, canvas);
}

void TLumUIPaintCore::CaptureBackground(const TControl& control, const Bitmap32& parent_bitmap) {
  if (!snapshot) snapshot = std::make_unique<Bitmap32>();
  if (!snapshot->SetSize(control.Width(), control.Height()) || snapshot->empty()) return;
  snapshot->Clear(0);
  BlockTransfer(*snapshot, 0, 0, snapshot->bounds(), parent_bitmap.view(), control.BoundsRect(),
                DrawMode::kOpaque, CombineMode::kBlend);
}

void TLumUIPaintCore::PaintInto(TControl& control, Bitmap32& parent_bitmap,
                                const DrawFn& draw_control) {
  if (control.Width() <= 0 || control.Height() <= 0) return;
  if (!bitmap.SetSize(control.Width(), control.Height()) || bitmap.empty()) return;
  if (alpha == 255 && !transparent) {
    bitmap.Clear(ColorToArgb(control.Color, 255));
  } else {
    bitmap.Clear(0);
    BlockTransfer(bitmap, 0, 0, bitmap.bounds(), parent_bitmap.view(), control.BoundsRect(),
                  DrawMode::kOpaque, CombineMode::kBlend);
    if (alpha < 255) FadeRectAlpha(bitmap, bitmap.bounds(), alpha);
  }
  if (draw_control) draw_control(bitmap);
  bitmap.ResetAlpha(255);
  BlockTransfer(parent_bitmap, control.Left(), control.Top(), parent_bitmap.bounds(), bitmap.view(),
                bitmap.bounds(), DrawMode::kOpaque, CombineMode::kBlend);
}

}  // namespace orvo
