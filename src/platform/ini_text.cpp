// Encoding detection and strict decoding of initialisation files.
#include "platform/ini_text.h"

#include "platform/ansi_code_page.h"
#include "platform/text.h"

namespace orvo {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// UTF-16LE units to UTF-8; false on an odd byte count, an unpaired surrogate or a NUL.
bool DecodeUtf16Le(std::string_view bytes, std::string* out) {
  if (bytes.size() % 2 != 0) return false;
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const auto u = static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                         (static_cast<uint8_t>(bytes[i + 1]) << 8));
    if (u == 0) return false;
    units += u;
  }
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u >= 0xDC00 && u <= 0xDFFF) return false;
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 >= units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) return false;
      ++i;
    }
  }
  *out = Utf16ToUtf8(units);
  return true;
}

}  // namespace

IniText DecodeIniBytes(std::string_view bytes) {
  IniText text;
  if (bytes.substr(0, 2) == kUtf16LeMark) {
    text.encoding = IniEncoding::kUtf16Le;
    text.valid = DecodeUtf16Le(bytes.substr(2), &text.utf8);
  } else if (bytes.substr(0, 2) == kUtf16BeMark) {
    text.encoding = IniEncoding::kUtf16Le;  // written back as little-endian, if ever
    text.valid = false;
  } else if (bytes.substr(0, 3) == kUtf8Mark) {
    text.encoding = IniEncoding::kUtf8;
    const std::string_view body = bytes.substr(3);
    text.valid = IsValidUtf8(body) && body.find('\0') == std::string_view::npos;
    if (text.valid) text.utf8 = std::string(body);
  } else {
    text.encoding = IniEncoding::kAnsi;
    text.valid = bytes.find('\0') == std::string_view::npos;
    if (text.valid) text.utf8 = os::AnsiToUtf8(bytes);
  }
  if (!text.valid) text.utf8.clear();
  return text;
}

std::string EncodeIniText(std::string_view utf8, IniEncoding encoding, bool* lossless) {
  switch (encoding) {
    case IniEncoding::kUtf16Le: return std::string(kUtf16LeMark) + Utf8ToUtf16LeBytes(utf8, false);
    case IniEncoding::kUtf8: return std::string(kUtf8Mark) + std::string(utf8);
    case IniEncoding::kAnsi: break;
  }
  return os::Utf8ToAnsi(utf8, lossless);
}

}  // namespace orvo
