#pragma once
// A control that holds children, can have the keyboard focus and receives keys. Children
// are kept in z-order from the bottom; windowed children always paint above windowless
// ones (as child windows do). Aligned children are laid out by Align (top, bottom, left,
// right, then client), the others follow their anchors when the control is resized.
#include <memory>
#include <vector>

#include "ui/control.h"

namespace orvo {

class TWinControl : public TControl {
 public:
  TWinControl();
  ~TWinControl() override;
  bool IsWindowed() const override { return true; }

  // A new child owned by this control (freed with it, or by Release).
  template <typename T, typename... Args>
  T* Make(Args&&... args) {
    auto child = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = child.get();
    owned_.push_back(std::move(child));
    raw->SetParent(this);
    return raw;
  }
  // Frees an owned child now.
  void Release(TControl* child);

  const std::vector<TControl*>& Controls() const { return children_; }
  int ControlCount() const { return static_cast<int>(children_.size()); }
  void BringToFront(TControl& child);
  void SendToBack(TControl& child);

  // --- focus and keys ---
  bool TabStop = false;
  bool Focused() const;
  bool CanFocus() const;
  // Gives this control the keyboard focus in its form.
  void SetFocus();
  virtual void DoEnter();  // focus gained
  virtual void DoExit();   // focus lost
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char16_t& key);
  std::function<void(TControl&)> OnEnter, OnExit;
  std::function<void(TControl&, uint16_t&, TShiftState)> OnKeyDown, OnKeyUp;
  std::function<void(TControl&, char16_t&)> OnKeyPress;

  // Set while a child copies this control's surface into its own picture
  // (CopyParentErase), so paint handlers can tell a copy from a real paint.
  bool PaintingCopy() const { return painting_copy_; }
  void SetPaintingCopy(bool on) { painting_copy_ = on; }

  // Lays the children out again after this control changed from the old size.
  void AlignControls(int old_width, int old_height);

 private:
  friend class TControl;
  void InsertChild(TControl& child);
  void RemoveChild(TControl& child);

  std::vector<TControl*> children_;
  bool painting_copy_ = false;
  std::vector<std::unique_ptr<TControl>> owned_;
};

}  // namespace orvo
