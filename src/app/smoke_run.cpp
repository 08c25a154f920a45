// The smoke run's ticking: act, wait for the step to come true, publish, wait for the
// acknowledgement, next step.
#include "app/smoke_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/window_system.h"
#include "ui/application.h"

namespace orvo {
namespace {

constexpr int kTickMs = 100;
constexpr int kStepTimeoutMs = 10000;
constexpr int kAckTimeoutMs = 20000;

os::InputInjector* Input() {
  os::WindowSystem* system = os::CurrentWindowSystem();
  return system ? &system->Injector() : nullptr;
}

}  // namespace

TSmokeRun::TSmokeRun(std::string program, std::string dir, std::vector<SmokeStep> steps)
    : program_(std::move(program)), dir_(std::move(dir)), steps_(std::move(steps)) {
  timer_.OnTimer = [this](TTimer&) { Tick(); };
}

void TSmokeRun::Start() {
  step_ = 0;
  waited_ms_ = 0;
  timer_.SetInterval(kTickMs);
  timer_.SetEnabled(true);
}

void TSmokeRun::Click(Point p) {
  if (os::InputInjector* input = Input()) {
    input->MoveMouse(p.x, p.y);
    input->PressMouse(os::MouseButton::kLeft);
    input->ReleaseMouse(os::MouseButton::kLeft);
  }
}

void TSmokeRun::MoveMouse(Point p) {
  if (os::InputInjector* input = Input()) input->MoveMouse(p.x, p.y);
}

void TSmokeRun::PressKey(uint16_t key) {
  if (os::InputInjector* input = Input()) input->PressKey(key);
}

void TSmokeRun::Tick() {
  if (!waiting_for_ack_.empty()) {
    waited_ms_ += kTickMs;
    if (Acknowledged(waiting_for_ack_) || waited_ms_ >= kAckTimeoutMs) {
      waiting_for_ack_.clear();
      waited_ms_ = 0;
      ++step_;
      acting_ = false;
    }
    return;
  }
  if (step_ >= static_cast<int>(steps_.size())) {
    Finish(0, "");
    return;
  }
  if (!acting_) {
    acting_ = true;
    waited_ms_ = 0;
    Act(step_);  // may run a modal loop in which later ticks arrive: the flag keeps them out
    return;
  }
  if (Done(step_)) {
    const SmokeStep& step = steps_[static_cast<size_t>(step_)];
    if (step.publish && !dir_.empty()) {
      Publish(step.publish);
      waiting_for_ack_ = step.publish;
      waited_ms_ = 0;
      return;
    }
    ++step_;
    acting_ = false;
    return;
  }
  waited_ms_ += kTickMs;
  if (waited_ms_ >= kStepTimeoutMs) Finish(1, steps_[static_cast<size_t>(step_)].name);
}

void TSmokeRun::Publish(const std::string& state) {
  const std::filesystem::path dir(dir_);
  const std::filesystem::path temp = dir / "state.part";
  {
    std::ofstream out(temp, std::ios::trunc);
    out << state << "\n";
  }
  std::error_code error;
  std::filesystem::rename(temp, dir / "state", error);
}

bool TSmokeRun::Acknowledged(const std::string& state) const {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(dir_) / ("ack-" + state), error);
}

void TSmokeRun::Finish(int code, const std::string& why) {
  timer_.SetEnabled(false);
  exit_code_ = code;
  failure_ = why;
  if (!dir_.empty()) Publish(code == 0 ? "done" : "failed " + why);
  if (code != 0)
    std::fprintf(stderr, "%s: smoke run failed at: %s\n", program_.c_str(), why.c_str());
  Application().Terminate();
}

}  // namespace orvo
