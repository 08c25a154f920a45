// Assembles the sandbox back end from its parts.
#include "platform/sandbox/sandbox_platform.h"

namespace orvo::os::sandbox {

std::unique_ptr<SandboxPlatform> SandboxPlatform::Open(const std::filesystem::path& folder,
                                                       std::string* error) {
  auto image = Image::Open(folder, error);
  if (!image) return nullptr;
  std::unique_ptr<SandboxPlatform> p(new SandboxPlatform());
  p->image_ = std::move(image);
  p->registry_ = MakeRegistry(*p->image_);
  p->files_ = MakeFileSystem(*p->image_);
  p->shell_ = MakeShell(*p->image_);
  p->processes_ = MakeProcesses(*p->image_);
  p->system_ = MakeSystemInfo(*p->image_);
  p->http_ = MakeHttp();
  return p;
}

SandboxPlatform::~SandboxPlatform() = default;

}  // namespace orvo::os::sandbox

namespace orvo::os {
std::unique_ptr<Platform> OpenPlatform(const std::string& image_folder, std::string* error) {
  if (image_folder.empty()) {
    *error = "this build works on a Windows image folder: give one with --image DIR";
    return nullptr;
  }
  return sandbox::SandboxPlatform::Open(image_folder, error);
}
}  // namespace orvo::os
