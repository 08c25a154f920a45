#pragma once
// What start-up needs from the window system before any skinned window exists: the two
// commands a second instance sends to the first one's windows, and the plain system
// message box of the start-up refusal. The window system implements these (on Windows
// with SendMessageW, SetWindowPos and MessageBoxW; natively on the headless window
// system); start-up only calls them.
#include <cstdint>
#include <string_view>

namespace orvo {

// A window as the single-instance record stores it: 32 bits. On Windows the HWND's value
// (window handles are 32-bit values, sign-extended back to a pointer); natively the
// headless window system's own id. 0 is no window.
using WindowHandle32 = uint32_t;

inline constexpr uint32_t kWmSysCommand = 0x0112;
inline constexpr uint32_t kScRestore = 61728;  // SC_RESTORE

class InstanceWindows {
 public:
  virtual ~InstanceWindows() = default;
  // SendMessage(window, WM_SYSCOMMAND, command, 0): returns once the window (of another
  // process, usually) has handled it.
  virtual void SendSysCommand(WindowHandle32 window, uint32_t command) = 0;
  // SetWindowPos(window, top_most ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
  // SWP_NOMOVE | SWP_NOSIZE): position and size stay.
  virtual void SetTopMost(WindowHandle32 window, bool top_most) = 0;
};

class PlainMessageBox {
 public:
  virtual ~PlainMessageBox() = default;
  // The system's own message box with the text and an OK button (MessageBoxW with MB_OK
  // and the application's title), modal, before any skinned window exists.
  virtual void Show(std::string_view text) = 0;
};

}  // namespace orvo
