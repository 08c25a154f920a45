#pragma once
// Text conversions used across the program. Text inside the portable code is UTF-8;
// UTF-16 appears at the Win32 boundary and wherever a rule counts UTF-16 units (registry
// data, JSON \u escapes, edit carets). The "system ANSI code page" of the portable side is
// Windows-1252; the Win32 back end uses the real CP_ACP instead.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// Invalid UTF-8 sequences become U+FFFD; nothing is dropped silently.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-16LE bytes (odd trailing byte ignored) to UTF-8, stopping at the first NUL unit when
// stop_at_nul is set.
std::string Utf16LeBytesToUtf8(const uint8_t* data, size_t size, bool stop_at_nul);
// UTF-8 to UTF-16LE bytes, optionally with a terminating NUL unit.
std::string Utf8ToUtf16LeBytes(std::string_view text, bool terminate);

// Windows-1252: bytes 0x80-0x9F carry the code page's letters; the five unassigned
// bytes map to the C1 controls of the same number, as Windows does.
std::string Cp1252ToUtf8(std::string_view bytes);
// Characters outside the code page become '?', as WideCharToMultiByte does by default.
// When lossless is given it is set to false in that case.
std::string Utf8ToCp1252(std::string_view text, bool* lossless = nullptr);
bool IsValidUtf8(std::string_view text);
// The value of a hexadecimal digit of either case, or -1 (for chars and UTF-16 units alike).
constexpr int HexDigitValue(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a') + 10;
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A') + 10;
  return -1;
}
// The code point at text[i], advancing i; invalid input gives U+FFFD and moves one byte.
char32_t NextUtf8CodePoint(std::string_view text, size_t& i);

// ASCII-only case folding: Windows names (registry keys, file names, process names in
// some rules) compare without case; non-ASCII letters compare as they are.
char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
std::string ToUpperAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool ContainsNoCase(std::string_view text, std::string_view part);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

}  // namespace orvo
