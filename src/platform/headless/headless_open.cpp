// The window system of the portable build: a headless screen with a real clock, which is
// what a program running without a display (rendering its windows to pictures) needs.
#include "platform/headless/headless_window_system.h"

namespace orvo::os {

std::unique_ptr<WindowSystem> OpenWindowSystem(std::string* error) {
  if (error) error->clear();
  headless::ScreenOptions options;
  options.real_clock = true;
  return std::make_unique<headless::HeadlessWindowSystem>(options);
}

}  // namespace orvo::os
