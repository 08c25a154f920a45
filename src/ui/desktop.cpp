// The screen from the installed window system.
#include "ui/desktop.h"

#include "platform/window_system.h"

namespace orvo {
namespace {

Rect FromWin(const os::WinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

Rect WorkAreaAt(Point screen) {
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    return FromWin(system->WorkAreaAt({screen.x, screen.y}));
  }
  return {0, 0, 1024, 728};
}

Rect PrimaryScreenRect() {
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    for (const os::Monitor& m : system->Monitors()) {
      if (m.primary) return FromWin(m.bounds);
    }
  }
  return {0, 0, 1024, 768};
}

Point CursorScreenPos() {
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    const os::WinPoint p = system->CursorPos();
    return {p.x, p.y};
  }
  return {0, 0};
}

TShiftState KeyboardShiftState() {
  os::WindowSystem* system = os::CurrentWindowSystem();
  return system ? system->KeyState() : 0;
}

int SystemThumbLength() {
  os::WindowSystem* system = os::CurrentWindowSystem();
  return system ? system->ScrollThumbLength() : 17;
}

}  // namespace orvo
