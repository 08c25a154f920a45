// The Windows TestMachine: the real registry and file system, with a key and a folder
// of the test's own.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalogue/system_values.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "support/test_machine.h"

namespace orvo::test {
namespace {
std::atomic<int> g_counter{0};

void DeleteScratch(os::Registry& reg, os::RegRoot root, std::string_view parent,
                   std::string_view child, uint32_t view) {
  std::unique_ptr<os::RegKey> key;
  if (reg.OpenKey(root, parent, os::kKeyAllAccess | view, &key) == os::kErrorSuccess) {
    key->DeleteSubTree(child);
  }
}
}  // namespace

TestMachine::TestMachine(const MachineOptions&) {
  platform_ = std::make_unique<os::win32::Win32Platform>();
  UseSystem(platform_.get());
  const std::string id = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++g_counter);
  key_ = "SOFTWARE\\OrvoTests\\t" + id;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::string base = os::win32::Narrow(temp);
  while (!base.empty() && base.back() == '\\') base.pop_back();
  folder_ = base + "\\orvo-test-" + id;
  platform_->files().CreateFolders(folder_);
}

TestMachine::~TestMachine() {
  os::Registry& reg = platform_->registry();
  const size_t slash = key_.rfind('\\');
  const std::string parent = key_.substr(0, slash);
  const std::string child = key_.substr(slash + 1);
  for (os::RegRoot root : {os::RegRoot::CurrentUser, os::RegRoot::LocalMachine}) {
    DeleteScratch(reg, root, parent, child, os::kKeyWow64_64Key);
    DeleteScratch(reg, root, parent, child, os::kKeyWow64_32Key);
  }
  platform_->files().ShellDelete(folder_, 0x14 | 0x400);
  UseSystem(nullptr);
}

bool TestMachine::sandbox() const { return false; }
os::sandbox::Image* TestMachine::image() { return nullptr; }

HeldFile::HeldFile(TestMachine&, std::string_view path) {
  HANDLE h = CreateFileW(os::win32::Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) handle_ = h;
}

HeldFile::~HeldFile() {
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(std::filesystem::path(os::win32::Wide(path)), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace orvo::test

namespace orvo::test {
std::string OwnExecutablePath() {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
  return os::win32::Narrow(std::wstring_view(buf, n));
}

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
}  // namespace orvo::test
