// The Windows TestMachine: the real registry and file system, with a key and a folder
// of the test's own.
#include <windows.h>
#include <sddl.h>

#include <atomic>
#include <stdexcept>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalogue/system_values.h"
#include "platform/reg_file.h"
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

namespace {

namespace fs = std::filesystem;

// Registry keys an image may own: removed before an image is written in, so what earlier
// tests changed or added there does not leak into the next one.
const std::pair<os::RegRoot, const char*> kOwnedKeys[] = {
    {os::RegRoot::LocalMachine, "SOFTWARE\\Clients\\StartMenuInternet\\Google Chrome"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Clients\\StartMenuInternet\\OperaStable"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Clients\\StartMenuInternet\\FIREFOX.EXE"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Clients\\StartMenuInternet\\Microsoft Edge"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Policies\\Google\\Chrome"},
    {os::RegRoot::CurrentUser, "SOFTWARE\\Policies\\Google\\Chrome"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Policies\\Microsoft\\Edge"},
    {os::RegRoot::CurrentUser, "SOFTWARE\\Policies\\Microsoft\\Edge"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet\\Google Chrome"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet\\OperaStable"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet\\FIREFOX.EXE"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\MozillaPlugins"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\MozillaPlugins"},
    {os::RegRoot::CurrentUser, "SOFTWARE\\MozillaPlugins"},
    {os::RegRoot::CurrentUser,
     "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice"},
    {os::RegRoot::CurrentUser,
     "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\https\\UserChoice"},
    {os::RegRoot::CurrentUser,
     "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\ftp\\UserChoice"},
    {os::RegRoot::LocalMachine,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects"},
    {os::RegRoot::LocalMachine,
     "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Toolbar"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions"},
    {os::RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Extensions"},
    {os::RegRoot::CurrentUser, "SOFTWARE\\Microsoft\\Internet Explorer\\MenuExt"},
    {os::RegRoot::CurrentUser, "SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\MenuExt"},
    {os::RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings"},
};

// Profile folders an image may own, relative to the real special folders.
const std::pair<int, const char*> kOwnedFolders[] = {
    {os::kCsidlLocalAppData, "Google\\Chrome"},  {os::kCsidlLocalAppData, "Microsoft\\Edge"},
    {os::kCsidlLocalAppData, "BraveSoftware"},   {os::kCsidlLocalAppData, "Vivaldi"},
    {os::kCsidlLocalAppData, "Programs\\Opera"}, {os::kCsidlAppData, "Opera Software"},
    {os::kCsidlAppData, "Mozilla\\Firefox"},
};

// Under Wine the host's files are on drive Z:.
fs::path HostPath(const std::string& host) {
  if (!host.empty() && host[0] == '/') {
    std::string w = "Z:" + host;
    for (char& c : w) c = c == '/' ? '\\' : c;
    return fs::path(os::win32::Wide(w));
  }
  return fs::path(os::win32::Wide(host));
}

void ImportKeys(os::Registry& reg, os::RegRoot root, const std::string& path,
                const os::RegHive::Key& key) {
  if (!key.values.empty() || key.subkeys.empty()) {
    std::unique_ptr<os::RegKey> handle;
    if (reg.CreateKey(root, path, os::kKeyAllAccess | os::kKeyWow64_64Key, &handle) ==
        os::kErrorSuccess) {
      for (const auto& [name, v] : key.values) handle->SetValue(name, v.type, v.data);
    }
  }
  for (const auto& sub : key.subkeys) {
    ImportKeys(reg, root, path.empty() ? sub->name : path + "\\" + sub->name, *sub);
  }
}

// The image's user is "demo"; the browsers' JSON files and the registry name paths in
// that user's folders (escaped alike), which on this system are the real user's.
std::string MoveUserPaths(std::string text) {
  auto escaped = [](std::string p) {
    std::string out;
    for (char c : p) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
  };
  os::Shell& shell = os::Current().shell();
  const std::pair<std::string, std::string> moves[] = {
      {escaped("C:\\Users\\demo\\AppData\\Roaming"),
       escaped(shell.SpecialFolder(os::kCsidlAppData))},
      {escaped("C:\\Users\\demo\\AppData\\Local"),
       escaped(shell.SpecialFolder(os::kCsidlLocalAppData))},
  };
  for (const auto& [from, to] : moves) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
      text.replace(at, from.size(), to);
    }
  }
  return text;
}

void MoveUserPaths(const fs::path& file) {
  const std::string text = MoveUserPaths(ReadHostFile(os::win32::Narrow(file.wstring())));
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

// Copies an image folder's files to a real folder. With keep_system, real programs the
// system already has there (Wine's own iexplore.exe, hundreds of kilobytes) are left
// alone; the image's small stand-ins replace copies earlier tests left.
void CopyTree(const fs::path& from, const fs::path& to, bool keep_system) {
  std::error_code ec;
  if (!fs::exists(from, ec)) return;
  for (const auto& e : fs::recursive_directory_iterator(from, ec)) {
    const fs::path target = to / fs::relative(e.path(), from, ec);
    if (e.is_directory(ec)) {
      fs::create_directories(target, ec);
    } else if (!(keep_system && fs::exists(target, ec) &&
                 fs::file_size(target, ec) > (64u << 10))) {
      fs::create_directories(target.parent_path(), ec);
      fs::copy_file(e.path(), target, fs::copy_options::overwrite_existing, ec);
      if (e.path().extension() == L".json") MoveUserPaths(target);
    }
  }
}

void InstallImage(os::Platform& platform, const std::string& image) {
  os::Registry& reg = platform.registry();
  for (const auto& [root, path] : kOwnedKeys) {
    const std::string p = path;
    const size_t slash = p.rfind('\\');
    std::unique_ptr<os::RegKey> parent;
    if (reg.OpenKey(root, p.substr(0, slash), os::kKeyAllAccess | os::kKeyWow64_64Key, &parent) ==
        os::kErrorSuccess) {
      parent->DeleteSubTree(p.substr(slash + 1));
    }
  }
  os::RegHive hive;
  const std::string reg_text =
      MoveUserPaths(ReadHostFile(os::win32::Narrow((HostPath(image) / L"registry.reg").wstring())));
  os::ParseRegFile(reg_text, &hive);
  for (const auto& [root, name] : os::RegHive::Roots())
    ImportKeys(reg, root, "", hive.RootKey(root));

  std::error_code ec;
  for (const auto& [csidl, folder] : kOwnedFolders) {
    fs::remove_all(fs::path(os::win32::Wide(platform.shell().SpecialFolder(csidl) + "\\" + folder)),
                   ec);
  }
  const fs::path user = HostPath(image) / L"C" / L"Users" / L"demo" / L"AppData";
  CopyTree(user / L"Roaming",
           fs::path(os::win32::Wide(platform.shell().SpecialFolder(os::kCsidlAppData))), false);
  CopyTree(user / L"Local",
           fs::path(os::win32::Wide(platform.shell().SpecialFolder(os::kCsidlLocalAppData))),
           false);
  for (const wchar_t* pf : {L"Program Files", L"Program Files (x86)"}) {
    CopyTree(HostPath(image) / L"C" / pf, fs::path(L"C:\\") / pf, true);
  }
  // A developer's folder an unpacked extension is loaded from: the profile names it by
  // its full path, so it goes where the image has it.
  fs::remove_all(L"C:\\Users\\demo\\Projects", ec);
  CopyTree(HostPath(image) / L"C" / L"Users" / L"demo" / L"Projects", L"C:\\Users\\demo\\Projects",
           false);
}

}  // namespace

TestMachine::TestMachine(const MachineOptions& options) {
  platform_ = std::make_unique<os::win32::Win32Platform>();
  UseSystem(platform_);
  if (!options.image.empty()) InstallImage(*platform_, options.image);
  const std::string id = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++g_counter);
  key_ = "SOFTWARE\\OrvoTests\\t" + id;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::string base = os::win32::Narrow(temp);
  while (!base.empty() && base.back() == '\\') base.pop_back();
  folder_ = base + "\\orvo-test-" + id;
  platform_->files().CreateFolders(folder_);
}

namespace {
// Sets a key's access list from SDDL; false when the key can't be opened for it.
bool SetKeyAccess(os::RegRoot root, const std::string& path, const wchar_t* sddl) {
  HKEY key = nullptr;
  const HKEY base = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root));
  if (RegOpenKeyExW(base, os::win32::Wide(path).c_str(), 0,
                    READ_CONTROL | WRITE_DAC | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
    return false;
  }
  PSECURITY_DESCRIPTOR sd = nullptr;
  bool done = false;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) {
    done = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    LocalFree(sd);
  }
  RegCloseKey(key);
  return done;
}
}  // namespace

// Everyone is denied everything; the owner keeps the right to read and change the list,
// which the destructor uses to open the key up again.
void TestMachine::DenyAccess(os::RegRoot root, std::string_view path) {
  if (!SetKeyAccess(root, std::string(path), L"D:(D;;KA;;;WD)")) {
    throw std::runtime_error("cannot deny changes to " + std::string(path));
  }
  denied_.emplace_back(root, std::string(path));
}

TestMachine::~TestMachine() {
  for (const auto& [root, path] : denied_) SetKeyAccess(root, path, L"D:(A;;KA;;;WD)");
  for (void* w : windows_) DestroyWindow(static_cast<HWND>(w));
  for (void* p : processes_) {
    TerminateProcess(static_cast<HANDLE>(p), 0);
    WaitForSingleObject(static_cast<HANDLE>(p), 5000);
    CloseHandle(static_cast<HANDLE>(p));
  }
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
void TestMachine::Reopen() {}

void TestMachine::OpenWindow(const std::string& class_name) {
  const std::wstring name = os::win32::Wide(class_name);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name.c_str();
  RegisterClassW(&wc);  // a second registration of the same class fails harmlessly
  HWND window = CreateWindowExW(0, name.c_str(), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
  if (!window) throw std::runtime_error("cannot open a window of class " + class_name);
  windows_.push_back(window);
}

// A real process of that name: a copy of this test program, started idle.
void TestMachine::StartProcess(const std::string& exe_name) {
  // Each in a folder of its own: names that differ only in case are one file here.
  const std::string dir = folder_ + "\\p" + std::to_string(processes_.size());
  platform_->files().CreateFolders(dir);
  const std::wstring exe = os::win32::Wide(dir + "\\" + exe_name);
  CopyFileW(os::win32::Wide(OwnExecutablePath()).c_str(), exe.c_str(), FALSE);
  std::wstring command = L"\"" + exe + L"\" --orvo-idle";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    throw std::runtime_error("cannot start " + exe_name);
  }
  CloseHandle(pi.hThread);
  processes_.push_back(pi.hProcess);
  // The snapshot must see it before the test asks.
  for (int i = 0; i < 100; ++i) {
    for (const auto& p : platform_->processes().Snapshot()) {
      if (p.pid == pi.dwProcessId) return;
    }
    Sleep(20);
  }
}
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
