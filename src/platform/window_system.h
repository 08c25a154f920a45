#pragma once
// The window system as the toolkit sees it. Only top-level windows exist here: every
// control is a lightweight child that its form routes input to and paints, so a window is
// a rectangle on the screen that shows a picture the form hands over and reports pointer,
// keyboard, activation and system commands back to one client. Coordinates of events are
// client coordinates (the windows have no frame, so client = window); bounds are screen
// coordinates.
//
// Back ends: the real one on Windows (win32/), and a headless one with a virtual screen,
// windows kept as bitmaps and injected input (headless/), for tests and PNG rendering.
// Both build their message queue on the UI dispatcher (platform/ui_dispatcher.h): posts
// and sends from worker threads reach the UI thread as the window system's messages do.
// Everything else belongs to the UI thread.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/ui_dispatcher.h"

namespace orvo::os {

enum class MouseButton : uint8_t { kLeft, kRight, kMiddle };

// Modifier keys and held buttons of an event, and the mark of the second press of a double
// click: the bits of the toolkit's shift state.
using InputFlags = uint32_t;
inline constexpr InputFlags kInShift = 0x01;
inline constexpr InputFlags kInAlt = 0x02;
inline constexpr InputFlags kInCtrl = 0x04;
inline constexpr InputFlags kInLeft = 0x08;
inline constexpr InputFlags kInRight = 0x10;
inline constexpr InputFlags kInMiddle = 0x20;
inline constexpr InputFlags kInDouble = 0x40;

// One notch of the wheel.
inline constexpr int kWheelDelta = 120;

enum class CursorShape : uint8_t {
  kArrow,
  kSizeWE,    // left and right edges
  kSizeNS,    // top and bottom edges
  kSizeNWSE,  // top-left and bottom-right corners
  kSizeNESW,  // top-right and bottom-left corners
  kHand,
  kIBeam,
  kWait,
};

enum class ShowMode : uint8_t {
  kHide,
  kShow,            // shown, brought to the front of its band and activated
  kShowNoActivate,  // shown in front of its band, activation stays where it was
  kMinimize,
  kRestore,  // out of the minimised state, activated
};

enum class SysCommand : uint8_t { kMinimize, kMaximize, kRestore };

// The shape of a window: everything (none), a union of rectangles, or a rounded rectangle
// with corner ellipses of the given diameter (as CreateRoundRectRgn makes it). Window
// coordinates.
struct WindowRegion {
  enum class Kind : uint8_t { kNone, kRects, kRoundRect };
  Kind kind = Kind::kNone;
  std::vector<Rect> rects;
  Rect round;
  int ellipse = 0;
};

// A picture handed to a window: rows top-down, stride = width, 0xAARRGGBB with straight
// alpha. `native` is the DIB section holding the pixels when they are one (Windows).
struct PixelSource {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  void* native = nullptr;
};

class Window;

// A multi-line text box of the system's own (on Windows an EDIT control), a child of one of
// our windows: for long free text, where the system's editing (input methods, selection,
// scrolling, clipboard, accessibility) matters more than the skin. Positions are client
// coordinates of the parent window; text is UTF-8; positions in the text count UTF-16 units.
class TextBoxClient {
 public:
  virtual ~TextBoxClient() = default;
  // The user changed the text (not reported for SetText).
  virtual void OnTextChanged() {}
  // The box gained or lost the keyboard focus.
  virtual void OnFocusChanged(bool focused) { (void)focused; }
};

struct TextBoxLook {
  std::string font_face = "Tahoma";
  int font_em_pixels = 11;
  bool bold = false;
  uint32_t text_rgb = 0x000000;  // 0x00RRGGBB
  uint32_t background_rgb = 0xFFFFFF;
};

class NativeTextBox {
 public:
  // Destroying the object destroys the box.
  virtual ~NativeTextBox() = default;
  virtual void SetBounds(const Rect& bounds) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetLook(const TextBoxLook& look) = 0;
  virtual void SetReadOnly(bool read_only) = 0;
  // 0: no limit beyond the system's own.
  virtual void SetMaxLength(int utf16_units) = 0;
  virtual void SetText(std::string_view utf8) = 0;
  // Line breaks come back as "\r\n".
  virtual std::string Text() const = 0;
  // [start, end) in UTF-16 units; the caret is at end.
  virtual void SetSelection(int start, int end) = 0;
  virtual void Selection(int* start, int* end) const = 0;
  virtual void ReplaceSelection(std::string_view utf8) = 0;
  virtual void Copy() = 0;
  virtual void Cut() = 0;
  virtual void Paste() = 0;
  virtual void Undo() = 0;
  virtual int LineCount() const = 0;
  virtual int FirstVisibleLine() const = 0;
  // Scrolls by whole lines (positive: towards the end).
  virtual void ScrollLines(int lines) = 0;
  virtual void ScrollCaretIntoView() = 0;
  virtual void Focus() = 0;
  // Gives the keyboard focus back to the parent window.
  virtual void Blur() = 0;
  virtual bool HasFocus() const = 0;
};

struct WindowOptions {
  Rect bounds;
  std::string title;
  // An owned window stays above its owner and has no taskbar button.
  Window* owner = nullptr;
  // Shown only through PresentLayered: per-pixel alpha, pointer passes through pixels of
  // alpha 0.
  bool layered = false;
  bool topmost = false;
  // No taskbar button.
  bool tool = false;
  // False: a click leaves activation where it was (menus, hints).
  bool activate_on_click = true;
};

// What a window reports. Called on the UI thread only, never after the window object is
// destroyed. Pointer coordinates are client coordinates, also outside the window while it
// holds the capture.
class WindowClient {
 public:
  virtual ~WindowClient() = default;
  // The part of the window the screen needs again: hand the picture over (Present).
  virtual void OnPaint(const Rect& part) { (void)part; }
  virtual void OnMouseMove(int x, int y, InputFlags flags) { (void)x, (void)y, (void)flags; }
  virtual void OnMouseDown(MouseButton button, int x, int y, InputFlags flags) {
    (void)button, (void)x, (void)y, (void)flags;
  }
  virtual void OnMouseUp(MouseButton button, int x, int y, InputFlags flags) {
    (void)button, (void)x, (void)y, (void)flags;
  }
  virtual void OnMouseWheel(int delta, int x, int y, InputFlags flags) {
    (void)delta, (void)x, (void)y, (void)flags;
  }
  // The pointer left the window.
  virtual void OnMouseLeave() {}
  // The capture ended other than by this window's own ReleaseCapture.
  virtual void OnCaptureLost() {}
  // Virtual key codes keep their Windows numbers.
  virtual void OnKeyDown(uint16_t key, InputFlags flags) { (void)key, (void)flags; }
  virtual void OnKeyUp(uint16_t key, InputFlags flags) { (void)key, (void)flags; }
  // One UTF-16 unit of typed text (Esc, Enter, Tab and Backspace come as characters too).
  virtual void OnChar(char16_t ch) { (void)ch; }
  virtual void OnActivate(bool active) { (void)active; }
  // The window moved or changed size, by the program or by the system (dragging).
  virtual void OnMoved(const Rect& bounds) { (void)bounds; }
  // A system command from outside (the taskbar, the system menu); true when handled, which
  // skips the system's own action.
  virtual bool OnSysCommand(SysCommand command) {
    (void)command;
    return false;
  }
  // The user asked to close the window (Alt+F4, the taskbar); the window stays until the
  // program destroys it.
  virtual void OnCloseRequest() {}
};

class Window {
 public:
  // Destroying the object destroys the window.
  virtual ~Window() = default;

