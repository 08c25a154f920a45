// The Windows window system: message loops, timers, monitors, clipboard and activation.
#include "platform/win32/win32_window_system.h"

#include <algorithm>
#include <mutex>

#include "platform/win32/win32_ui_dispatcher.h"
#include "platform/win32/win32_window.h"
#include "platform/win32/wide.h"

namespace orvo::os::win32 {
namespace {

constexpr wchar_t kHelperClass[] = L"OrvoWindowSystemHelper";

Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<Monitor>*>(data)->push_back(
        {FromRect(info.rcMonitor), FromRect(info.rcWork),
         (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

// SendInput: the system treats it as the user's own input.
class SendInputInjector : public InputInjector {
 public:
  void MoveMouse(int x, int y) override {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = std::max(GetSystemMetrics(SM_CXVIRTUALSCREEN), 2);
    const int height = std::max(GetSystemMetrics(SM_CYVIRTUALSCREEN), 2);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Normalised 0..65535 across the virtual desktop, rounded to the pixel's centre.
    input.mi.dx = static_cast<LONG>(((x - left) * 65535LL + (width - 1) / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>(((y - top) * 65535LL + (height - 1) / 2) / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    SendInput(1, &input, sizeof input);
  }
  void PressMouse(MouseButton button) override { Button(button, true); }
  void ReleaseMouse(MouseButton button) override { Button(button, false); }
  void PressKey(uint16_t key) override {
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
  }

 private:
  static void Button(MouseButton button, bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    switch (button) {
      case MouseButton::kLeft:
        input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        break;
      case MouseButton::kRight:
        input.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
        break;
      case MouseButton::kMiddle:
        input.mi.dwFlags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
        break;
    }
    SendInput(1, &input, sizeof input);
  }
};

}  // namespace

InputInjector& Win32WindowSystem::Injector() {
  if (!injector_) injector_ = std::make_unique<SendInputInjector>();
  return *injector_;
}

Win32WindowSystem::Win32WindowSystem() : dispatcher_(MakeWindowDispatcher()) {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHelperClass;
    RegisterClassExW(&wc);
  });
  helper_ = CreateWindowExW(0, kHelperClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (helper_) {
    SetWindowLongPtrW(helper_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(helper_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HelperProc));
  }
}

Win32WindowSystem::~Win32WindowSystem() {
  for (Win32Window* w : windows_) w->Orphan();
  windows_.clear();
  if (helper_) {
    for (const auto& [id, tick] : timers_) KillTimer(helper_, id);
    DestroyWindow(helper_);
  }
}

std::unique_ptr<Window> Win32WindowSystem::NewWindow(const WindowOptions& options,
                                                     WindowClient* client) {
  return std::make_unique<Win32Window>(*this, options, client);
}

void Win32WindowSystem::Unregister(Win32Window* window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

LRESULT CALLBACK Win32WindowSystem::HelperProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Win32WindowSystem*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && msg == WM_TIMER) {
    const auto found = self->timers_.find(wp);
    if (found != self->timers_.end()) {
      const std::function<void()> tick = found->second;  // the tick may stop its timer
      tick();
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// --- message loops ---

int Win32WindowSystem::RunMessageLoop() {
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

void Win32WindowSystem::Quit(int exit_code) { PostQuitMessage(exit_code); }

ModalEnd Win32WindowSystem::RunModal(const std::function<bool()>& done) {
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
        return ModalEnd::kQuit;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (done()) return ModalEnd::kDone;
    }
    if (done()) return ModalEnd::kDone;
    // The condition may also change without a message (a worker's flag): look again soon.
    MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void Win32WindowSystem::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// --- timers ---

TimerId Win32WindowSystem::StartTimer(std::chrono::milliseconds interval,
                                      std::function<void()> tick) {
  if (!helper_) return 0;
  const UINT_PTR id = next_timer_++;
  const UINT ms = static_cast<UINT>(
      std::clamp<long long>(interval.count(), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM));
  if (!SetTimer(helper_, id, ms, nullptr)) return 0;
  timers_[id] = std::move(tick);
  return static_cast<TimerId>(id);
}

void Win32WindowSystem::StopTimer(TimerId id) {
  if (!helper_ || !timers_.erase(id)) return;
  KillTimer(helper_, id);
}

uint64_t Win32WindowSystem::TickCount() { return GetTickCount64(); }

// --- screen ---

std::vector<Monitor> Win32WindowSystem::Monitors() {
  std::vector<Monitor> out;
  EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&out));
  std::stable_partition(out.begin(), out.end(), [](const Monitor& m) { return m.primary; });
  return out;
}

Rect Win32WindowSystem::WorkAreaAt(Point point) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  const HMONITOR monitor = MonitorFromPoint({point.x, point.y}, MONITOR_DEFAULTTONEAREST);
  if (monitor && GetMonitorInfoW(monitor, &info)) return FromRect(info.rcWork);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return FromRect(work);
}

Point Win32WindowSystem::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

int Win32WindowSystem::DoubleClickTime() { return static_cast<int>(GetDoubleClickTime()); }

InputFlags Win32WindowSystem::KeyState() {
  auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
  InputFlags f = 0;
  if (down(VK_SHIFT)) f |= kInShift;
  if (down(VK_CONTROL)) f |= kInCtrl;
  if (down(VK_MENU)) f |= kInAlt;
  if (down(VK_LBUTTON)) f |= kInLeft;
  if (down(VK_RBUTTON)) f |= kInRight;
  if (down(VK_MBUTTON)) f |= kInMiddle;
  return f;
}

int Win32WindowSystem::ScrollThumbLength() { return GetSystemMetrics(SM_CYVTHUMB); }

// --- clipboard ---

bool Win32WindowSystem::OpenClipboardRetrying() {
  // Another program may hold the clipboard for a moment.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(helper_)) return true;
    Sleep(10);
  }
  return false;
}

bool Win32WindowSystem::SetClipboardText(std::string_view text) {
  const std::wstring wide = Wide(text);
  const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return false;
  }
  memcpy(target, wide.c_str(), bytes);
  GlobalUnlock(memory);
  if (!OpenClipboardRetrying()) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  const bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!ok) GlobalFree(memory);  // ownership passes only on success
  return ok;
}

std::optional<std::string> Win32WindowSystem::ClipboardText() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardRetrying()) return std::nullopt;
  std::optional<std::string> out;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
      size_t length = 0;
      while (length < capacity && text[length] != 0) ++length;
      out = Narrow(std::wstring_view(text, length));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return out;
}

// --- activation ---

int Win32WindowSystem::AddActivationListener(std::function<void(bool)> listener) {
  listeners_.emplace_back(next_listener_, std::move(listener));
  return next_listener_++;
}

void Win32WindowSystem::RemoveActivationListener(int id) {
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

bool Win32WindowSystem::ApplicationActive() {
  const HWND active = GetActiveWindow();
  return active && GetForegroundWindow() == active;
}

void Win32WindowSystem::AppActivated(bool active) {
  if (active == app_active_) return;
  app_active_ = active;
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) listener(active);
}

}  // namespace orvo::os::win32

namespace orvo::os {

std::unique_ptr<WindowSystem> OpenWindowSystem(std::string* error) {
  if (error) error->clear();
  return std::make_unique<win32::Win32WindowSystem>();
}

}  // namespace orvo::os
