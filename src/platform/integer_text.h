#pragma once
// Integers stored as text in settings, language files and command lines. A value is a
// number only when the whole of it (blanks around it aside) is a decimal integer with an
// optional sign that fits 32 bits; "12abc", "", "0x10" and "99999999999" are not, and
// their readers take their defaults instead.
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvo {

std::optional<int32_t> ParseInt32(std::string_view text);
inline int32_t ParseInt32Or(std::string_view text, int32_t fallback) {
  return ParseInt32(text).value_or(fallback);
}
// "WxH" with two such numbers: "99999999999x600" and "800x600px" are no size, and leave
// width and height as they were.
bool ParseSize(std::string_view text, int& width, int& height);

}  // namespace orvo
