#include "platform/win32/wide.h"

#include "platform/text.h"

namespace orvo::os::win32 {

// wchar_t is UTF-16 on Windows; the portable converters do the work.
std::wstring Wide(std::string_view utf8) {
  const std::u16string u = Utf8ToUtf16(utf8);
  return std::wstring(u.begin(), u.end());
}

std::string Narrow(std::wstring_view utf16) {
  return Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

}  // namespace orvo::os::win32
