#include "catalogue/firefox_prefs.h"

#include <vector>

#include "platform/text.h"

namespace orvo {
namespace {

// A quoted string at `at` (after blanks); advances past it. Nothing when there is none.
std::optional<std::string> ReadQuoted(std::string_view s, size_t& at) {
  while (at < s.size() && (s[at] == ' ' || s[at] == '\t')) ++at;
  if (at >= s.size() || (s[at] != '"' && s[at] != '\'')) return std::nullopt;
  const char quote = s[at++];
  std::string out;
  while (at < s.size() && s[at] != quote) {
    char c = s[at++];
    if (c != '\\') {
      out += c;
      continue;
    }
    if (at >= s.size()) return std::nullopt;
    c = s[at++];
    switch (c) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 'x':
      case 'u': {
        const size_t digits = c == 'x' ? 2 : 4;
        if (at + digits > s.size()) return std::nullopt;
        char16_t code = 0;
        for (size_t i = 0; i < digits; ++i) {
          const int v = HexDigitValue(s[at + i]);
          if (v < 0) return std::nullopt;
          code = static_cast<char16_t>(code * 16 + v);
        }
        at += digits;
        out += Utf16ToUtf8(std::u16string(1, code));
        break;
      }
      default: out += c; break;  // \\ \" \' and anything else stands for itself
    }
  }
  if (at >= s.size()) return std::nullopt;
  ++at;
  return out;
}

struct PrefLine {
  std::string name;
  std::optional<std::string> string_value;
};

// A `user_pref("name", value);` line; nothing for any other line.
std::optional<PrefLine> ParseLine(std::string_view line) {
  line = TrimView(line);
  constexpr std::string_view kStart = "user_pref(";
  if (line.substr(0, kStart.size()) != kStart) return std::nullopt;
  size_t at = kStart.size();
  auto name = ReadQuoted(line, at);
  if (!name) return std::nullopt;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  if (at >= line.size() || line[at] != ',') return std::nullopt;
  ++at;
  PrefLine out{*name, ReadQuoted(line, at)};
  return out;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    lines.push_back(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string Escaped(std::string_view value) {
  std::string out = "\"";
  for (char c : value) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      default: out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::optional<std::string> UserPrefString(std::string_view prefs_text, std::string_view name) {
  std::optional<std::string> value;
  for (std::string_view line : Lines(prefs_text)) {
    const auto pref = ParseLine(line);
    if (pref && pref->name == name) value = pref->string_value;
  }
  return value;
}

std::string WithUserPrefString(std::string_view prefs_text, std::string_view name,
                               std::string_view value) {
  const std::string_view ending = prefs_text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
  std::string line = "user_pref(" + Escaped(name) + ", " + Escaped(value) + ");";
  std::string out;
  bool placed = false;
  for (std::string_view raw : Lines(prefs_text)) {
    const std::string_view bare =
        !raw.empty() && raw.back() == '\r' ? raw.substr(0, raw.size() - 1) : raw;
    const auto pref = ParseLine(bare);
    if (pref && pref->name == name) {
      if (placed) continue;
      out.append(line).append(ending);
      placed = true;
      continue;
    }
    out.append(bare).append(ending);
  }
  if (!placed) out.append(line).append(ending);
  return out;
}

}  // namespace orvo
