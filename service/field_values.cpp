// Field value checks; see field_values.h.
#include "field_values.h"

#include "platform/text.h"

namespace orvo::service {

std::optional<int64_t> ParseWholeNumber(std::string_view text, int64_t min, int64_t max) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < min || value > max) return std::nullopt;
  return value;
}

size_t Utf16Units(std::string_view utf8) {
  size_t units = 0;
  for (char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if ((b & 0xC0) != 0x80) ++units;  // a lead byte starts one character
    if ((b & 0xF8) == 0xF0) ++units;  // four-byte characters need a surrogate pair
  }
  return units;
}

std::string_view TruncateUtf16Units(std::string_view utf8, size_t max_units) {
  size_t units = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if ((b & 0xC0) == 0x80) continue;
    const size_t width = (b & 0xF8) == 0xF0 ? 2 : 1;
    if (units + width > max_units) return utf8.substr(0, i);
    units += width;
  }
  return utf8;
}

bool IsStorableText(std::string_view text) {
  return text.find('\0') == std::string_view::npos && IsValidUtf8(text);
}

}  // namespace orvo::service
