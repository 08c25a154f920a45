// Placeholders of translated texts.
#include "shell/lang_format.h"

namespace orvo {

std::string FormatLangText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size() + 16);
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const char kind = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c != '%' || (kind != 'd' && kind != 's' && kind != '%')) {
      out += c;
      continue;
    }
    if (kind == '%') {
      out += '%';
    } else if (next != args.end()) {
      out += *next++;
    } else {
      out.append(pattern.substr(i, 2));
    }
    ++i;
  }
  return out;
}

}  // namespace orvo
