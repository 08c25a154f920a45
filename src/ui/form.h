#pragma once
// A top-level form: the only kind of control that is an operating-system window. It owns
// the window's picture (`Screen`, a bitmap of the form's size), paints its control tree
// into it where it was invalidated, and routes input to its controls: the pointer to the
// control under it (or the one holding the capture), enter and leave as the pointer moves
// between controls, keys to the focused control, the wheel to the focused control and up
// its parents.
//
// Until a window system is attached, the form is headless: tests and tools drive it
// through the input methods below and read Screen().
#include "graphics/bitmap.h"
#include "ui/win_control.h"

namespace orvo {

class TForm : public TWinControl {
 public:
  TForm();
  ~TForm() override;

  // --- painting ---
  // Adds a rectangle (form coordinates) to the part to paint at the next Update.
  void InvalidateRect(const Rect& r);
  const Rect& InvalidRect() const { return invalid_; }
  // Paints the invalid part of the tree into Screen().
  void Update();
  // Paints everything now.
  void PaintAll();
  Bitmap32& Screen() { return screen_; }
  // Paints `control` (and, for a windowed one, its children) into `canvas`, whose origin
  // is the control's top-left corner, limited to `clip` (the canvas's device pixels).
  static void PaintTree(TControl& control, Canvas& canvas, Point origin, const Rect& clip);

  // --- input (form client coordinates) ---
  void MouseMoveAt(int x, int y, TShiftState shift);
  void MouseDownAt(TMouseButton button, int x, int y, TShiftState shift);
  void MouseUpAt(TMouseButton button, int x, int y, TShiftState shift);
  void MouseWheelAt(int delta, int x, int y, TShiftState shift);
  // The pointer left the window.
  void MouseExit();
  void KeyDownIn(uint16_t key, TShiftState shift);
  void KeyUpIn(uint16_t key, TShiftState shift);
  void KeyPressIn(char16_t key);
  // The form's own key handlers see keys before the focused control.
  bool KeyPreview = false;

  // --- capture, focus, hover ---
  void SetCaptureControl(TControl* control) { capture_ = control; }
  TControl* CaptureControl() const { return capture_; }
  void ReleaseCapture() { capture_ = nullptr; }
  TWinControl* ActiveControl() const { return active_; }
  // False when the control cannot take the focus (hidden or disabled).
  bool SetActiveControl(TWinControl* control);
  TControl* HoverControl() const { return hover_; }
  // The deepest showing control at a point (form coordinates): windowed children above
  // windowless ones, later siblings above earlier ones. Disabled controls count only with
  // allow_disabled; else the search stops at their parent.
  TControl* ControlAt(Point p, bool allow_disabled);

  // --- bookkeeping called by controls ---
  void ControlRemoved(TControl& control);
  void ControlHidden(TControl& control);
  void ControlDisabled(TControl& control);

  void Paint(Canvas& canvas) override;
  void Resize() override;

 private:
  void ForgetIfWithin(TControl& gone);
  void UpdateHover(Point p);
  static Point ToLocal(const TControl& control, Point p);

  Bitmap32 screen_;
  Rect invalid_;
  TControl* capture_ = nullptr;
  TControl* pressed_ = nullptr;  // left press seen, click due on release inside it
  TControl* watch_ = nullptr;    // the control a handler is running for, while it lives
  TControl* hover_ = nullptr;
  TWinControl* active_ = nullptr;
};

}  // namespace orvo
