#include "platform/win32/win32_platform.h"

namespace orvo::os::win32 {

Win32Platform::Win32Platform()
    : registry_(MakeRegistry()),
      files_(MakeFileSystem()),
      shell_(MakeShell()),
      processes_(MakeProcesses()),
      system_(MakeSystemInfo()),
      http_(MakeHttp()) {}

Win32Platform::~Win32Platform() = default;

}  // namespace orvo::os::win32

namespace orvo::os {
std::unique_ptr<Platform> OpenPlatform(const std::string& image_folder, std::string* error) {
  if (!image_folder.empty()) {
    *error = "Windows image folders are for the Linux build; this one works on the real system";
    return nullptr;
  }
  return std::make_unique<win32::Win32Platform>();
}
}  // namespace orvo::os
