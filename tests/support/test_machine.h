#pragma once
// A machine for one test: natively a fresh Windows image folder driven by the sandbox back
// end; in the Windows test executable the real system (under Wine: the throw-away prefix),
// with a registry key and a folder of its own that are removed afterwards. The test
// prepares what it needs through the seam, so the same test body runs on both.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace orvo::os::sandbox {
class Image;
}

namespace orvo::test {

struct MachineOptions {
  bool is64 = true;
  std::string version = "10.0.19045";
  std::string extra_ini;  // appended to the sandbox image.ini
  // Host folder of a Windows image to start from (fixtures/demo). Natively it is copied;
  // on Windows its registry is written into the real one and the user's profile files
  // and program files are copied to the real folders, after the traces of earlier tests
  // are removed.
  std::string image;
};

// fixtures/demo, as a host path.
std::string DemoImage();
// fixtures/modern: Chrome, Edge and Opera as current versions keep their profiles.
std::string ModernImage();

class TestMachine {
 public:
  explicit TestMachine(const MachineOptions& options = {});
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  os::Platform& platform() { return *platform_; }
  bool sandbox() const;
  os::sandbox::Image* image();  // null on Windows

  // "SOFTWARE\OrvoTests\<unique>": a registry path of this test's own.
  const std::string& key() const { return key_; }
  // A folder of this test's own (Windows path, no trailing backslash).
  const std::string& folder() const { return folder_; }
  // Host path of the image folder (sandbox only).
  std::string image_folder() const { return image_folder_; }

  // Setting up state, through the seam; the keys are created as needed (native view).
  void SetValue(os::RegRoot root, std::string_view path, std::string_view name, uint32_t type,
                const std::vector<uint8_t>& data);
  void SetString(os::RegRoot root, std::string_view path, std::string_view name,
                 std::string_view value);
  void SetDword(os::RegRoot root, std::string_view path, std::string_view name, uint32_t value);
  // The key is there (also when it refuses to be opened).
  bool KeyExists(os::RegRoot root, std::string_view path, uint32_t view = os::kKeyWow64_64Key);
  void WriteFile(std::string_view path, std::string_view bytes);
  // A process of that executable name runs until the machine is destroyed (natively an
  // entry in the image's process list, on Windows a real process).
  void StartProcess(const std::string& exe_name);
  // A top-level window of that class exists until the machine is destroyed.
  void OpenWindow(const std::string& class_name);
  // The key (native view) refuses all access (reading it, changing it, deleting it) until
  // the machine is destroyed, as a key whose access list denies everyone does: natively
  // an [AccessDenied] entry of the image, on Windows such an access list.
  void DenyAccess(os::RegRoot root, std::string_view path);

 private:
  void Reopen();
  std::shared_ptr<os::Platform> platform_;
  std::string key_;
  std::string folder_;
  std::string image_folder_;
  std::vector<void*> processes_;
  std::vector<void*> windows_;
  std::vector<std::pair<os::RegRoot, std::string>> denied_;
};

// Holds a file open the way another program would (no sharing), until destroyed.
class HeldFile {
 public:
  HeldFile(TestMachine& machine, std::string_view path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool held() const { return handle_ != nullptr; }

 private:
  void* handle_ = nullptr;
};

// Reads a whole host file (empty when missing).
std::string ReadHostFile(const std::string& path);

}  // namespace orvo::test

namespace orvo::test {
// The running test executable (a Windows path on Windows, a host path natively).
std::string OwnExecutablePath();
// The Windows test executable runs under Wine, not on Windows (where Wine's system
// libraries are known to differ).
bool UnderWine();
}  // namespace orvo::test
