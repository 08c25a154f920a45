// Settings files through the system's private-profile functions, and ANSI text through
// the system's code page (CP_ACP).
#include <windows.h>

#include <vector>

#include "platform/ansi_code_page.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"
#include "platform/win32/wide.h"

namespace orvo::os {
namespace {

class Win32ProfileFiles : public ProfileFiles {
 public:
  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view fallback) override {
    const std::wstring f = win32::Wide(file), s = win32::Wide(section), k = win32::Wide(key),
                       d = win32::Wide(fallback);
    std::wstring buf(256, L'\0');
    for (;;) {
      const DWORD n = GetPrivateProfileStringW(s.c_str(), k.c_str(), d.c_str(), buf.data(),
                                               static_cast<DWORD>(buf.size()), f.c_str());
      // n == size - 1 means the value was cut to fit.
      if (n + 1 < buf.size() || buf.size() >= (1u << 20)) {
        return win32::Narrow(std::wstring_view(buf.data(), n));
      }
      buf.resize(buf.size() * 4);
    }
  }

  std::vector<std::string> KeyNames(std::string_view file, std::string_view section) override {
    const std::wstring f = win32::Wide(file), s = win32::Wide(section);
    std::wstring buf(1024, L'\0');
    DWORD n = 0;
    for (;;) {
      n = GetPrivateProfileStringW(s.c_str(), nullptr, L"", buf.data(),
                                   static_cast<DWORD>(buf.size()), f.c_str());
      // n == size - 2 means the list was cut to fit.
      if (n + 2 < buf.size() || buf.size() >= (1u << 20)) break;
      buf.resize(buf.size() * 4);
    }
    std::vector<std::string> names;
    for (size_t start = 0; start < n;) {
      const size_t end = buf.find(L'\0', start);
      if (end == std::wstring::npos || end == start) break;
      names.push_back(win32::Narrow(std::wstring_view(buf.data() + start, end - start)));
      start = end + 1;
    }
    return names;
  }

  bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override {
    const std::wstring f = win32::Wide(file);
    // The system writes a file it creates in the ANSI code page, which would turn a
    // language name outside it into question marks; a file that starts with the UTF-16
    // byte-order mark is kept in UTF-16.
    HANDLE h = CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(h, "\xFF\xFE", 2, &written, nullptr);
      CloseHandle(h);
    }
    return WritePrivateProfileStringW(win32::Wide(section).c_str(), win32::Wide(key).c_str(),
                                      win32::Wide(value).c_str(), f.c_str()) != FALSE;
  }
};

}  // namespace

std::unique_ptr<ProfileFiles> OpenProfileFiles(FileSystem&) {
  return std::make_unique<Win32ProfileFiles>();
}

std::string AnsiToUtf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return win32::Narrow(wide);
}

std::string Utf8ToAnsi(std::string_view text, bool* lossless) {
  if (text.empty()) return {};
  const std::wstring wide = win32::Wide(text);
  BOOL used_default = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  // A system whose ANSI code page is UTF-8 loses nothing, and refuses the question.
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      GetACP() == CP_UTF8 ? nullptr : &used_default);
  if (used_default && lossless) *lossless = false;
  return out;
}

}  // namespace orvo::os
