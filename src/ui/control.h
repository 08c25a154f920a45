#pragma once
// The root of every toolkit control: a rectangle in its parent's client coordinates with
// visibility, enabling, colour, font and hint, virtual handlers for pointer, keyboard and
// focus input, and a paint handler. Only top-level forms are operating-system windows;
// every control, "windowed" or not, is a lightweight child that its form (TForm) routes
// input to and paints.
//
// Ownership: a parent lists its children (non-owning, in z-order from the bottom) and
// whoever created a control owns it; TWinControl::Make creates a child the parent owns.
// A destroyed control leaves its parent's list and its form forgets it.
#include <functional>
#include <string>

#include "graphics/canvas.h"
#include "graphics/font.h"
#include "ui/events.h"

namespace orvo {

class TWinControl;
class TForm;

class TControl {
 public:
  TControl();
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  std::string Name;  // the component name; some painting rules depend on it being set
  int Tag = 0;
  std::string Hint;
  bool ShowHint = false;
  TCursor Cursor = crDefault;
  uint32_t ComponentState = 0;
  uint32_t ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;

  // --- tree ---
  TWinControl* Parent() const { return parent_; }
  // Moves the control to the top of the new parent's z-order (or out of any tree).
  void SetParent(TWinControl* parent);
  // The form at the root of the tree, or null.
  TForm* Form() const;
  // True for `ancestor` itself and for every control below it.
  bool IsWithin(const TControl& ancestor) const;
  virtual bool IsWindowed() const { return false; }

  // --- geometry (parent client coordinates) ---
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rect BoundsRect() const { return RectOfSize(left_, top_, width_, height_); }
  Rect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  // The client origin in form coordinates.
  Point FormOrigin() const;
  // The part of the control its ancestors let show, in form coordinates.
  Rect VisibleFormRect() const;
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  TAnchors Anchors = akLeft | akTop;

  // --- state ---
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible with every ancestor visible.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Enabled with every ancestor enabled: only such controls take input.
  bool EffectivelyEnabled() const;
  TColor Color = clBtnFace;
  Font font;

  // --- painting ---
  // Asks the form to paint the control's area again at its next update.
  void Invalidate();
  void Repaint();  // invalidate and update at once
  // The paint handler: draws the control onto `canvas`, whose origin is the control's
  // top-left corner and whose clip is the control's visible part. Windowless controls
  // draw onto their parent's surface this way; the form calls it for every control.
  virtual void Paint(Canvas& canvas);
  // Erasing the background before a paint; the default fills Color.
  virtual void EraseBackground(Canvas& canvas);

  // --- input (called by the form; the defaults fire the events) ---
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // True when handled; unhandled wheel moves go to the parent.
  virtual bool MouseWheel(int delta, TShiftState shift, int x, int y);
  virtual void Click();
  virtual void DblClick();
  virtual void EnabledChanged() {}
  virtual void VisibleChanged() {}
  virtual void Resize();
  // After SetBounds changed the position or the size (Resize has run for a new size).
  virtual void BoundsChanged() {}

  std::function<void(TControl&)> OnClick, OnDblClick, OnMouseEnter, OnMouseLeave, OnResize;
  std::function<void(TControl&, TMouseButton, TShiftState, int, int)> OnMouseDown, OnMouseUp;
  std::function<void(TControl&, TShiftState, int, int)> OnMouseMove;
  std::function<bool(TControl&, int, TShiftState, int, int)> OnMouseWheel;
  std::function<void(TControl&, Canvas&)> OnPaint;

 private:
  friend class TWinControl;
  friend class TForm;

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
};

}  // namespace orvo
