#pragma once
// A language file parsed into memory: the section, key and value table that every text
// lookup reads. Names compare without regard to (ASCII) case and the first of duplicate
// keys wins, as in the system's initialisation files. A file is only believed when it is
// text: UTF-16LE with its byte-order mark, UTF-8 with its mark, or the ANSI code page, no
// larger than kMaxLanguageFileBytes; anything else (a binary file, a truncated UTF-16 file,
// a file of gigabytes) is refused as a whole and the caller falls back to the built-in
// English text.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvo::os {
class ProgramFolder;
}

namespace orvo {

// A complete translation is about 7 KB; a megabyte leaves room for any real language
// file and keeps reading a wrong one cheap.
inline constexpr size_t kMaxLanguageFileBytes = size_t(1) << 20;

class LanguageText {
 public:
  // Nothing when the bytes are not a language file we accept (see above).
  static std::optional<LanguageText> FromBytes(std::string_view bytes);

  // The entry's value; nothing when the section or the key is missing.
  const std::string* Find(std::string_view section, std::string_view key) const;
  // The value, or `fallback` when the entry is missing (an empty value stays empty).
  std::string Get(std::string_view section, std::string_view key, std::string_view fallback) const;
  size_t size() const { return entries_.size(); }

 private:
  std::unordered_map<std::string, std::string> entries_;  // by lower-case "section\nkey"
};

// Reads the file through the program-folder seam: nothing when it is missing or refused.
std::optional<LanguageText> ReadLanguageFile(os::ProgramFolder& folder, std::string_view path);

}  // namespace orvo
