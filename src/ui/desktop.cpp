// The screen from the installed window system.
#include "ui/desktop.h"

#include "platform/window_system.h"

namespace orvo {

Rect WorkAreaAt(Point screen) {
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    return system->WorkAreaAt(screen);
  }
  return {0, 0, 1024, 728};
}

Rect PrimaryScreenRect() {
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    for (const os::Monitor& m : system->Monitors()) {
      if (m.primary) return m.bounds;
    }
  }
  return {0, 0, 1024, 768};
}

Point CursorScreenPos() {
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    return system->CursorPos();
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
