// The shell, processes and system facts through shell32, kernel32 tool-help, user32,
// version.dll and the user's locale.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/date_format.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_platform.h"

namespace orvo::os::win32 {
namespace {

class Win32Shell : public Shell {
 public:
  std::string SpecialFolder(int csidl) override {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return {};
    wchar_t buf[MAX_PATH * 2] = {};
    const BOOL ok = SHGetPathFromIDListW(pidl, buf);
    CoTaskMemFree(pidl);
    if (!ok) return {};
    std::string path = Narrow(buf);
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
  }

  bool ExpandEnvironment(std::string_view text, size_t max_chars, std::string* out) override {
    std::vector<wchar_t> buf(max_chars + 1, L'\0');
    const DWORD n =
        ExpandEnvironmentStringsW(Wide(text).c_str(), buf.data(), static_cast<DWORD>(max_chars));
    if (n == 0 || n > max_chars) return false;
    *out = Narrow(buf.data());
    return true;
  }

  bool Execute(std::string_view verb, std::string_view file, std::string_view parameters) override {
    const std::wstring v = Wide(verb);
    const std::wstring f = Wide(file);
    const std::wstring p = Wide(parameters);
    const HINSTANCE rc = ShellExecuteW(nullptr, v.empty() ? nullptr : v.c_str(), f.c_str(),
                                       p.empty() ? nullptr : p.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(rc) > 32;
  }

  std::optional<Pixels> FileIcon(std::string_view path, int index, bool associated,
                                 int canvas_size) override {
    return FileIconPixels(path, index, associated, canvas_size);
  }

  std::string TempPath(size_t max_chars) override {
    std::vector<wchar_t> buf(max_chars + 1, L'\0');
    const DWORD n = GetTempPathW(static_cast<DWORD>(max_chars), buf.data());
    if (n == 0 || n >= max_chars) return {};
    return Narrow(std::wstring_view(buf.data(), n));
  }
};

class Win32Processes : public Processes {
 public:
  std::vector<ProcessEntry> Snapshot() override {
    std::vector<ProcessEntry> out;
    const KernelHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap.valid()) return out;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snap.get(), &entry); more;
         more = Process32NextW(snap.get(), &entry)) {
      out.push_back({entry.th32ProcessID, Narrow(entry.szExeFile)});
    }
    return out;
  }

  bool Terminate(uint32_t pid) override {
    const KernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid));
    if (!process.valid()) return false;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return TerminateProcess(process.get(), code) != FALSE;
  }

  bool TopLevelWindowExists(std::string_view class_name) override {
    return FindWindowW(Wide(class_name).c_str(), nullptr) != nullptr;
  }
};

class Win32SystemInfo : public SystemInfo {
 public:
  WindowsVersion Version() override {
    // GetVersionEx answers as the manifest allows: the version the program declares it
    // supports, which is what the version rules of the program were written against.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
  }

  bool IsWow64Process() override {
    BOOL wow = FALSE;
    return ::IsWow64Process(GetCurrentProcess(), &wow) && wow;
  }

  bool ProcessIs64Bit() override { return sizeof(void*) == 8; }

  uint16_t NativeArchitecture() override {
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture;
  }

  uint16_t UserUiLanguage() override { return GetUserDefaultUILanguage(); }

  uint32_t KeyboardDelay() override {
    UINT v = 1;
    SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &v, 0);
    return v;
  }

  uint32_t KeyboardSpeed() override {
    DWORD v = 31;
    SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &v, 0);
    return v;
  }

  std::optional<FixedFileInfo> FileVersion(std::string_view path) override {
    const std::wstring w = Wide(path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(w.c_str(), &handle);
    if (size == 0) return std::nullopt;
    std::vector<uint8_t> data(size);
    if (!GetFileVersionInfoW(w.c_str(), 0, size, data.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) || !fixed ||
        len < sizeof(VS_FIXEDFILEINFO)) {
      return std::nullopt;
    }
    FixedFileInfo info{};
    static_assert(sizeof(VS_FIXEDFILEINFO) == sizeof(FixedFileInfo));
    memcpy(info.data(), fixed, sizeof info);
    return info;
  }

  std::optional<uint32_t> GrayTextColor() override { return GetSysColor(COLOR_GRAYTEXT); }

  std::string ShortDate(int year, int month, int day) override {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(std::clamp(year, 1601, 30827));
    st.wMonth = static_cast<WORD>(std::clamp(month, 1, 12));
    st.wDay = static_cast<WORD>(std::clamp(day, 1, 31));
    wchar_t text[128];
    const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text,
                                  static_cast<int>(std::size(text)), nullptr);
    // A date the system refuses (the 31st of a short month) still reads as a date.
    if (n <= 1) return FormatDatePicture(kIsoDatePicture, year, month, day);
    return Narrow(std::wstring_view(text, static_cast<size_t>(n - 1)));
  }
};

}  // namespace

std::unique_ptr<Shell> MakeShell() { return std::make_unique<Win32Shell>(); }
std::unique_ptr<Processes> MakeProcesses() { return std::make_unique<Win32Processes>(); }
std::unique_ptr<SystemInfo> MakeSystemInfo() { return std::make_unique<Win32SystemInfo>(); }

}  // namespace orvo::os::win32
