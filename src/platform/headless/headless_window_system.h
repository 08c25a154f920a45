#pragma once
// The window system without a display: a virtual screen of a stated size with a work area,
// windows kept as bitmaps in z-order, input injected by the caller, and a picture of any
// window or of the whole screen. It follows the rules of the real one where the toolkit
// depends on them:
//
//   - z-order: top-most windows above the others, owned windows above their owner, a
//     shown or activated window in front of its band;
//   - activation: a press activates the window under it (unless it was made not to take
//     activation on clicks); hiding or destroying the active window activates its owner;
//     the application is active while one of its windows is, and "another program" can
//     be activated to deactivate it;
//   - pointer: events go to the window under the pointer (layered windows let pointers
//     through their fully transparent pixels, regions through what they cut away), or to
//     the capture window; leaving a window is reported; a second press within the double
//     click time and 4 pixels is marked as a double click; disabled windows get nothing;
//   - keys go to the active window; Esc, Enter, Tab and Backspace also come as characters;
//   - a system move drags the window with the pointer until the left button is released,
//     and the release is swallowed;
//   - paints are asked for with Invalidate and delivered when the queue is otherwise empty.
//
// Injected input is delivered at once and followed by the paints it caused, so a test sees
// the finished pictures when the call returns. Input for a modal loop that is about to
// run can be posted to the dispatcher (it is then delivered inside the loop), or given by
// `on_modal_idle`, which a modal loop calls whenever it has nothing else to do.
//
// Time: a virtual clock by default, moved only by AdvanceTime (timers fire in order, with
// paints after each), so fades and auto-repeat are deterministic; a real clock on request.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/pixels.h"
#include "platform/window_system.h"

namespace orvo::os::headless {

struct ScreenOptions {
  int width = 1280;
  int height = 800;
  // Empty: the screen less a taskbar 40 pixels high at the bottom.
  Rect work_area;
  // More monitors, right of the first one when their bounds are left empty.
  std::vector<Monitor> more_monitors;
  uint32_t desktop_color = 0xFF2B5A86;
  uint32_t taskbar_color = 0xFF1B2430;
  bool real_clock = false;
  int double_click_ms = 500;
  // A modal loop that has nothing to do, no idle handler that acts and no call posted
  // within this time gives up (ModalEnd::kStuck) instead of hanging.
  int modal_idle_timeout_ms = 1000;
};

class HeadlessWindow;

class HeadlessWindowSystem : public WindowSystem {
 public:
  explicit HeadlessWindowSystem(const ScreenOptions& options = {});
  ~HeadlessWindowSystem() override;

