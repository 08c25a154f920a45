#pragma once
// The operating-system seam as one object: the back end (Win32, or the sandbox image) is
// chosen once at start-up, or by a test, and installed; the helpers of the catalogue layer
// reach it through Current().
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_info.h"

namespace orvo::os {

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Registry& registry() = 0;
  virtual FileSystem& files() = 0;
  virtual Shell& shell() = 0;
  virtual Processes& processes() = 0;
  virtual SystemInfo& system() = 0;
  virtual Http& http() = 0;
};

// The installed back end. Installing does not take ownership; the installer keeps the
// platform alive while it is installed. Current() aborts with a message when nothing is
// installed (a programming mistake).
void Install(Platform* platform);
Platform& Current();
bool IsInstalled();

}  // namespace orvo::os

#include <memory>
#include <string>

namespace orvo::os {
// The back end this build links: the Win32 one (which has no use for an image folder and
// refuses one) or the sandbox (which needs one). Null with the reason in `error`.
std::unique_ptr<Platform> OpenPlatform(const std::string& image_folder, std::string* error);
}  // namespace orvo::os
