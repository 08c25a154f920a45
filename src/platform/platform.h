#pragma once
// The operating-system seam as one object: the back end (Win32, or the sandbox image) is
// chosen once at start-up, or by a test, and installed; the helpers of the catalogue layer
// reach it through Current().
//
// Ownership is shared, because detached worker threads outlive whatever scope installed
// the back end: a worker takes its own reference when it is created and binds it to its
// thread while it runs (BoundPlatform), so Current() on that thread keeps answering with
// the back end the worker was made for, even after the installer has replaced or removed
// it, and the back end goes only when the last such worker has ended.
#include <memory>

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

// The installed back end (null removes it). Installing and replacing belong to the
// thread that owns the program's state (the user-interface thread, or a test's thread).
void Install(std::shared_ptr<Platform> platform);
// The calling thread's bound back end, else the installed one. Aborts with a message when
// there is neither (a programming mistake).
Platform& Current();
// The same as a shared owner, for a worker to keep; null when there is none.
std::shared_ptr<Platform> SharedCurrent();
bool IsInstalled();

// Binds a back end to the calling thread for the scope's lifetime, and restores the
// previous binding afterwards. A null back end leaves the thread as it was.
class BoundPlatform {
 public:
  explicit BoundPlatform(std::shared_ptr<Platform> platform);
  ~BoundPlatform();
  BoundPlatform(const BoundPlatform&) = delete;
  BoundPlatform& operator=(const BoundPlatform&) = delete;

 private:
  std::shared_ptr<Platform> platform_;
  std::shared_ptr<Platform>* previous_ = nullptr;
};

}  // namespace orvo::os

#include <string>

namespace orvo::os {
// The back end this build links: the Win32 one (which has no use for an image folder and
// refuses one) or the sandbox (which needs one). Null with the reason in `error`.
std::unique_ptr<Platform> OpenPlatform(const std::string& image_folder, std::string* error);
}  // namespace orvo::os
