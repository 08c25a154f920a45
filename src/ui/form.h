#pragma once
// A top-level form: the only kind of control that is an operating-system window. It owns
// the window's picture (`Screen`, a bitmap of the form's size), paints its control tree
// into it where it was invalidated, and routes input to its controls: the pointer to the
// control under it (or the one holding the capture), enter and leave as the pointer moves
// between controls, keys to the focused control, the wheel to the focused control and up
// its parents.
//
// With a window system installed (platform/window_system.h) the form gets its window on
// the first Show: a frameless top-level window that shows Screen() and feeds the input
// methods below; the form's Left and Top are then screen coordinates. Without one the
// form is headless: tests and tools drive it through the input methods and read Screen().
// A layered form does not show Screen(): its owner hands whole pictures to UpdateLayered.
#include <memory>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "platform/window_system.h"
#include "ui/win_control.h"

namespace orvo {

// Window messages a control may want to see before the form handles them (the skinned
// form does: system commands, activation, moves). Hooks run newest first.
class TFormWindowHook {
 public:
  virtual ~TFormWindowHook() = default;
  // True when handled: the form's and the system's own handling is skipped.
  virtual bool SysCommand(os::SysCommand command) {
    (void)command;
    return false;
  }
  virtual void Activated(bool active) { (void)active; }
  // The form painted a part of its picture: controls with a window of the system's own
  // inside the form bring its place and visibility up to date.
  virtual void Painted() {}
};

class TForm : public TWinControl {
 public:
  TForm();
  ~TForm() override;

  // --- the window (see window_form.cpp) ---
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // Settings taken when the window is created.
  bool Layered = false;          // shown through UpdateLayered only
  bool ToolWindow = false;       // no taskbar button
  bool ActivateOnClick = true;   // false: clicks leave activation where it was
  TForm* PopupParent = nullptr;  // the owner window: kept above it
  bool TopMost() const { return top_most_; }
  void SetTopMost(bool top_most);

  // Creates the window when a window system is installed; null otherwise.
  os::Window* HandleNeeded();
  os::Window* Handle() const { return window_.get(); }
  bool HandleAllocated() const { return window_ != nullptr; }
  // Shown on the screen (a minimised form counts as shown).
  bool Shown() const { return shown_; }
  void Show();
  void ShowNoActivate();
  void Hide();
  void Minimize();
  void Restore();
  bool Minimized() const;
  // Runs a modal loop until ModalResult is set or the form is closed; the program's other
  // forms are disabled meanwhile. Returns ModalResult (mrCancel when closed without one).
  TModalResult ShowModal();
  bool Modal() const { return modal_; }
  TModalResult ModalResult = mrNone;
  // OnCloseQuery may refuse; OnClose picks the action (hide by default). Closing the main
  // form ends the application; closing a modal form ends its loop.
  void Close();
  bool Active() const { return active_form_; }
  void BringToFront();
  // Layered forms: the whole picture becomes the window, blended by its alpha and opacity.
  void UpdateLayered(const Bitmap32& picture, uint8_t opacity);
  // A layered form whose picture is its own painted tree (Screen(), with its alpha): every
  // invalidation paints the tree again and hands it over, once the current message is done.
  bool LayeredFromTree = false;
  uint8_t LayeredOpacity = 255;
  // Paints the tree and hands it over now.
  void RepaintLayered();
  void SetRegion(const os::WindowRegion& region);
  // The system drags the window with the pointer until the left button is released.
  void BeginSystemMove();
  Point ClientToScreen(Point p) const { return {p.x + Left(), p.y + Top()}; }
  Point ScreenToClient(Point p) const { return {p.x - Left(), p.y - Top()}; }
  void AddWindowHook(TFormWindowHook* hook);
  void RemoveWindowHook(TFormWindowHook* hook);

  std::function<void(TForm&)> OnShow, OnHide, OnActivate, OnDeactivate;
  std::function<void(TForm&, bool& can_close)> OnCloseQuery;
  std::function<void(TForm&, TCloseAction&)> OnClose;

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
  // The window captures the pointer while a control does.
  void SetCaptureControl(TControl* control) {
    capture_ = control;
    SyncWindowCapture();
  }
  TControl* CaptureControl() const { return capture_; }
  void ReleaseCapture() {
    capture_ = nullptr;
    SyncWindowCapture();
  }
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
  void BoundsChanged() override;

 private:
  class Bridge;
  friend class Bridge;
  // Paints the invalid part into Screen() and returns it.
  Rect PaintInvalid();
  void PresentPart(const Rect& part);
  void SyncWindowCapture();
  void SyncCursor();
  void WindowMoved(const Rect& bounds);
  void WindowActivated(bool active);
  bool WindowSysCommand(os::SysCommand command);
  void EndModalState();

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

  std::string caption_;
  bool top_most_ = false;
  bool shown_ = false;
  bool modal_ = false;
  bool active_form_ = false;
  bool syncing_bounds_ = false;
  bool layered_repaint_due_ = false;
  os::CursorShape cursor_shape_ = os::CursorShape::kArrow;
  std::vector<TFormWindowHook*> hooks_;
  // False once the form is destroyed: handlers that may free it look here afterwards.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::unique_ptr<Bridge> bridge_;
  std::unique_ptr<os::Window> window_;  // last member: destroyed first
};

}  // namespace orvo
