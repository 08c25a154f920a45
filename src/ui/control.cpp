// Control geometry, state and the default input and paint handlers.
#include "ui/control.h"

#include "ui/form.h"
#include "ui/win_control.h"

namespace orvo {

TControl::TControl() = default;

TControl::~TControl() { SetParent(nullptr); }

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    Invalidate();
    if (TForm* form = Form()) form->ControlRemoved(*this);
    parent_->RemoveChild(*this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->InsertChild(*this);
    Invalidate();
  }
}

bool TControl::IsWithin(const TControl& ancestor) const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (c == &ancestor) return true;
  }
  return false;
}

TForm* TControl::Form() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  const int old_width = width_, old_height = height_;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
  if (resized) {
    if (auto* self = dynamic_cast<TWinControl*>(this)) self->AlignControls(old_width, old_height);
    Resize();
  }
  if (align_ != alNone && parent_) parent_->AlignControls(parent_->Width(), parent_->Height());
  BoundsChanged();
}

Point TControl::FormOrigin() const {
  Point p{left_, top_};
  if (!parent_) return {0, 0};  // the root's client area is the form's coordinate space
  for (const TControl* c = parent_; c->parent_; c = c->parent_) {
    p.x += c->left_;
    p.y += c->top_;
  }
  return p;
}

Rect TControl::VisibleFormRect() const {
  const Point origin = FormOrigin();
  Rect r = RectOfSize(origin.x, origin.y, width_, height_);
  for (const TControl* c = parent_; c; c = c->parent_) {
    const Point o = c->FormOrigin();
    r = Intersect(r, RectOfSize(o.x, o.y, c->width_, c->height_));
  }
  return r;
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->AlignControls(parent_->Width(), parent_->Height());
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) Invalidate();
  visible_ = visible;
  if (visible) Invalidate();
  if (!visible) {
    if (TForm* form = Form()) form->ControlHidden(*this);
  }
  VisibleChanged();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!enabled) {
    if (TForm* form = Form()) form->ControlDisabled(*this);
  }
  EnabledChanged();
}

bool TControl::EffectivelyEnabled() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

void TControl::Invalidate() {
  if (!Showing()) return;
  if (TForm* form = Form()) form->InvalidateRect(VisibleFormRect());
}

void TControl::Repaint() {
  Invalidate();
  if (TForm* form = Form()) form->Update();
}

void TControl::Paint(Canvas& canvas) {
  if (OnPaint) OnPaint(*this, canvas);
}

void TControl::EraseBackground(Canvas& canvas) {
  canvas.brush.color = Color;
  canvas.brush.style = BrushStyle::kSolid;
  canvas.FillRect(ClientRect());
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(*this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(*this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

bool TControl::MouseWheel(int delta, TShiftState shift, int x, int y) {
  return OnMouseWheel && OnMouseWheel(*this, delta, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TControl::Resize() {
  if (OnResize) OnResize(*this);
}

}  // namespace orvo
