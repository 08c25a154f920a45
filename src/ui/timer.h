#pragma once
// A repeating timer on the window system's timers: OnTimer runs on the UI thread every
// Interval milliseconds while Enabled. Without a window system installed it never fires.
// A tick may disable the timer, change its interval or free it.
#include <functional>

#include "platform/window_system.h"

namespace orvo {

class TTimer {
 public:
  TTimer() = default;
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  int Interval() const { return interval_; }
  // Restarts a running timer with the new interval.
  void SetInterval(int milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Stops and starts again: the next tick comes a whole interval from now.
  void Restart();
  std::function<void(TTimer&)> OnTimer;

 private:
  void Start();
  void Stop();

  int interval_ = 1000;
  bool enabled_ = false;
  os::WindowSystem* system_ = nullptr;
  os::TimerId id_ = 0;
  // Set while a tick runs; the tick's owner may free the timer, which clears it.
  bool* alive_ = nullptr;
};

}  // namespace orvo
