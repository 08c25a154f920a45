// The form window's procedure: one small handler per message the window answers itself,
// found through a table; every other message goes to the default procedure. A client call
// may destroy the window object, so a handler returns straight after one and never looks
// at the object again.
#include <windowsx.h>

#include <iterator>

#include "platform/win32/win32_text_box.h"
#include "platform/win32/win32_window.h"

namespace orvo::os::win32 {
namespace {

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

InputFlags KeyboardFlags() {
  InputFlags f = 0;
  if (Down(VK_SHIFT)) f |= kInShift;
  if (Down(VK_CONTROL)) f |= kInCtrl;
  if (Down(VK_MENU)) f |= kInAlt;
  if (Down(VK_LBUTTON)) f |= kInLeft;
  if (Down(VK_RBUTTON)) f |= kInRight;
  if (Down(VK_MBUTTON)) f |= kInMiddle;
  return f;
}

InputFlags PointerFlags(WPARAM wp) {
  InputFlags f = 0;
  if (wp & MK_SHIFT) f |= kInShift;
  if (wp & MK_CONTROL) f |= kInCtrl;
  if (Down(VK_MENU)) f |= kInAlt;
  if (wp & MK_LBUTTON) f |= kInLeft;
  if (wp & MK_RBUTTON) f |= kInRight;
  if (wp & MK_MBUTTON) f |= kInMiddle;
  return f;
}

MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP: return MouseButton::kRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP: return MouseButton::kMiddle;
    default: return MouseButton::kLeft;
  }
}

// The frame messages of a window without a frame: fixed answers, no client involved.
struct FixedAnswer {
  UINT msg;
  LRESULT result;
};
constexpr FixedAnswer kFixedAnswers[] = {
    {WM_NCCALCSIZE, 0},        // the client area is the whole window
    {WM_NCHITTEST, HTCLIENT},  //
    {WM_NCPAINT, 0},           //
    {WM_NCACTIVATE, TRUE},     // nothing of a frame to draw
    {WM_ERASEBKGND, 1},        // every pixel comes from the form's picture
};

}  // namespace

struct Win32Window::Route {
  UINT msg;
  LRESULT (Win32Window::*handler)(UINT msg, WPARAM wp, LPARAM lp);
};

const Win32Window::Route Win32Window::kRoutes[] = {
    {WM_PAINT, &Win32Window::OnPaintMessage},
    {WM_MOUSEMOVE, &Win32Window::OnMouseMoveMessage},
    {WM_MOUSELEAVE, &Win32Window::OnMouseLeaveMessage},
    {WM_LBUTTONDOWN, &Win32Window::OnButtonDown},
    {WM_LBUTTONDBLCLK, &Win32Window::OnButtonDown},
    {WM_RBUTTONDOWN, &Win32Window::OnButtonDown},
    {WM_RBUTTONDBLCLK, &Win32Window::OnButtonDown},
    {WM_MBUTTONDOWN, &Win32Window::OnButtonDown},
    {WM_MBUTTONDBLCLK, &Win32Window::OnButtonDown},
    {WM_LBUTTONUP, &Win32Window::OnButtonUp},
    {WM_RBUTTONUP, &Win32Window::OnButtonUp},
    {WM_MBUTTONUP, &Win32Window::OnButtonUp},
    {WM_MOUSEWHEEL, &Win32Window::OnWheel},
    {WM_CAPTURECHANGED, &Win32Window::OnCaptureChanged},
    {WM_SETCURSOR, &Win32Window::OnSetCursorMessage},
    {WM_MOUSEACTIVATE, &Win32Window::OnMouseActivate},
    {WM_KEYDOWN, &Win32Window::OnKey},
    {WM_KEYUP, &Win32Window::OnKey},
    {WM_SYSKEYDOWN, &Win32Window::OnSysKey},
    {WM_SYSKEYUP, &Win32Window::OnSysKey},
    {WM_CHAR, &Win32Window::OnCharMessage},
    {WM_ACTIVATE, &Win32Window::OnActivateMessage},
    {WM_ACTIVATEAPP, &Win32Window::OnActivateApp},
    {WM_WINDOWPOSCHANGED, &Win32Window::OnPositionChanged},
    {WM_SYSCOMMAND, &Win32Window::OnSysCommand},
    {WM_CLOSE, &Win32Window::OnCloseMessage},
    {WM_COMMAND, &Win32Window::OnChildCommand},
    {WM_CTLCOLOREDIT, &Win32Window::OnChildColors},
    {WM_CTLCOLORSTATIC, &Win32Window::OnChildColors},
};

LRESULT CALLBACK Win32Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->client_) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->Handle(msg, wp, lp);
}

LRESULT Win32Window::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  for (const FixedAnswer& fixed : kFixedAnswers) {
    if (fixed.msg == msg) return fixed.result;
  }
  for (const Route& route : kRoutes) {
    if (route.msg == msg) return (this->*route.handler)(msg, wp, lp);
  }
  return Default(msg, wp, lp);
}

