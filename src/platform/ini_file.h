#pragma once
// An initialisation file as Windows' private-profile functions treat it: sections and keys
// compare without case, blanks around keys and values are dropped, a value in matching
// quotes loses them, lines starting with ';' are comments. Changes edit the held lines in
// place, so comments and order survive a rewrite.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class IniFile {
 public:
  IniFile() = default;
  // Text in UTF-8; a UTF-8 byte-order mark and CR LF line ends are accepted.
  static IniFile Parse(std::string_view text);

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  std::string GetOr(std::string_view section, std::string_view key,
                    std::string_view fallback) const;
  // Keys of a section in file order (the first spelling of duplicates).
  std::vector<std::string> Keys(std::string_view section) const;
  std::vector<std::string> Sections() const;
  // Every entry in file order, duplicates included: for readers that index the file once.
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
  };
  std::vector<Entry> Entries() const;
  bool HasSection(std::string_view section) const;

  // Replaces the first value of the key, or appends it to the section (created at the end
  // of the file when missing).
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes every line of the key; true when one was there.
  bool Remove(std::string_view section, std::string_view key);

  // CR LF line ends, as Windows writes them.
  std::string Text() const;

 private:
  struct Line {
    std::string text;     // as read (without line end)
    std::string section;  // the section the line belongs to ("" before the first header)
    std::string key;      // for key lines
    std::string value;
    enum Kind { kOther, kSection, kKey } kind = kOther;
  };
  static Line ParseLine(std::string_view raw, const std::string& section);
  std::vector<Line> lines_;
};

}  // namespace orvo
