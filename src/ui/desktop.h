#pragma once
// The screen as forms need it, from the installed window system; without one, a single
// 1024 x 768 screen whose work area leaves 40 pixels for a taskbar.
#include "platform/geometry.h"
#include "ui/events.h"

namespace orvo {

// The work area of the monitor nearest to a screen point.
Rect WorkAreaAt(Point screen);
// The primary monitor.
Rect PrimaryScreenRect();
Point CursorScreenPos();
// The modifier keys and buttons held now (none without a window system).
TShiftState KeyboardShiftState();
// The system's scroll thumb length (17 without a window system).
int SystemThumbLength();

}  // namespace orvo
