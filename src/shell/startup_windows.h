#pragma once
// What start-up needs from the window system before any skinned window exists: the two
// commands a second instance sends to the first one's windows, and the plain system
// message box of the start-up refusal. The program uses the system's own (below); tests
// give recording ones.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/instance_windows.h"

namespace orvo {

// A window as the single-instance record stores it: 32 bits (see platform/instance_windows.h).
using os::kScRestore;
using os::kWmSysCommand;
using os::WindowHandle32;

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

// The system's windows of other processes.
class SystemInstanceWindows : public InstanceWindows {
 public:
  void SendSysCommand(WindowHandle32 window, uint32_t command) override {
    os::SendSysCommandTo(window, command);
  }
  void SetTopMost(WindowHandle32 window, bool top_most) override {
    os::SetTopMostOf(window, top_most);
  }
};

// The system's message box, titled with the application's title.
class SystemMessageBox : public PlainMessageBox {
 public:
  explicit SystemMessageBox(std::string title) : title_(std::move(title)) {}
  void Show(std::string_view text) override { os::ShowPlainMessageBox(title_, text); }

 private:
  std::string title_;
};

}  // namespace orvo
