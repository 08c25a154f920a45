// Strict integer reading for values from files.
#include "shell/integer_text.h"

#include <charconv>

#include "platform/text.h"

namespace orvo {

std::optional<int32_t> ParseInt32(std::string_view text) {
  text = TrimView(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace orvo
