// Auto-repeat timing of scroll buttons and menus, from the user's keyboard settings as the
// operating-system seam reports them.
#include "platform/platform.h"
#include "ui/lum_ui_utils.h"

namespace orvo {

int KeyboardRepeatDelay() {
  return static_cast<int>(os::Current().system().KeyboardDelay()) * 200 + 200;
}

int KeyboardRepeatInterval() {
  const double speed = os::Current().system().KeyboardSpeed();
  return Rnd(1000 / ((speed + 1) * 2.3));
}

}  // namespace orvo
