#pragma once
// The real back end of the seam: the Win32 API itself.
#include <memory>

#include "platform/platform.h"

namespace orvo::os::win32 {

class Win32Platform : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Registry& registry() override { return *registry_; }
  FileSystem& files() override { return *files_; }
  Shell& shell() override { return *shell_; }
  Processes& processes() override { return *processes_; }
  SystemInfo& system() override { return *system_; }
  Http& http() override { return *http_; }

 private:
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<Processes> processes_;
  std::unique_ptr<SystemInfo> system_;
  std::unique_ptr<Http> http_;
};

std::unique_ptr<Registry> MakeRegistry();
std::unique_ptr<FileSystem> MakeFileSystem();
std::unique_ptr<Shell> MakeShell();
std::unique_ptr<Processes> MakeProcesses();
std::unique_ptr<SystemInfo> MakeSystemInfo();
std::unique_ptr<Http> MakeHttp();

}  // namespace orvo::os::win32
