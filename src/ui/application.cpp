// The application object: forms, the message loop, activation and hints.
#include "ui/application.h"

#include <algorithm>

#include "platform/window_system.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/hint_window.h"

namespace orvo {
namespace {

// The control whose hint applies: the nearest one, from `control` up, with ShowHint on.
TControl* HintSource(TControl* control) {
  for (TControl* c = control; c; c = c->Parent()) {
    if (c->ShowHint) return c->Hint.empty() ? nullptr : c;
  }
  return nullptr;
}

}  // namespace

TApplication& Application() {
  static TApplication application;
  return application;
}

TApplication::TApplication() {
  hint_pause_.OnTimer = [this](TTimer&) { ShowPendingHint(); };
  hint_hide_.OnTimer = [this](TTimer&) { CancelHint(); };
}

TApplication::~TApplication() { hint_window_.reset(); }

void TApplication::Run() {
  AttachWindowSystem();
  os::WindowSystem* system = os::CurrentWindowSystem();
  if (!system || terminated_) return;
  if (MainForm && !MainForm->Shown()) MainForm->Show();
  system->RunMessageLoop();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (os::WindowSystem* system = os::CurrentWindowSystem()) system->Quit(0);
}

void TApplication::Reset() { terminated_ = false; }

void TApplication::ProcessMessages() {
  if (os::WindowSystem* system = os::CurrentWindowSystem()) system->ProcessMessages();
}

void TApplication::Minimize() {
  if (MainForm) MainForm->Minimize();
}

void TApplication::Restore() {
  if (MainForm) MainForm->Restore();
}

bool TApplication::Active() const {
  os::WindowSystem* system = os::CurrentWindowSystem();
  return system && system->ApplicationActive();
}

void TApplication::AddForm(TForm& form) { forms_.push_back(&form); }

void TApplication::RemoveForm(TForm& form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
  if (MainForm == &form) MainForm = nullptr;
  if (hint_control_ && hint_control_->Form() == &form) CancelHint();
}

void TApplication::AttachWindowSystem() {
  os::WindowSystem* system = os::CurrentWindowSystem();
  if (!system || system->Serial() == attached_serial_) return;
  // A window system of its own for each test, say: the old hint window goes with the old
  // system.
  if (attached_serial_) CancelHint();
  hint_window_.reset();
  attached_serial_ = system->Serial();
  listener_id_ = system->AddActivationListener([this](bool active) { ActivationChanged(active); });
}

void TApplication::ActivationChanged(bool active) {
  if (!active) CancelHint();
  // A copy: the handler may replace itself (popup menus do).
  const std::function<void()> handler = active ? OnActivate : OnDeactivate;
  if (handler) handler();
}

// --- hints ---

bool TApplication::HintShowing() const { return hint_window_ && hint_window_->Shown(); }

void TApplication::HintMouseMove(TControl* control, Point screen) {
  if (!ShowHint) return;
  TControl* source = HintSource(control);
  if (source == hint_control_) return;
  CancelHint();
  hint_control_ = source;
  hint_point_ = screen;
  if (!source) return;
  hint_pause_.SetInterval(HintPause);
  hint_pause_.SetEnabled(true);
}

void TApplication::ShowPendingHint() {
  hint_pause_.SetEnabled(false);
  if (!hint_control_) return;
  const Point at = os::CurrentWindowSystem() ? CursorScreenPos() : hint_point_;
  TControl* source = hint_control_;
  ActivateHint(at, source->Hint);
  hint_control_ = source;
}

void TApplication::ActivateHint(Point screen, const std::string& text) {
  hint_pause_.SetEnabled(false);
  if (text.empty()) {
    CancelHint();
    return;
  }
  if (!hint_window_) hint_window_ = std::make_unique<THintWindow>();
  hint_window_->ActivateHint(screen, text);
  hint_hide_.SetInterval(HintHidePause);
  hint_hide_.Restart();
  hint_hide_.SetEnabled(true);
}

void TApplication::ActivateHintFor(TControl* control, Point screen, const std::string& text) {
  ActivateHint(screen, text);
  if (!text.empty()) hint_control_ = control;
}

void TApplication::CancelHint() {
  hint_pause_.SetEnabled(false);
  hint_hide_.SetEnabled(false);
  hint_control_ = nullptr;
  if (hint_window_) hint_window_->Hide();
}

void TApplication::ForgetControl(TControl& control) {
  if (hint_control_ && hint_control_->IsWithin(control)) CancelHint();
}

}  // namespace orvo
