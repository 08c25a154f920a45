#pragma once
// What the two skinned control bases share: the off-screen bitmap, the background
// snapshot, the opacity and transparency settings, the style reference, the pointer flags,
// and the paint pipeline that turns them into one opaque transfer:
//
//   1. designing: a plain placeholder (filled rectangle and the control's name); stop
//   2. an empty control paints nothing
//   3. the off-screen bitmap takes the control's size
//   4. background: Alpha 255 and Transparent: the parent's surface (CopyParentBackground);
//      Alpha 255 and opaque: Color; Alpha below 255: the parent's surface faded towards
//      black by FadeRectAlpha(Alpha)
//   5. the control draws its content into the bitmap (DrawControl)
//   6. the bitmap goes to the canvas at (0, 0) in one opaque block transfer
//   7. the paint event (OnPaint) runs
//
// Steps 3 to 6 work only on the part of the control the canvas's clip lets through (the
// bitmap's canvas is clipped to it while the control draws); the rest of the bitmap is
// not shown by this paint and may be stale.
#include <functional>
#include <memory>

#include "graphics/bitmap.h"
#include "ui/control.h"

namespace orvo {

class TLumStyle;

struct TLumUIPaintCore {
  TLumUIPaintCore();

  Bitmap32 bitmap;                     // draw mode blend, combine mode merge
  std::unique_ptr<Bitmap32> snapshot;  // created by the first CaptureBackground
  int alpha = 255;
  bool transparent = false;
  bool owner_style = false;
  TLumStyle* style = nullptr;  // not owned
  bool mouse_over = false;
  bool mouse_down = false;
  bool track_hover = true;

  using DrawFn = std::function<void(Bitmap32&)>;
  void Paint(TControl& control, Canvas& canvas, const DrawFn& draw_control);
  void CaptureBackground(const TControl& control, const Bitmap32& parent_bitmap);
  // The pipeline with the background copied from the parent's bitmap (the control's
  // rectangle of it) instead of painted live; afterwards every pixel of the off-screen
  // bitmap is opaque, and it is copied into the parent's bitmap at the control's place.
  void PaintInto(TControl& control, Bitmap32& parent_bitmap, const DrawFn& draw_control);

  // The setters' rules: store when different (Alpha clamped to 0..255) and say whether the
  // value changed; the style change is reported unless the control is loading or designed.
  bool StoreAlpha(int value);
  bool StoreTransparent(bool value);
  bool StoreStyle(const TControl& control, TLumStyle* value);
  // Pointer flags; the result says whether the control wants a refresh.
  bool PointerEntered();
  bool PointerLeft();
  void ButtonChanged(TMouseButton button, bool down);

  // Refreshes are skipped while a control is loaded, read or designed.
  static bool Quiet(const TControl& control);
};

}  // namespace orvo
