// The two skinned control bases: thin shells over the shared paint core, with the pointer
// flags kept the way the toolkit's controls expect (a press sets "down" but does not
// repaint; entering and leaving repaint only with hover tracking).
#include "ui/lum_ui_core.h"

namespace orvo {

// --- windowed ---

TLumUIParentControl::TLumUIParentControl() = default;

void TLumUIParentControl::SetAlpha(int value) {
  if (core_.StoreAlpha(value)) Changed();
}

void TLumUIParentControl::SetTransparent(bool value) {
  if (core_.StoreTransparent(value)) Changed();
}

void TLumUIParentControl::SetStyle(TLumStyle* style) {
  if (core_.StoreStyle(*this, style)) StyleChanged();
}

void TLumUIParentControl::DrawControl(Bitmap32&) {}

void TLumUIParentControl::CaptureBackground(const Bitmap32& parent_bitmap) {
  core_.CaptureBackground(*this, parent_bitmap);
}

void TLumUIParentControl::Changed() {
  if (!TLumUIPaintCore::Quiet(*this)) Invalidate();
}

void TLumUIParentControl::StyleChanged() {}

void TLumUIParentControl::PaintInto(Bitmap32& parent_bitmap) {
  core_.PaintInto(*this, parent_bitmap, [this](Bitmap32& b) { DrawControl(b); });
}

void TLumUIParentControl::Paint(Canvas& canvas) {
  core_.Paint(*this, canvas, [this](Bitmap32& b) { DrawControl(b); });
}

void TLumUIParentControl::MouseEnter() {
  if (core_.PointerEntered()) Changed();
  TWinControl::MouseEnter();
}

void TLumUIParentControl::MouseLeave() {
  if (core_.PointerLeft()) Changed();
  TWinControl::MouseLeave();
}

void TLumUIParentControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  core_.ButtonChanged(button, true);
  TWinControl::MouseDown(button, shift, x, y);
}

void TLumUIParentControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  core_.ButtonChanged(button, false);
  TWinControl::MouseUp(button, shift, x, y);
}

void TLumUIParentControl::MouseMove(TShiftState shift, int x, int y) {
  if (core_.track_hover) core_.mouse_over = true;
  TWinControl::MouseMove(shift, x, y);
}

// --- windowless ---

TLumUIGraphicControl::TLumUIGraphicControl() = default;

void TLumUIGraphicControl::SetAlpha(int value) {
  if (core_.StoreAlpha(value)) Changed();
}

void TLumUIGraphicControl::SetTransparent(bool value) {
  if (core_.StoreTransparent(value)) Changed();
}

void TLumUIGraphicControl::SetStyle(TLumStyle* style) {
  if (core_.StoreStyle(*this, style)) StyleChanged();
}

void TLumUIGraphicControl::DrawControl(Bitmap32&) {}

void TLumUIGraphicControl::Changed() {
  if (!TLumUIPaintCore::Quiet(*this)) Invalidate();
}

void TLumUIGraphicControl::StyleChanged() {}

void TLumUIGraphicControl::CaptureBackground(const Bitmap32& parent_bitmap) {
  core_.CaptureBackground(*this, parent_bitmap);
}

void TLumUIGraphicControl::PaintInto(Bitmap32& parent_bitmap) {
  core_.PaintInto(*this, parent_bitmap, [this](Bitmap32& b) { DrawControl(b); });
}

void TLumUIGraphicControl::Paint(Canvas& canvas) {
  core_.Paint(*this, canvas, [this](Bitmap32& b) { DrawControl(b); });
}

void TLumUIGraphicControl::MouseEnter() {
  if (core_.PointerEntered()) Changed();
  TControl::MouseEnter();
}

void TLumUIGraphicControl::MouseLeave() {
  if (core_.PointerLeft()) Changed();
  TControl::MouseLeave();
}

void TLumUIGraphicControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  core_.ButtonChanged(button, true);
  TControl::MouseDown(button, shift, x, y);
}

void TLumUIGraphicControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  core_.ButtonChanged(button, false);
  TControl::MouseUp(button, shift, x, y);
}

}  // namespace orvo
