// Injected input on the headless screen: routing the pointer to the capture window or the
// window under it, enter and leave, activation by clicks, double clicks, the system move,
// keys to the active window, and the user's actions outside the program's windows
// (another program activated, the taskbar). Every call ends with the work it caused.
#include <cstdlib>

#include "platform/headless/headless_window.h"
#include "platform/text.h"

namespace orvo::os::headless {
namespace {

InputFlags ButtonFlag(MouseButton button) {
  switch (button) {
    case MouseButton::kLeft: return kInLeft;
    case MouseButton::kRight: return kInRight;
    case MouseButton::kMiddle: return kInMiddle;
  }
  return 0;
}

constexpr uint16_t kVkShift = 0x10;
constexpr uint16_t kVkControl = 0x11;
constexpr uint16_t kVkMenu = 0x12;

InputFlags ModifierOf(uint16_t key) {
  switch (key) {
    case kVkShift: return kInShift;
    case kVkControl: return kInCtrl;
    case kVkMenu: return kInAlt;
    default: return 0;
  }
}

}  // namespace

InputInjector& HeadlessWindowSystem::Injector() {
  if (!injection_) injection_ = std::make_unique<Injection>(*this);
  return *injection_;
}

HeadlessWindow* HeadlessWindowSystem::Target() const {
  if (capture_) return capture_;
  return static_cast<HeadlessWindow*>(WindowAt(cursor_));
}

void HeadlessWindowSystem::DeliverHover() {
  auto* under = static_cast<HeadlessWindow*>(WindowAt(cursor_));
  if (under == hover_) return;
  HeadlessWindow* old = hover_;
  hover_ = under;
  if (old && old->client()) old->client()->OnMouseLeave();
}

void HeadlessWindowSystem::MoveMouse(int x, int y) {
  cursor_ = {x, y};
  if (moving_) {
    moving_->MoveTo(move_origin_.left + x - move_anchor_.x, move_origin_.top + y - move_anchor_.y);
    FirePending();
    return;
  }
  DeliverHover();
  HeadlessWindow* target = Target();
  if (target && target->IsEnabled() && target->client()) {
    const Rect b = target->Bounds();
    target->client()->OnMouseMove(x - b.left, y - b.top, Flags());
  }
  FirePending();
}

void HeadlessWindowSystem::PressMouse(MouseButton button) {
  buttons_ |= ButtonFlag(button);
  if (moving_) return;
  HeadlessWindow* target = Target();
  if (!target) {
    // The desktop takes the activation from the program.
    if (active_) SetActive(nullptr);
    last_press_window_ = nullptr;
    FirePending();
    return;
  }
  if (!target->IsEnabled()) {
    FirePending();
    return;
  }
  if (target != capture_ && target->activate_on_click() && !target->IsActive()) {
    target->Activate();
    if (!Find(target)) {  // an activation handler destroyed it
      FirePending();
      return;
    }
  }
  const uint64_t now = TickCount();
  const bool is_double =
      !last_press_was_double_ && last_press_window_ == target && last_press_button_ == button &&
      now - last_press_time_ <= static_cast<uint64_t>(options_.double_click_ms) &&
      std::abs(cursor_.x - last_press_point_.x) <= 2 &&
      std::abs(cursor_.y - last_press_point_.y) <= 2;
  last_press_window_ = target;
  last_press_button_ = button;
  last_press_point_ = cursor_;
  last_press_time_ = now;
  last_press_was_double_ = is_double;
  if (target->client()) {
    const Rect b = target->Bounds();
    target->client()->OnMouseDown(button, cursor_.x - b.left, cursor_.y - b.top,
                                  Flags() | (is_double ? kInDouble : 0));
  }
  FirePending();
}

void HeadlessWindowSystem::ReleaseMouse(MouseButton button) {
  buttons_ &= ~ButtonFlag(button);
  if (moving_ && button == MouseButton::kLeft) {
    moving_ = nullptr;  // the system's move loop swallows the release
    DeliverHover();
    FirePending();
    return;
  }
  HeadlessWindow* target = Target();
  if (target && target->IsEnabled() && target->client()) {
    const Rect b = target->Bounds();
    target->client()->OnMouseUp(button, cursor_.x - b.left, cursor_.y - b.top, Flags());
  }
  FirePending();
}

void HeadlessWindowSystem::Click(int x, int y, MouseButton button) {
  MoveMouse(x, y);
  PressMouse(button);
  ReleaseMouse(button);
}

void HeadlessWindowSystem::DoubleClick(int x, int y) {
  Click(x, y);
  Click(x, y);
}

void HeadlessWindowSystem::Wheel(int delta) {
  HeadlessWindow* target = Target();
  if (!target) target = active_;
  if (target && target->IsEnabled() && target->client()) {
    const Rect b = target->Bounds();
    target->client()->OnMouseWheel(delta, cursor_.x - b.left, cursor_.y - b.top, Flags());
  }
  FirePending();
}

void HeadlessWindowSystem::SetModifiers(InputFlags modifiers) {
  modifiers_ = modifiers & (kInShift | kInCtrl | kInAlt);
}

void HeadlessWindowSystem::KeyDown(uint16_t key) {
  modifiers_ |= ModifierOf(key);
  if (active_ && active_->IsEnabled() && active_->client()) {
    active_->client()->OnKeyDown(key, Flags());
  }
  FirePending();
}

void HeadlessWindowSystem::KeyUp(uint16_t key) {
  modifiers_ &= ~ModifierOf(key);
  if (active_ && active_->IsEnabled() && active_->client())
    active_->client()->OnKeyUp(key, Flags());
  FirePending();
}

void HeadlessWindowSystem::PressKey(uint16_t key) {
  KeyDown(key);
  // The character TranslateMessage makes of the key on a US layout: letters (upper case
  // with Shift, control characters with Ctrl), digits, the space bar, Esc, Enter, Tab and
  // Backspace.
  char16_t ch = 0;
  const bool ctrl = (modifiers_ & kInCtrl) != 0;
  const bool control_key = key == 0x1B || key == 0x0D || key == 0x09 || key == 0x08;
  if (key >= 'A' && key <= 'Z') {
    ch = static_cast<char16_t>(ctrl ? key - 'A' + 1 : (modifiers_ & kInShift) ? key : key + 32);
  } else if (control_key || (!ctrl && ((key >= '0' && key <= '9') || key == ' '))) {
    ch = static_cast<char16_t>(key);
  }
  if (ch != 0) {
    if (active_ && active_->IsEnabled() && active_->client()) active_->client()->OnChar(ch);
    FirePending();
  }
  KeyUp(key);
}

void HeadlessWindowSystem::Type(std::string_view text) {
  for (char16_t unit : Utf8ToUtf16(text)) {
    if (active_ && active_->IsEnabled() && active_->client()) active_->client()->OnChar(unit);
    FirePending();
  }
}

void HeadlessWindowSystem::ActivateOtherApplication() {
  if (capture_) {
    HeadlessWindow* old = capture_;
    capture_ = nullptr;
    if (old->client()) old->client()->OnCaptureLost();
  }
  SetActive(nullptr);
  FirePending();
}

void HeadlessWindowSystem::PickFromTaskbar(Window& window) {
  HeadlessWindow* w = Find(&window);
  if (!w) return;
  const bool handled =
      w->Minimized() && w->client() && w->client()->OnSysCommand(SysCommand::kRestore);
  if (!handled) w->Show(w->Minimized() ? ShowMode::kRestore : ShowMode::kShow);
  FirePending();
}

void HeadlessWindowSystem::SendSysCommand(Window& window, SysCommand command) {
  HeadlessWindow* w = Find(&window);
  if (!w) return;
  if (!(w->client() && w->client()->OnSysCommand(command))) {
    // The system's own action; maximising a frameless window is the program's business.
    if (command == SysCommand::kMinimize) w->Show(ShowMode::kMinimize);
    if (command == SysCommand::kRestore) w->Show(ShowMode::kRestore);
  }
  FirePending();
}

void HeadlessWindowSystem::RequestClose(Window& window) {
  HeadlessWindow* w = Find(&window);
  if (w && w->client()) w->client()->OnCloseRequest();
  FirePending();
}

}  // namespace orvo::os::headless