  virtual void SetBounds(const Rect& bounds) = 0;
  // The normal bounds, also while minimised.
  virtual Rect Bounds() const = 0;
  virtual void Show(ShowMode mode) = 0;
  // Shown (a minimised window counts as shown).
  virtual bool IsVisible() const = 0;
  virtual bool Minimized() const = 0;
  virtual void SetTitle(std::string_view utf8) = 0;
  virtual void SetTopMost(bool topmost) = 0;
  virtual bool IsTopMost() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;
  virtual void Activate() = 0;
  virtual bool IsActive() const = 0;

  // Asks for OnPaint of that part once the queue has nothing else to do.
  virtual void Invalidate(const Rect& part) = 0;
  // Normal windows: shows that part (client coordinates) of the picture now.
  virtual void Present(const PixelSource& picture, const Rect& part) = 0;
  // Layered windows: the whole picture becomes the window (its size too), blended with the
  // screen by its per-pixel alpha times `opacity`.
  virtual void PresentLayered(const PixelSource& picture, uint8_t opacity) = 0;
  virtual void SetRegion(const WindowRegion& region) = 0;
  // Where text typed into the window is being inserted (the caret, client coordinates):
  // an input method shows its composition there. Nothing where there is none.
  virtual void SetTextInputArea(const Rect& caret) { (void)caret; }

  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual bool HasCapture() const = 0;
  // The pointer's look while it is over the window (or captured by it).
  virtual void SetCursor(CursorShape shape) = 0;
  // The system moves the window with the pointer until the left button is released; the
  // release is not reported. Nothing happens without the left button down.
  virtual void BeginSystemMove() = 0;

