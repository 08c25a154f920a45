// Painting the control tree into the form's picture and routing input to controls.
#include "ui/form.h"

#include <algorithm>

#include "platform/ui_dispatcher.h"
#include "ui/application.h"

namespace orvo {

void TForm::Resize() {
  if (!screen_.SetSize(Width(), Height())) screen_.SetSize(0, 0);
  InvalidateRect(ClientRect());
  TWinControl::Resize();
}

void TForm::Paint(Canvas& canvas) {
  EraseBackground(canvas);
  TControl::Paint(canvas);
}

void TForm::InvalidateRect(const Rect& r) {
  const Rect part = Intersect(r, ClientRect());
  if (part.empty()) return;
  invalid_ = Union(invalid_, part);
  if (window_ && shown_ && !Layered) {
    window_->Invalidate(part);
  }
  if (Layered && LayeredFromTree && shown_ && !layered_repaint_due_) {
    if (auto dispatcher = os::CurrentUiDispatcher()) {
      layered_repaint_due_ = true;
      std::weak_ptr<bool> alive = alive_;
      dispatcher->Post([this, alive] {
        if (auto a = alive.lock(); !a || !*a) return;
        layered_repaint_due_ = false;
        if (shown_) RepaintLayered();
      });
    }
  }
}

void TForm::RepaintLayered() {
  if (screen_.empty()) return;
  PaintInvalid();
  UpdateLayered(screen_, LayeredOpacity);
}

Rect TForm::PaintInvalid() {
  if (invalid_.empty() || screen_.empty()) return {};
  const Rect dirty = invalid_;
  invalid_ = {};
  Canvas& canvas = screen_.canvas();
  canvas.ResetState();
  PaintTree(*this, canvas, {0, 0}, dirty);
  canvas.ResetState();
  if (!hooks_.empty()) {
    const std::vector<TFormWindowHook*> hooks = hooks_;
    for (TFormWindowHook* hook : hooks) {
      if (std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end()) hook->Painted();
    }
  }
  return dirty;
}

void TForm::Update() { PresentPart(PaintInvalid()); }

void TForm::PaintAll() {
  InvalidateRect(ClientRect());
  Update();
}

void TForm::PaintTree(TControl& control, Canvas& canvas, Point origin, const Rect& clip) {
  const Rect area =
      Intersect(clip, RectOfSize(origin.x, origin.y, control.Width(), control.Height()));
  if (area.empty() || !control.Visible()) return;
  canvas.Save();
  canvas.SetOrigin(origin);
  canvas.SetDeviceClip(area);
  control.Paint(canvas);
  canvas.Restore();
  auto* parent = dynamic_cast<TWinControl*>(&control);
  if (!parent) return;
  // A copy: painting may not change the tree, but a paint handler that does must not
  // invalidate this loop.
  const std::vector<TControl*> children = parent->Controls();
  for (bool windowed : {false, true}) {
    for (TControl* child : children) {
      if (child->IsWindowed() != windowed || !child->Visible()) continue;
      PaintTree(*child, canvas, {origin.x + child->Left(), origin.y + child->Top()}, area);
    }
  }
}

TControl* TForm::ControlAt(Point p, bool allow_disabled) {
  TControl* found = this;
  Point origin{0, 0};
  for (;;) {
    auto* parent = dynamic_cast<TWinControl*>(found);
    if (!parent) return found;
    TControl* next = nullptr;
    const auto& kids = parent->Controls();
    for (bool windowed : {true, false}) {
      for (auto it = kids.rbegin(); it != kids.rend() && !next; ++it) {
        TControl* c = *it;
        if (c->IsWindowed() != windowed || !c->Visible()) continue;
        if (!RectOfSize(origin.x + c->Left(), origin.y + c->Top(), c->Width(), c->Height())
                 .Contains(p)) {
          continue;
        }
        if (!allow_disabled && !c->Enabled()) return found;
        next = c;
      }
      if (next) break;
    }
    if (!next) return found;
    origin = {origin.x + next->Left(), origin.y + next->Top()};
    found = next;
  }
}

Point TForm::ToLocal(const TControl& control, Point p) {
  const Point o = control.FormOrigin();
  return {p.x - o.x, p.y - o.y};
}

void TForm::UpdateHover(Point p) {
  TControl* now = ClientRect().Contains(p) ? ControlAt(p, true) : nullptr;
  if (now == hover_) return;
  TControl* old = hover_;
  hover_ = now;
  if (old) old->MouseLeave();
  if (now && hover_ == now) now->MouseEnter();
}

void TForm::MouseMoveAt(int x, int y, TShiftState shift) {
  UpdateHover({x, y});
  TControl* target = capture_ ? capture_ : ControlAt({x, y}, false);
  if (target && target->EffectivelyEnabled()) {
    const Point local = ToLocal(*target, {x, y});
    target->MouseMove(shift, local.x, local.y);
  }
  SyncCursor();
}

void TForm::MouseDownAt(TMouseButton button, int x, int y, TShiftState shift) {
  UpdateHover({x, y});
  TControl* target = capture_ ? capture_ : ControlAt({x, y}, false);
  if (!target || !target->EffectivelyEnabled()) return;
  if (button == mbLeft) {
    if (target->ControlStyle & csCaptureMouse) capture_ = target;
    pressed_ = (target->ControlStyle & csClickEvents) ? target : nullptr;
  }
  const Point local = ToLocal(*target, {x, y});
  watch_ = target;
  target->MouseDown(button, shift, local.x, local.y);
  // The handler may have taken the control out of this form, which clears watch_.
  if (button == mbLeft && (shift & ssDouble) && watch_ == target &&
      (target->ControlStyle & csDoubleClicks)) {
    target->DblClick();
  }
  watch_ = nullptr;
  SyncWindowCapture();
}

void TForm::MouseUpAt(TMouseButton button, int x, int y, TShiftState shift) {
  TControl* target = capture_ ? capture_ : ControlAt({x, y}, false);
  if (button == mbLeft) capture_ = nullptr;
  if (target && target->EffectivelyEnabled()) {
    const Point local = ToLocal(*target, {x, y});
    target->MouseUp(button, shift, local.x, local.y);
    // A click is a press and a release on the same control, inside it. The handler above
    // may have taken the control out of this form, which clears pressed_ and cancels it.
    if (button == mbLeft && pressed_ == target && target->ClientRect().Contains(local)) {
      pressed_ = nullptr;
      target->Click();
    }
  }
  if (button == mbLeft) pressed_ = nullptr;
  UpdateHover({x, y});
  SyncWindowCapture();
  SyncCursor();
}

void TForm::MouseWheelAt(int delta, int x, int y, TShiftState shift) {
  TControl* target = active_ ? static_cast<TControl*>(active_) : ControlAt({x, y}, false);
  for (TControl* c = target; c; c = c->Parent()) {
    if (!c->EffectivelyEnabled()) continue;
    const Point local = ToLocal(*c, {x, y});
    if (c->MouseWheel(delta, shift, local.x, local.y)) return;
  }
}

void TForm::MouseExit() {
  TControl* old = hover_;
  hover_ = nullptr;
  if (old) old->MouseLeave();
}

void TForm::KeyDownIn(uint16_t key, TShiftState shift) {
  if (KeyPreview) KeyDown(key, shift);
  if (key == 0) return;
  if (active_ && active_ != this)
    active_->KeyDown(key, shift);
  else if (!KeyPreview)
    KeyDown(key, shift);
}

void TForm::KeyUpIn(uint16_t key, TShiftState shift) {
  if (KeyPreview) KeyUp(key, shift);
  if (key == 0) return;
  if (active_ && active_ != this)
    active_->KeyUp(key, shift);
  else if (!KeyPreview)
    KeyUp(key, shift);
}

void TForm::KeyPressIn(char16_t key) {
  if (KeyPreview) KeyPress(key);
  if (key == 0) return;
  if (active_ && active_ != this)
    active_->KeyPress(key);
  else if (!KeyPreview)
    KeyPress(key);
}

bool TForm::SetActiveControl(TWinControl* control) {
  if (control == active_) return true;
  if (control &&
      (!control->IsWithin(*this) || !control->Showing() || !control->EffectivelyEnabled())) {
    return false;
  }
  TWinControl* old = active_;
  active_ = control;
  if (old) old->DoExit();
  if (control && active_ == control) control->DoEnter();
  return true;
}

void TForm::ForgetIfWithin(TControl& gone) {
  if (capture_ && capture_->IsWithin(gone)) capture_ = nullptr;
  if (pressed_ && pressed_->IsWithin(gone)) pressed_ = nullptr;
  if (watch_ && watch_->IsWithin(gone)) watch_ = nullptr;
  if (hover_ && hover_->IsWithin(gone)) hover_ = nullptr;
  if (active_ && active_->IsWithin(gone)) active_ = nullptr;
}

void TForm::ControlRemoved(TControl& control) {
  ForgetIfWithin(control);
  Application().ForgetControl(control);
}

void TForm::ControlHidden(TControl& control) {
  // A hidden form keeps its focused control for the next time it shows.
  if (&control != this && active_ && active_->IsWithin(control)) SetActiveControl(nullptr);
  if (capture_ && capture_->IsWithin(control)) capture_ = nullptr;
  if (pressed_ && pressed_->IsWithin(control)) pressed_ = nullptr;
}

void TForm::ControlDisabled(TControl& control) { ControlHidden(control); }

}  // namespace orvo
