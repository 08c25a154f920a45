// Windows other processes can reach: on Windows every top-level window already is one, so
// a window's handle is its HWND and the commands are the system's own messages.
#include <windows.h>

#include <cstdint>

#include "platform/instance_windows.h"
#include "platform/win32/wide.h"
#include "platform/window_system.h"

namespace orvo::os {
namespace {

// Handles are 32-bit values that Windows sign-extends back into a pointer.
HWND ToHwnd(WindowHandle32 window) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(window)));
}

class HwndPublishedWindow : public PublishedWindow {
 public:
  explicit HwndPublishedWindow(WindowHandle32 handle) : handle_(handle) {}
  WindowHandle32 Handle() const override { return handle_; }

 private:
  WindowHandle32 handle_;
};

}  // namespace

std::unique_ptr<PublishedWindow> PublishWindow(Window& window) {
  const auto hwnd = reinterpret_cast<uintptr_t>(window.NativeHandle());
  if (hwnd == 0) return nullptr;
  return std::make_unique<HwndPublishedWindow>(static_cast<WindowHandle32>(hwnd));
}

bool SendSysCommandTo(WindowHandle32 window, uint32_t command) {
  if (window == 0 || !::IsWindow(ToHwnd(window))) return false;
  // SendMessage waits for as long as the receiver takes; a first instance that hangs must
  // not hang every later start too, so the wait is bounded.
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(ToHwnd(window), WM_SYSCOMMAND, command, 0,
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &result) != 0;
}

bool SetTopMostOf(WindowHandle32 window, bool top_most) {
  if (window == 0) return false;
  return ::SetWindowPos(ToHwnd(window), top_most ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE) != 0;
}

void ShowPlainMessageBox(std::string_view title, std::string_view text) {
  ::MessageBoxW(nullptr, win32::Wide(text).c_str(), win32::Wide(title).c_str(), MB_OK);
}

}  // namespace orvo::os