  // The HWND on Windows; null headless.
  virtual void* NativeHandle() const = 0;
};

struct Monitor {
  Rect bounds;
  Rect work_area;  // the bounds less the taskbar
  bool primary = false;
};

// How a modal loop ended.
enum class ModalEnd : uint8_t {
  kDone,   // its condition became true
  kQuit,   // a quit request came (it stays queued for the outer loop)
  kStuck,  // headless only: nothing could ever make it true (no input, no work)
};

using TimerId = uint32_t;

// Input as if the user gave it (SendInput on Windows, the injection of the headless
// screen), in screen coordinates: for demonstrations and smoke tests of whole programs.
// On Windows it is queued and arrives when the message loop runs.
class InputInjector {
 public:
  virtual ~InputInjector() = default;
  virtual void MoveMouse(int x, int y) = 0;
  virtual void PressMouse(MouseButton button) = 0;
  virtual void ReleaseMouse(MouseButton button) = 0;
  // Down and up.
  virtual void PressKey(uint16_t key) = 0;
};

class WindowSystem {
 public:
  WindowSystem();
  virtual ~WindowSystem() = default;
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;
  // Unique to this instance in the process (a later one may reuse its address).
  uint64_t Serial() const { return serial_; }

  virtual std::unique_ptr<Window> NewWindow(const WindowOptions& options, WindowClient* client) = 0;

  // --- the message queue ---
  // The dispatcher the queue is built on (posts and sends from worker threads).
  virtual std::shared_ptr<UiDispatcher> Dispatcher() = 0;
  // Runs until Quit; returns its exit code.
  virtual int RunMessageLoop() = 0;
  virtual void Quit(int exit_code) = 0;
  // Runs the queue until `done` is true (looked at after every message and at least every
  // 50 ms) or a quit request comes.
  virtual ModalEnd RunModal(const std::function<bool()>& done) = 0;
  // Handles what is queued now (posted calls, input, timers due, paints).
  virtual void ProcessMessages() = 0;

  // --- timers (UI thread; a tick may stop its own timer) ---
  virtual TimerId StartTimer(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
  virtual void StopTimer(TimerId id) = 0;
  // Milliseconds since some fixed moment (GetTickCount).
  virtual uint64_t TickCount() = 0;

  // --- the screen ---
  virtual std::vector<Monitor> Monitors() = 0;
  // The work area of the monitor nearest to the point.
  virtual Rect WorkAreaAt(Point point) = 0;
  virtual Point CursorPos() = 0;
  virtual int DoubleClickTime() = 0;
  // The modifier keys and mouse buttons held now (kInShift, kInCtrl, kInAlt, kInLeft ...).
  virtual InputFlags KeyState() = 0;
  // The length of a vertical scroll bar's thumb box (SM_CYVTHUMB).
  virtual int ScrollThumbLength() { return 17; }

  // --- native controls ---
  // A multi-line text box inside `parent`, or null where the system has none (headless):
  // the toolkit then draws its own.
  virtual std::unique_ptr<NativeTextBox> NewTextBox(Window& parent, TextBoxClient* client) {
    (void)parent, (void)client;
    return nullptr;
  }

  // --- clipboard (UTF-8) ---
  virtual bool SetClipboardText(std::string_view text) = 0;
  virtual std::optional<std::string> ClipboardText() = 0;

  // --- the application's activation: true when one of its windows became the active
  // window of the system, false when none is any more ---
  virtual int AddActivationListener(std::function<void(bool active)> listener) = 0;
  virtual void RemoveActivationListener(int id) = 0;
  virtual bool ApplicationActive() = 0;

  virtual InputInjector& Injector() = 0;

 private:
  uint64_t serial_;
};

// The installed window system. Installing does not take ownership. Null when none is
// installed: forms then stay headless pictures without a window.
void InstallWindowSystem(WindowSystem* system);
WindowSystem* CurrentWindowSystem();

// The window system this build provides for the calling thread, which becomes its UI
// thread: the real one on Windows, a headless screen of 1280 x 800 elsewhere. Null with
// the reason in `error` when it cannot start.
std::unique_ptr<WindowSystem> OpenWindowSystem(std::string* error);

// Installs a window system and its dispatcher for the scope's lifetime, the way a program
// does at start-up; uninstalls both and shuts the dispatcher down at the end.
class WindowSystemScope {
 public:
  explicit WindowSystemScope(std::unique_ptr<WindowSystem> system);
  ~WindowSystemScope();
  WindowSystemScope(const WindowSystemScope&) = delete;
  WindowSystemScope& operator=(const WindowSystemScope&) = delete;
  WindowSystem& system() { return *system_; }

 private:
  std::unique_ptr<WindowSystem> system_;
};

}  // namespace orvo::os
