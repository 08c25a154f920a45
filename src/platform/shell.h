#pragma once
// The shell's services through the seam: special folders, environment expansion and
// launching documents, programs and links.
#include <optional>
#include <string>
#include <string_view>

#include "platform/pixels.h"

namespace orvo::os {

class Shell {
 public:
  virtual ~Shell() = default;

  // The folder for a CSIDL id without trailing backslash; empty when unknown.
  virtual std::string SpecialFolder(int csidl) = 0;
  // ExpandEnvironmentStrings: false when the result does not fit max_chars (UTF-16 units,
  // terminating NUL included).
  virtual bool ExpandEnvironment(std::string_view text, size_t max_chars, std::string* out) = 0;
  // ShellExecute with the verb "open" (or none) and a normal window; true when launched.
  virtual bool Execute(std::string_view verb, std::string_view file,
                       std::string_view parameters) = 0;
  // The file's large (32 x 32) icon number `index`, drawn at (0, 0) on a transparent
  // canvas_size x canvas_size canvas. With `associated`, a file without icons of its own
  // gives the icon of the program associated with it. Nothing when there is no icon.
  virtual std::optional<Pixels> FileIcon(std::string_view path, int index, bool associated,
                                         int canvas_size) = 0;
  // GetTempPath: the temporary folder with a trailing backslash, as the system spells it
  // (possibly in short 8.3 form); empty when it does not fit `max_chars` (terminating NUL
  // included). By default from TMP, TEMP, USERPROFILE, then the Windows folder.
  virtual std::string TempPath(size_t max_chars);
};

}  // namespace orvo::os
