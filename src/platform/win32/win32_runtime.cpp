// The code page and thread settings of the Windows build.
#include <windows.h>

#include "platform/ansi_text.h"
#include "platform/threads.h"
#include "platform/win32/wide.h"

namespace orvo::os {

std::string AnsiToUtf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), n);
  return win32::Narrow(wide);
}

std::string Utf8ToAnsi(std::string_view text) {
  if (text.empty()) return {};
  const std::wstring wide = win32::Wide(text);
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

void SetCurrentThreadIdlePriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE); }

}  // namespace orvo::os
