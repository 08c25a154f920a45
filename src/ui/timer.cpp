// Timers on the window system's clock.
#include "ui/timer.h"

#include <algorithm>

namespace orvo {

TTimer::~TTimer() {
  Stop();
  if (alive_) *alive_ = false;
}

void TTimer::SetInterval(int milliseconds) {
  milliseconds = std::max(milliseconds, 1);
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  if (enabled_) Restart();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_)
    Start();
  else
    Stop();
}

void TTimer::Restart() {
  Stop();
  if (enabled_) Start();
}

void TTimer::Start() {
  system_ = os::CurrentWindowSystem();
  if (!system_) return;
  id_ = system_->StartTimer(std::chrono::milliseconds(interval_), [this] {
    if (!OnTimer) return;
    bool alive = true;
    alive_ = &alive;
    OnTimer(*this);
    if (alive) alive_ = nullptr;
  });
}

void TTimer::Stop() {
  // The system the timer was started on may be gone (a test's screen); only the current
  // one is asked.
  if (system_ && id_ && system_ == os::CurrentWindowSystem()) system_->StopTimer(id_);
  system_ = nullptr;
  id_ = 0;
}

}  // namespace orvo
