#pragma once
// A headless screen of its own for one test (1024 x 768, work area above a 40-pixel
// taskbar, virtual clock), installed with its dispatcher for the test's lifetime, and the
// application object reset around it. Forms of the test must go before it does.
#include <memory>

#include "platform/headless/headless_window_system.h"
#include "ui/application.h"

namespace orvo::test {

class HeadlessScreen {
 public:
  explicit HeadlessScreen(os::headless::ScreenOptions options = DefaultOptions())
      : scope_(Make(options)) {
    ResetApplication();
  }
  ~HeadlessScreen() { ResetApplication(); }
  HeadlessScreen(const HeadlessScreen&) = delete;
  HeadlessScreen& operator=(const HeadlessScreen&) = delete;

  os::headless::HeadlessWindowSystem& operator*() { return *screen_; }
  os::headless::HeadlessWindowSystem* operator->() { return screen_; }

  static os::headless::ScreenOptions DefaultOptions() {
    os::headless::ScreenOptions o;
    o.width = 1024;
    o.height = 768;
    o.modal_idle_timeout_ms = 200;
    return o;
  }

 private:
  std::unique_ptr<os::WindowSystem> Make(const os::headless::ScreenOptions& options) {
    auto screen = std::make_unique<os::headless::HeadlessWindowSystem>(options);
    screen_ = screen.get();
    return screen;
  }
  static void ResetApplication() {
    TApplication& app = Application();
    app.Reset();
    app.MainForm = nullptr;
    app.OnActivate = nullptr;
    app.OnDeactivate = nullptr;
    app.CancelHint();
  }

  os::headless::HeadlessWindowSystem* screen_ = nullptr;
  os::WindowSystemScope scope_;
};

}  // namespace orvo::test
