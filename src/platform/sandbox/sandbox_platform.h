#pragma once
// The portable back end of the seam: a Windows machine simulated by an image folder
// (image.h). Everything it is asked to change is changed in the image and noted in the
// image's journal, so tests can check what the program did.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/sandbox/image.h"

namespace orvo::os::sandbox {

class SandboxPlatform : public Platform {
 public:
  // Null, with the reason in `error`, when the image can't be opened.
  static std::unique_ptr<SandboxPlatform> Open(const std::filesystem::path& folder,
                                               std::string* error);
  ~SandboxPlatform() override;

  Registry& registry() override { return *registry_; }
  FileSystem& files() override { return *files_; }
  Shell& shell() override { return *shell_; }
  Processes& processes() override { return *processes_; }
  SystemInfo& system() override { return *system_; }
  Http& http() override { return *http_; }
  Image& image() { return *image_; }

 private:
  SandboxPlatform() = default;
  std::unique_ptr<Image> image_;
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<Processes> processes_;
  std::unique_ptr<SystemInfo> system_;
  std::unique_ptr<Http> http_;
};

std::unique_ptr<Registry> MakeRegistry(Image& image);
std::unique_ptr<FileSystem> MakeFileSystem(Image& image);
std::unique_ptr<Shell> MakeShell(Image& image);
std::unique_ptr<Processes> MakeProcesses(Image& image);
std::unique_ptr<SystemInfo> MakeSystemInfo(Image& image);
std::unique_ptr<Http> MakeHttp();

}  // namespace orvo::os::sandbox
