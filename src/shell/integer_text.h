#pragma once
// Integers stored as text in settings and language files. A value is a number only when
// the whole of it (blanks around it aside) is a decimal integer with an optional sign
// that fits 32 bits; "12abc", "", "0x10" and "99999999999" are not, and their readers
// take their defaults instead.
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvo {

std::optional<int32_t> ParseInt32(std::string_view text);
inline int32_t ParseInt32Or(std::string_view text, int32_t fallback) {
  return ParseInt32(text).value_or(fallback);
}

}  // namespace orvo