LRESULT Win32Window::OnPaintMessage(UINT, WPARAM, LPARAM) {
  // The client may close the window while painting: the paint is ended through locals,
  // and `painting_` is cleared only while the object is known to live.
  const HWND hwnd = hwnd_;
  PAINTSTRUCT ps;
  BeginPaint(hwnd, &ps);
  if (!layered_) {
    bool destroyed = false;
    destroyed_ = &destroyed;
    painting_ = &ps;
    client_->OnPaint({ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
    if (!destroyed) {
      painting_ = nullptr;
      destroyed_ = nullptr;
    }
  }
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT Win32Window::OnMouseMoveMessage(UINT, WPARAM wp, LPARAM lp) {
  if (!tracking_leave_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    tracking_leave_ = TrackMouseEvent(&track) != FALSE;
  }
  client_->OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), PointerFlags(wp));
  return 0;
}

LRESULT Win32Window::OnMouseLeaveMessage(UINT, WPARAM, LPARAM) {
  tracking_leave_ = false;
  client_->OnMouseLeave();
  return 0;
}

LRESULT Win32Window::OnButtonDown(UINT msg, WPARAM wp, LPARAM lp) {
  const MouseButton button = ButtonOf(msg);
  // A press on the window itself takes the keyboard focus from a child box; the middle
  // button leaves it where it is, as other programs do.
  if (button != MouseButton::kMiddle) TakeFocusFromChild();
  const bool twice = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
  client_->OnMouseDown(button, GET_X_LPARAM(lp), GET_Y_LPARAM(lp),
                       PointerFlags(wp) | (twice ? kInDouble : 0));
  return 0;
}

LRESULT Win32Window::OnButtonUp(UINT msg, WPARAM wp, LPARAM lp) {
  client_->OnMouseUp(ButtonOf(msg), GET_X_LPARAM(lp), GET_Y_LPARAM(lp), PointerFlags(wp));
  return 0;
}

LRESULT Win32Window::OnWheel(UINT, WPARAM wp, LPARAM lp) {
  POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};  // screen coordinates for this message
  ScreenToClient(hwnd_, &p);
  client_->OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wp), p.x, p.y,
                        PointerFlags(GET_KEYSTATE_WPARAM(wp)));
  return 0;
}

LRESULT Win32Window::OnCaptureChanged(UINT, WPARAM, LPARAM lp) {
  if (!releasing_capture_ && reinterpret_cast<HWND>(lp) != hwnd_) client_->OnCaptureLost();
  return 0;
}

LRESULT Win32Window::OnSetCursorMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LOWORD(lp) != HTCLIENT) return Default(msg, wp, lp);
  ::SetCursor(cursor_);
  return TRUE;
}

LRESULT Win32Window::OnMouseActivate(UINT msg, WPARAM wp, LPARAM lp) {
  return activate_on_click_ ? Default(msg, wp, lp) : MA_NOACTIVATE;
}

LRESULT Win32Window::OnKey(UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_KEYDOWN)
    client_->OnKeyDown(static_cast<uint16_t>(wp), KeyboardFlags());
  else
    client_->OnKeyUp(static_cast<uint16_t>(wp), KeyboardFlags());
  return 0;
}

LRESULT Win32Window::OnSysKey(UINT msg, WPARAM wp, LPARAM lp) {
  // Alt combinations still reach the system (Alt+F4 closes through WM_CLOSE).
  const LRESULT result = Default(msg, wp, lp);
  if (msg == WM_SYSKEYDOWN)
    client_->OnKeyDown(static_cast<uint16_t>(wp), KeyboardFlags());
  else
    client_->OnKeyUp(static_cast<uint16_t>(wp), KeyboardFlags());
  return result;
}

LRESULT Win32Window::OnCharMessage(UINT, WPARAM wp, LPARAM) {
  client_->OnChar(static_cast<char16_t>(wp));
  return 0;
}

LRESULT Win32Window::OnActivateMessage(UINT msg, WPARAM wp, LPARAM lp) {
  Default(msg, wp, lp);  // gives the window the keyboard focus
  const bool active = LOWORD(wp) != WA_INACTIVE;
  if (active && minimize_style_ && !IsIconic(hwnd_)) DropMinimizeStyle();
  client_->OnActivate(active);
  return 0;
}

LRESULT Win32Window::OnActivateApp(UINT msg, WPARAM wp, LPARAM lp) {
  Win32WindowSystem* system = system_;
  const LRESULT result = Default(msg, wp, lp);
  if (system) system->AppActivated(wp != FALSE);
  return result;
}

LRESULT Win32Window::OnPositionChanged(UINT msg, WPARAM wp, LPARAM lp) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
  const bool changed = !(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE);
  if (!changed || IsIconic(hwnd_)) return Default(msg, wp, lp);
  RECT r;
  GetWindowRect(hwnd_, &r);
  client_->OnMoved({r.left, r.top, r.right, r.bottom});
  return 0;
}

LRESULT Win32Window::OnSysCommand(UINT msg, WPARAM wp, LPARAM lp) {
  switch (wp & 0xFFF0) {
    case SC_MINIMIZE:
      if (client_->OnSysCommand(SysCommand::kMinimize)) return 0;
      AddMinimizeStyle();
      return Default(msg, wp, lp);
    case SC_MAXIMIZE:
      // A frameless window is maximised by the program itself, to the work area.
      client_->OnSysCommand(SysCommand::kMaximize);
      return 0;
    case SC_RESTORE:
      if (client_->OnSysCommand(SysCommand::kRestore)) return 0;
      return Default(msg, wp, lp);
    default: return Default(msg, wp, lp);
  }
}

LRESULT Win32Window::OnCloseMessage(UINT, WPARAM, LPARAM) {
  client_->OnCloseRequest();
  return 0;
}

LRESULT Win32Window::OnChildCommand(UINT msg, WPARAM wp, LPARAM lp) {
  Win32TextBox* box = Win32TextBox::FromChild(reinterpret_cast<HWND>(lp));
  if (!box) return Default(msg, wp, lp);
  box->Command(HIWORD(wp));
  return 0;
}

LRESULT Win32Window::OnChildColors(UINT msg, WPARAM wp, LPARAM lp) {
  Win32TextBox* box = Win32TextBox::FromChild(reinterpret_cast<HWND>(lp));
  if (!box) return Default(msg, wp, lp);
  return reinterpret_cast<LRESULT>(box->Colors(reinterpret_cast<HDC>(wp)));
}

}  // namespace orvo::os::win32