  // --- WindowSystem ---
  std::unique_ptr<Window> NewWindow(const WindowOptions& options, WindowClient* client) override;
  std::shared_ptr<UiDispatcher> Dispatcher() override;
  int RunMessageLoop() override;
  void Quit(int exit_code) override;
  ModalEnd RunModal(const std::function<bool()>& done) override;
  void ProcessMessages() override;
  TimerId StartTimer(std::chrono::milliseconds interval, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;
  uint64_t TickCount() override;
  std::vector<Monitor> Monitors() override;
  Rect WorkAreaAt(Point point) override;
  Point CursorPos() override { return cursor_; }
  int DoubleClickTime() override { return options_.double_click_ms; }
  InputFlags KeyState() override { return Flags(); }
  bool SetClipboardText(std::string_view text) override;
  std::optional<std::string> ClipboardText() override;
  int AddActivationListener(std::function<void(bool)> listener) override;
  void RemoveActivationListener(int id) override;
  bool ApplicationActive() override { return active_ != nullptr; }
  InputInjector& Injector() override;

  const ScreenOptions& options() const { return options_; }
  Rect ScreenRect() const { return {0, 0, options_.width, options_.height}; }

  // --- windows ---
  // Every window, bottom of the z-order first.
  std::vector<Window*> Windows() const;
  // Shown, not minimised windows, bottom first.
  std::vector<Window*> VisibleWindows() const;
  // The front window that takes the pointer at a screen point, or null (the desktop).
  Window* WindowAt(Point point) const;
  Window* ActiveWindow() const;
  Window* CaptureWindow() const;
  CursorShape Cursor() const;
  // Where the window last said text goes in (its caret), client coordinates.
  Rect TextInputArea(const Window& window) const;
  const std::string& Title(const Window& window) const;
  bool IsLayered(const Window& window) const;

  // --- input, in screen coordinates; each call ends with the paints it caused ---
  void MoveMouse(int x, int y);
  void PressMouse(MouseButton button = MouseButton::kLeft);
  void ReleaseMouse(MouseButton button = MouseButton::kLeft);
  // Move, press and release.
  void Click(int x, int y, MouseButton button = MouseButton::kLeft);
  void DoubleClick(int x, int y);
  void Wheel(int delta);
  // Shift, Ctrl and Alt held from now on (kInShift | kInCtrl | kInAlt).
  void SetModifiers(InputFlags modifiers);
  void KeyDown(uint16_t key);
  void KeyUp(uint16_t key);
  // Down and up, with the character the key makes (letters, digits, space, Esc, Enter, Tab,
  // Backspace; Shift and Ctrl held by SetModifiers count).
  void PressKey(uint16_t key);
  // Characters (UTF-8 in, UTF-16 units out) to the active window.
  void Type(std::string_view text);
  // The user switched to another program: our active window is deactivated.
  void ActivateOtherApplication();
  // The user picked a window on the taskbar: restored when minimised, and activated.
  void PickFromTaskbar(Window& window);
  // A system command as the taskbar or the system menu sends it.
  void SendSysCommand(Window& window, SysCommand command);
  // Alt+F4 or the taskbar's close.
  void RequestClose(Window& window);

  // --- time ---
  // Virtual clock: moves it on, firing the timers that fall due in order (each followed by
  // the posted calls and paints it caused). Real clock: waits that long, handling messages.
  void AdvanceTime(int milliseconds);
  // Called by modal loops with nothing to do; true when it did something (injected input,
  // closed the modal window). Unset or false: the loop waits for posted calls, then gives up.
  std::function<bool()> on_modal_idle;

  // --- pictures ---
  // The whole screen: desktop, taskbar band below the work area, every shown window in
  // z-order (layered ones blended by their alpha, regions applied). Opaque.
  Pixels RenderScreen() const;
  // One window's own picture at its size (alpha as presented; opaque for normal windows).
  Pixels RenderWindow(const Window& window) const;
  bool SaveScreenPng(const std::string& path) const;
  bool SaveWindowPng(const Window& window, const std::string& path) const;

  // --- used by the windows ---
  void Attach(HeadlessWindow& window);
  void Detach(HeadlessWindow& window);
  void BringToFront(HeadlessWindow& window);
  void SetActive(HeadlessWindow* window);
  void SetCaptureTo(HeadlessWindow* window);
  void WindowHidden(HeadlessWindow& window);
  void PaintsDue();
  void BeginMove(HeadlessWindow& window);
  bool LeftDown() const { return (buttons_ & kInLeft) != 0; }

 private:
  class CountingDispatcher;
  class Injection;
  struct Timer {
    TimerId id;
    uint64_t due;
    uint64_t interval;
    std::function<void()> tick;
  };

  HeadlessWindow* Find(const Window* window) const;
  HeadlessWindow* Target() const;  // capture window, else the window under the pointer
  InputFlags Flags() const { return modifiers_ | buttons_; }
  void DeliverHover();
  void FirePending();    // posted calls, due timers (real clock), paints
  bool FireDueTimers();  // true when one fired
  void DeliverPaints();
  void NotifyActivation(bool active);
  void ActivateNext(HeadlessWindow& leaving);

  ScreenOptions options_;
  std::shared_ptr<CountingDispatcher> dispatcher_;
  std::unique_ptr<Injection> injection_;
  std::vector<HeadlessWindow*> z_order_;  // bottom first
  HeadlessWindow* active_ = nullptr;
  HeadlessWindow* capture_ = nullptr;
  HeadlessWindow* hover_ = nullptr;
  HeadlessWindow* moving_ = nullptr;
  Point move_anchor_;
  Rect move_origin_;
  Point cursor_{0, 0};
  InputFlags buttons_ = 0;
  InputFlags modifiers_ = 0;
  // The last press, for double clicks.
  HeadlessWindow* last_press_window_ = nullptr;
  MouseButton last_press_button_ = MouseButton::kLeft;
  Point last_press_point_;
  uint64_t last_press_time_ = 0;
  bool last_press_was_double_ = false;

  std::vector<Timer> timers_;
  TimerId next_timer_ = 1;
  uint64_t virtual_now_ = 0;
  bool quit_ = false;
  int exit_code_ = 0;
  bool paints_due_ = false;
  std::vector<std::pair<int, std::function<void(bool)>>> activation_listeners_;
  int next_listener_ = 1;
  std::string clipboard_;
  bool has_clipboard_ = false;
};

}  // namespace orvo::os::headless
