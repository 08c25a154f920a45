// Line-preserving reader and editor of initialisation files.
#include "platform/ini_file.h"

#include "platform/text.h"

namespace orvo {

IniFile::Line IniFile::ParseLine(std::string_view raw, const std::string& section) {
  Line line;
  line.text = std::string(raw);
  line.section = section;
  const std::string_view t = TrimView(raw);
  if (t.empty() || t.front() == ';') return line;
  if (t.front() == '[') {
    const size_t close = t.find(']');
    line.kind = Line::kSection;
    line.section = Trim(t.substr(1, close == std::string_view::npos ? t.size() - 1 : close - 1));
    return line;
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return line;
  line.kind = Line::kKey;
  line.key = Trim(t.substr(0, eq));
  std::string_view value = TrimView(t.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  line.value = std::string(value);
  return line;
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::string section;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    Line line = ParseLine(raw, section);
    if (line.kind == Line::kSection) section = line.section;
    ini.lines_.push_back(std::move(line));
    pos = end + 1;
  }
  return ini;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  for (const Line& line : lines_) {
    if (line.kind == Line::kKey && EqualsNoCase(line.section, section) &&
        EqualsNoCase(line.key, key)) {
      return line.value;
    }
  }
  return std::nullopt;
}

std::string IniFile::GetOr(std::string_view section, std::string_view key,
                           std::string_view fallback) const {
  auto v = Get(section, key);
  return v ? *v : std::string(fallback);
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  for (const Line& line : lines_) {
    if (line.kind != Line::kKey || !EqualsNoCase(line.section, section)) continue;
    bool seen = false;
    for (const auto& k : keys) seen = seen || EqualsNoCase(k, line.key);
    if (!seen) keys.push_back(line.key);
  }
  return keys;
}

std::vector<std::string> IniFile::Sections() const {
  std::vector<std::string> out;
  for (const Line& line : lines_) {
    if (line.kind != Line::kSection) continue;
    bool seen = false;
    for (const auto& s : out) seen = seen || EqualsNoCase(s, line.section);
    if (!seen) out.push_back(line.section);
  }
  return out;
}

std::vector<IniFile::Entry> IniFile::Entries() const {
  std::vector<Entry> out;
  for (const Line& line : lines_) {
    if (line.kind == Line::kKey) out.push_back({line.section, line.key, line.value});
  }
  return out;
}

bool IniFile::HasSection(std::string_view section) const {
  for (const Line& line : lines_) {
    if (line.kind == Line::kSection && EqualsNoCase(line.section, section)) return true;
  }
  return false;
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string text = std::string(key) + "=" + std::string(value);
  size_t last_in_section = std::string::npos;
  for (size_t i = 0; i < lines_.size(); ++i) {
    Line& line = lines_[i];
    if (!EqualsNoCase(line.section, section)) continue;
    if (line.kind == Line::kSection || line.kind == Line::kKey) last_in_section = i;
    if (line.kind == Line::kKey && EqualsNoCase(line.key, key)) {
      line = ParseLine(text, line.section);
      return;
    }
  }
  if (last_in_section == std::string::npos) {
    if (!lines_.empty() && !TrimView(lines_.back().text).empty()) {
      lines_.push_back(ParseLine("", lines_.back().section));
    }
    Line header = ParseLine("[" + std::string(section) + "]", std::string(section));
    lines_.push_back(std::move(header));
    lines_.push_back(ParseLine(text, std::string(section)));
    return;
  }
  const std::string owner = lines_[last_in_section].section;
  lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(last_in_section) + 1,
                ParseLine(text, owner));
}

bool IniFile::Remove(std::string_view section, std::string_view key) {
  bool removed = false;
  for (size_t i = 0; i < lines_.size();) {
    const Line& line = lines_[i];
    if (line.kind == Line::kKey && EqualsNoCase(line.section, section) &&
        EqualsNoCase(line.key, key)) {
      lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(i));
      removed = true;
    } else {
      ++i;
    }
  }
  return removed;
}

std::string IniFile::Text() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += "\r\n";
  }
  return out;
}

}  // namespace orvo
