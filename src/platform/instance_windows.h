#pragma once
// What a second start of the program needs from the window system of the first one: a
// 32-bit handle for a window that other processes of the user can reach, and the two
// commands sent to such a handle. On Windows the handle is the HWND's value (window
// handles are 32-bit values, sign-extended back to a pointer) and the commands are the
// system's own. Natively, where windows live on each process's headless screen, a
// published window listens on a socket in the user's runtime folder named by its handle,
// and the commands it receives are carried out on its UI thread as the system would.
//
// Also here: the system's plain message box, for what must be said before any skinned
// window can exist.
#include <cstdint>
#include <memory>
#include <string_view>

namespace orvo::os {

class Window;

using WindowHandle32 = uint32_t;

inline constexpr uint32_t kWmSysCommand = 0x0112;
inline constexpr uint32_t kScRestore = 61728;  // SC_RESTORE

// A window made reachable; it stops being reachable when this is destroyed, which must
// happen on the UI thread before the window goes.
class PublishedWindow {
 public:
  virtual ~PublishedWindow() = default;
  virtual WindowHandle32 Handle() const = 0;
};

// Null when the window can't be reached from other processes (then the caller stores 0).
std::unique_ptr<PublishedWindow> PublishWindow(Window& window);

// SendMessage(window, WM_SYSCOMMAND, command, 0): returns once the window has handled it,
// or has failed to within a few seconds (a hung first instance must not hang the second).
// False when the window could not be reached.
bool SendSysCommandTo(WindowHandle32 window, uint32_t command);
// SetWindowPos(window, top_most ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
// SWP_NOMOVE | SWP_NOSIZE): position and size stay.
bool SetTopMostOf(WindowHandle32 window, bool top_most);

// The system's own message box with the text and an OK button, modal, owned by no window.
// Natively there is nobody to press OK: the text goes to the standard error stream.
void ShowPlainMessageBox(std::string_view title, std::string_view text);

}  // namespace orvo::os
