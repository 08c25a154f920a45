// Children, layout and focus of windowed controls.
#include "ui/win_control.h"

#include <algorithm>

#include "ui/form.h"

namespace orvo {

TWinControl::TWinControl() { ControlStyle |= csAcceptsControls; }

TWinControl::~TWinControl() {
  // Owned children go first (newest first); the rest are only let go.
  while (!owned_.empty()) {
    std::unique_ptr<TControl> child = std::move(owned_.back());
    owned_.pop_back();
    child.reset();
  }
  while (!children_.empty()) children_.back()->SetParent(nullptr);
}

void TWinControl::Release(TControl* child) {
  const auto found = std::find_if(owned_.begin(), owned_.end(),
                                  [child](const auto& owned) { return owned.get() == child; });
  if (found == owned_.end()) return;
  std::unique_ptr<TControl> doomed = std::move(*found);
  owned_.erase(found);
}

void TWinControl::InsertChild(TControl& child) { children_.push_back(&child); }

void TWinControl::RemoveChild(TControl& child) {
  children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
}

void TWinControl::BringToFront(TControl& child) {
  RemoveChild(child);
  children_.push_back(&child);
  child.Invalidate();
}

void TWinControl::SendToBack(TControl& child) {
  RemoveChild(child);
  children_.insert(children_.begin(), &child);
  child.Invalidate();
}

bool TWinControl::Focused() const {
  const TForm* form = Form();
  return form && form->ActiveControl() == this;
}

bool TWinControl::CanFocus() const { return Form() && Showing() && EffectivelyEnabled(); }

void TWinControl::SetFocus() {
  if (TForm* form = Form()) form->SetActiveControl(this);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(*this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(*this);
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(*this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(*this, key, shift);
}

void TWinControl::KeyPress(char16_t& key) {
  if (OnKeyPress) OnKeyPress(*this, key);
}

void TWinControl::AlignControls(int old_width, int old_height) {
  const int dw = Width() - old_width, dh = Height() - old_height;
  // Anchored children keep their distances to the anchored edges.
  if (dw != 0 || dh != 0) {
    for (TControl* c : children_) {
      if (c->Align() != alNone) continue;
      int left = c->Left(), top = c->Top(), width = c->Width(), height = c->Height();
      const TAnchors a = c->Anchors;
      if ((a & akRight) && (a & akLeft))
        width += dw;
      else if (a & akRight)
        left += dw;
      else if (!(a & akLeft))
        left += dw / 2;
      if ((a & akBottom) && (a & akTop))
        height += dh;
      else if (a & akBottom)
        top += dh;
      else if (!(a & akTop))
        top += dh / 2;
      if (left != c->left_ || top != c->top_ || width != c->width_ || height != c->height_) {
        c->SetBounds(left, top, width, height);
      }
    }
  }
  // Aligned children share the client area in the order top, bottom, left, right, client.
  Rect free{0, 0, Width(), Height()};
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : children_) {
      if (c->Align() != pass || !c->Visible()) continue;
      Rect r;
      switch (pass) {
        case alTop: r = {free.left, free.top, free.right, free.top + c->Height()}; break;
        case alBottom: r = {free.left, free.bottom - c->Height(), free.right, free.bottom}; break;
        case alLeft: r = {free.left, free.top, free.left + c->Width(), free.bottom}; break;
        case alRight: r = {free.right - c->Width(), free.top, free.right, free.bottom}; break;
        default: r = free; break;
      }
      if (pass == alTop) free.top = r.bottom;
      if (pass == alBottom) free.bottom = r.top;
      if (pass == alLeft) free.left = r.right;
      if (pass == alRight) free.right = r.left;
      const TAlign keep = c->align_;
      c->align_ = alNone;  // no re-entry into this layout while the child moves
      c->SetBounds(r.left, r.top, r.width(), r.height());
      c->align_ = keep;
    }
  }
}

}  // namespace orvo
