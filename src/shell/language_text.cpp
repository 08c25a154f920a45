// Parsing and indexing of language files.
#include "shell/language_text.h"

#include "platform/ini_file.h"
#include "platform/ini_text.h"
#include "platform/program_files.h"
#include "platform/text.h"

namespace orvo {
namespace {

std::string IndexKey(std::string_view section, std::string_view key) {
  std::string index = ToLowerAscii(section);
  index += '\n';  // no name can hold a line break
  index += ToLowerAscii(key);
  return index;
}

}  // namespace

std::optional<LanguageText> LanguageText::FromBytes(std::string_view bytes) {
  if (bytes.size() > kMaxLanguageFileBytes) return std::nullopt;
  const IniText text = DecodeIniBytes(bytes);
  if (!text.valid) return std::nullopt;
  LanguageText table;
  for (auto& entry : IniFile::Parse(text.utf8).Entries()) {
    table.entries_.try_emplace(IndexKey(entry.section, entry.key), std::move(entry.value));
  }
  return table;
}

const std::string* LanguageText::Find(std::string_view section, std::string_view key) const {
  const auto it = entries_.find(IndexKey(section, key));
  return it == entries_.end() ? nullptr : &it->second;
}

std::string LanguageText::Get(std::string_view section, std::string_view key,
                              std::string_view fallback) const {
  const std::string* value = Find(section, key);
  return value ? *value : std::string(fallback);
}

std::optional<LanguageText> ReadLanguageFile(os::ProgramFolder& folder, std::string_view path) {
  const auto bytes = folder.ReadFile(path, kMaxLanguageFileBytes);
  if (!bytes) return std::nullopt;
  return LanguageText::FromBytes(*bytes);
}

}  // namespace orvo
