// Auto-repeat timing of scroll buttons and menus, from the user's keyboard settings as the
// operating-system seam reports them (Windows' defaults, delay 1 and speed 31, when no
// back end is installed: a tool that only shows windows).
#include "platform/platform.h"
#include "ui/lum_ui_utils.h"

namespace orvo {

int KeyboardRepeatDelay() {
  const uint32_t delay = os::IsInstalled() ? os::Current().system().KeyboardDelay() : 1;
  return static_cast<int>(delay) * 200 + 200;
}

int KeyboardRepeatInterval() {
  const double speed = os::IsInstalled() ? os::Current().system().KeyboardSpeed() : 31;
  return Rnd(1000 / ((speed + 1) * 2.3));
}

}  // namespace orvo
