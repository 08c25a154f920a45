// The scroll bar's value and its input: buttons and page areas that repeat while held, the
// thumb dragged along the track, the wheel and the keys. Every change of the position goes
// through OnScroll first, so the owner can follow (or correct) it.
#include "ui/lum_scroll_bar.h"

#include <algorithm>

#include "platform/window_system.h"
#include "ui/lum_ui_utils.h"

namespace orvo {

TLumScrollBar::TLumScrollBar() {
  SetBounds(0, 0, 15, 200);
  ControlStyle &= ~csAcceptsControls;
  repeat_.OnTimer = [this](TTimer&) { RepeatStep(); };
}

TLumScrollBar::~TLumScrollBar() = default;

// --- value ---

void TLumScrollBar::Normalize() {
  if (max_ < min_) max_ = min_;
  page_ = std::clamp(page_, 0, max_ - min_ + 1);
  position_ = std::clamp(position_, min_, std::max(min_, max_ - page_ + 1));
}

void TLumScrollBar::ValueChanged() {
  Normalize();
  Changed();
}

void TLumScrollBar::SetMin(int value) {
  value = std::min(value, max_);
  if (value == min_) return;
  min_ = value;
  ValueChanged();
}

void TLumScrollBar::SetMax(int value) {
  value = std::max(value, min_);
  if (value == max_) return;
  max_ = value;
  ValueChanged();
}

void TLumScrollBar::SetPageSize(int value) {
  if (value < 0) return;
  value = std::min(value, max_ - min_ + 1);
  if (value == page_) return;
  page_ = value;
  ValueChanged();
}

void TLumScrollBar::SetPosition(int value) {
  value = std::clamp(value, min_, std::max(min_, max_ - page_ + 1));
  if (value == position_) return;
  position_ = value;
  Changed();
}

void TLumScrollBar::SetParams(int min, int max, int page_size) {
  const int old_min = min_, old_max = max_, old_page = page_, old_position = position_;
  min_ = min;
  max_ = std::max(max, min);
  if (page_size >= 0) page_ = page_size;
  Normalize();
  if (min_ != old_min || max_ != old_max || page_ != old_page || position_ != old_position) {
    Changed();
  }
}

void TLumScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  SkinChanged();
  Changed();
}

void TLumScrollBar::Scroll(int new_position) {
  int pos = new_position;
  if (OnScroll) OnScroll(*this, pos);
  SetPosition(pos);
}

// --- pointer ---

void TLumScrollBar::UpdateHover(Point p) {
  const Part now = PartAt(p);
  const bool over = ClientRect().Contains(p);
  if (now == hover_ && over == over_bar_) return;
  hover_ = now;
  over_bar_ = over;
  Changed();
}

void TLumScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  if (CanFocus()) SetFocus();
  last_pointer_ = {x, y};
  UpdateHover({x, y});
  const Part part = PartAt({x, y});
  pressed_ = part;
  if (part == kThumb) {
    drag_offset_ = Along({x, y}) - Measure().thumb_start;
    Changed();
  } else if (part != kNone) {
    Changed();
    StartRepeat(part);
  }
}

void TLumScrollBar::MouseMove(TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseMove(shift, x, y);
  last_pointer_ = {x, y};
  if (Dragging()) {
    const Geometry g = Measure();
    if (g.thumb_length <= 0) return;
    const int start =
        std::clamp(Along({x, y}) - drag_offset_, g.track_start, g.track_end - g.thumb_length);
    Scroll(PositionFromPixel(start));
    return;
  }
  if (!(shift & ssLeft)) UpdateHover({x, y});
}

void TLumScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  const bool was_pressed = pressed_ != kNone;
  pressed_ = kNone;
  repeat_.SetEnabled(false);
  repeat_started_ = false;
  if (was_pressed) Scroll(position_);
  drag_offset_ = -1;
  UpdateHover({x, y});
  Changed();
}

void TLumScrollBar::MouseLeave() {
  TLumUIParentControl::MouseLeave();
  if (Dragging() || pressed_ != kNone) return;
  if (hover_ != kNone || over_bar_) {
    hover_ = kNone;
    over_bar_ = false;
    Changed();
  }
}

// --- auto-repeat ---

void TLumScrollBar::StartRepeat(Part part) {
  pressed_ = part;
  repeat_started_ = false;
  RepeatStep();
  if (pressed_ == kNone) return;
  repeat_.SetInterval(KeyboardRepeatDelay());
  repeat_.Restart();
  repeat_.SetEnabled(true);
}

// A page press is done once the thumb has come to the pointer.
bool TLumScrollBar::PageDone() const {
  if (pressed_ != kPageBefore && pressed_ != kPageAfter) return false;
  return !PartRect(pressed_).Contains(last_pointer_);
}

void TLumScrollBar::RepeatStep() {
  if (repeat_started_) repeat_.SetInterval(KeyboardRepeatInterval());
  repeat_started_ = true;
  const int page = page_ < 1 ? LargeChange : page_;
  switch (pressed_) {
    case kFirstButton: Scroll(position_ - SmallChange); break;
    case kSecondButton: Scroll(position_ + SmallChange); break;
    case kPageBefore:
    case kPageAfter:
      if (PageDone()) {
        repeat_.SetEnabled(false);
        return;
      }
      Scroll(position_ + (pressed_ == kPageBefore ? -page : page));
      break;
    default: repeat_.SetEnabled(false); return;
  }
  if (PageDone()) repeat_.SetEnabled(false);
}

// --- wheel, keys, focus ---

bool TLumScrollBar::MouseWheel(int delta, TShiftState, int, int) {
  if (!Focused() || delta == 0) return false;
  int notches = std::abs(delta) / os::kWheelDelta;
  if (notches == 0) notches = 1;
  int pos = position_;
  for (int i = 0; i < notches; ++i) {
    pos =
        delta < 0 ? std::min(pos + SmallChange, max_ - page_ + 1) : std::max(pos - SmallChange, 0);
  }
  if (pos != position_) {
    SetPosition(pos);
    int scrolled = position_;
    if (OnScroll) OnScroll(*this, scrolled);
    SetPosition(scrolled);
  }
  return true;
}

void TLumScrollBar::KeyDown(uint16_t& key, TShiftState shift) {
  TLumUIParentControl::KeyDown(key, shift);
  const int page = page_ < 1 ? LargeChange : page_;
  switch (key) {
    case kVkPrior: Scroll(position_ - page); break;
    case kVkNext: Scroll(position_ + page); break;
    case kVkEnd: Scroll(max_); break;
    case kVkHome: Scroll(min_); break;
    case kVkRight:
    case kVkDown: Scroll(position_ + SmallChange); break;
    case kVkLeft:
    case kVkUp: Scroll(position_ - SmallChange); break;
    default: return;
  }
}

void TLumScrollBar::DoExit() {
  TLumUIParentControl::DoExit();
  if (OnLostFocus) OnLostFocus(*this);
}

void TLumScrollBar::Resize() {
  TLumUIParentControl::Resize();
  Changed();
}

}  // namespace orvo
