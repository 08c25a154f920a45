// The native TestMachine: a Windows image in a fresh temporary folder.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "catalogue/registry_helpers.h"
#include "catalogue/system_values.h"
#include "platform/sandbox/sandbox_platform.h"
#include "support/test_machine.h"

namespace fs = std::filesystem;

namespace orvo::test {

TestMachine::TestMachine(const MachineOptions& options) {
  std::string templ = (fs::temp_directory_path() / "orvo-image-XXXXXX").string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
  image_folder_ = templ;
  if (!options.image.empty()) {
    fs::copy(options.image, templ,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    std::ofstream(fs::path(templ) / "image.ini", std::ios::app) << "\r\n" << options.extra_ini;
  } else {
    std::ofstream(fs::path(templ) / "image.ini") << "[Windows]\r\nBits=" << (options.is64 ? 64 : 32)
                                                 << "\r\nVersion=" << options.version << "\r\n"
                                                 << options.extra_ini;
  }
  fs::create_directories(fs::path(templ) / "C" / "Temp" / "orvo-test");
  std::string error;
  auto p = os::sandbox::SandboxPlatform::Open(templ, &error);
  if (!p) throw std::runtime_error(error);
  platform_ = std::move(p);
  UseSystem(platform_);
  key_ = "SOFTWARE\\OrvoTests\\t1";
  folder_ = "C:\\Temp\\orvo-test";
}

TestMachine::~TestMachine() {
  UseSystem(nullptr);
  platform_.reset();
  std::error_code ec;
  fs::remove_all(image_folder_, ec);
}

bool TestMachine::sandbox() const { return true; }

void TestMachine::StartProcess(const std::string& exe_name) {
  static uint32_t next_pid = 9000;
  std::ofstream(fs::path(image_folder_) / "image.ini", std::ios::app)
      << "\r\n[Processes]\r\n"
      << next_pid++ << "=" << exe_name << "\r\n";
  Reopen();
}

void TestMachine::OpenWindow(const std::string& class_name) {
  static int next = 100;
  std::ofstream(fs::path(image_folder_) / "image.ini", std::ios::app)
      << "\r\n[TopLevelWindows]\r\n"
      << next++ << "=" << class_name << "\r\n";
  Reopen();
}

void TestMachine::DenyAccess(os::RegRoot root, std::string_view path) {
  std::string name;
  RootKeyName(root, name);
  std::ofstream(fs::path(image_folder_) / "image.ini", std::ios::app)
      << "\r\n[AccessDenied]\r\n"
      << name << "\\" << path << "=all\r\n";
  Reopen();
}

// The sandbox reads image.ini when it opens, so a changed one needs a fresh back end.
void TestMachine::Reopen() {
  std::string error;
  auto reopened = os::sandbox::SandboxPlatform::Open(image_folder_, &error);
  if (!reopened) throw std::runtime_error(error);
  platform_ = std::move(reopened);
  UseSystem(platform_);
}

os::sandbox::Image* TestMachine::image() {
  return &static_cast<os::sandbox::SandboxPlatform&>(*platform_).image();
}

HeldFile::HeldFile(TestMachine& machine, std::string_view path) {
  const std::string host = machine.platform().files().NativePath(path);
  const int fd = ::open(host.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return;
  }
  handle_ = new int(fd);
}

HeldFile::~HeldFile() {
  if (!handle_) return;
  int* fd = static_cast<int*>(handle_);
  ::close(*fd);
  delete fd;
}

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace orvo::test

namespace orvo::test {
std::string OwnExecutablePath() { return fs::read_symlink("/proc/self/exe").string(); }
bool UnderWine() { return false; }
}  // namespace orvo::test
