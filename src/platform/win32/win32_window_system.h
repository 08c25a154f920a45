#pragma once
// The real window system: frameless top-level windows of one window class, the thread's
// message loop (on which the UI dispatcher's message window lives too), timers on a hidden
// helper window, monitors and work areas, the clipboard and the application's activation.
#include <windows.h>

#include <map>
#include <vector>

#include "platform/window_system.h"

namespace orvo::os::win32 {

class Win32Window;

class Win32WindowSystem : public WindowSystem {
 public:
  Win32WindowSystem();
  ~Win32WindowSystem() override;

  std::unique_ptr<Window> NewWindow(const WindowOptions& options, WindowClient* client) override;
  std::shared_ptr<UiDispatcher> Dispatcher() override { return dispatcher_; }
  int RunMessageLoop() override;
  void Quit(int exit_code) override;
  ModalEnd RunModal(const std::function<bool()>& done) override;
  void ProcessMessages() override;
  TimerId StartTimer(std::chrono::milliseconds interval, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;
  uint64_t TickCount() override;
  std::vector<Monitor> Monitors() override;
  Rect WorkAreaAt(Point point) override;
  Point CursorPos() override;
  int DoubleClickTime() override;
  InputFlags KeyState() override;
  int ScrollThumbLength() override;
  std::unique_ptr<NativeTextBox> NewTextBox(Window& parent, TextBoxClient* client) override;
  bool SetClipboardText(std::string_view text) override;
  std::optional<std::string> ClipboardText() override;
  int AddActivationListener(std::function<void(bool)> listener) override;
  void RemoveActivationListener(int id) override;
  bool ApplicationActive() override;
  InputInjector& Injector() override;

  // --- for the windows ---
  void Register(Win32Window* window) { windows_.push_back(window); }
  void Unregister(Win32Window* window);
  // WM_ACTIVATEAPP reaches every top-level window; the listeners hear each change once.
  void AppActivated(bool active);

 private:
  static LRESULT CALLBACK HelperProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool OpenClipboardRetrying();

  std::shared_ptr<UiDispatcher> dispatcher_;
  std::unique_ptr<InputInjector> injector_;
  HWND helper_ = nullptr;
  std::map<UINT_PTR, std::function<void()>> timers_;
  UINT_PTR next_timer_ = 1;
  std::vector<Win32Window*> windows_;
  std::vector<std::pair<int, std::function<void(bool)>>> listeners_;
  int next_listener_ = 1;
  bool app_active_ = false;
};

}  // namespace orvo::os::win32
