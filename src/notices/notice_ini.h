#pragma once
// The update and news descriptions are INI text. Both checks read them the same way, with
// the platform's own INI reader: the text goes into a file of a random name in the
// temporary folder (in the system's ANSI code page, as that reader expects), the values
// are read from the file, and the file is removed. Runs on the checks' worker threads.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The folder the file goes into: the user's temporary folder, or "c:\" when that path
// still holds an unexpanded "%" variable; empty when the folder does not exist.
std::string NoticeTempFolder();

class NoticeIni {
 public:
  // Writes `text` and a line break to <folder><eight random letters>.ini (a name not in
  // use); nothing when there is no folder or the file can't be written.
  static std::optional<NoticeIni> Write(std::string_view text);

  const std::string& Path() const { return path_; }
  // Section and key names without case, as the platform's reader compares them.
  std::string String(std::string_view section, std::string_view key,
                     std::string_view fallback) const;
  // A whole decimal number, else `fallback`.
  int32_t Integer(std::string_view section, std::string_view key, int32_t fallback) const;
  std::vector<std::string> KeyNames(std::string_view section) const;
  // Deletes the file; true when it is gone.
  bool Remove() const;

 private:
  explicit NoticeIni(std::string path) : path_(std::move(path)) {}
  std::string path_;
};

}  // namespace orvo
