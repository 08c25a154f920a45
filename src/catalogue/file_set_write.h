#pragma once
// Writing one change that spans several files of a browser. Firefox keeps an add-on's
// state in extensions.json and again in its startup cache (and a theme's in prefs.js):
// a change that reaches one file and not the other leaves the browser with two answers.
// Every file's new bytes and a copy of its old ones are first written beside it (the only
// step that needs disk space: a full disk stops the change before anything the browser
// reads has changed); then renames put the new files in place, and when one refuses,
// those already replaced get their old copy back the same way. No file is ever missing.
// Only when putting back fails too is the set left split: the result says which file
// holds what, and that file's old copy stays beside it ("<file>.orvo-old").
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace orvo {

struct FileWrite {
  std::string path;
  std::string bytes;
};

// Success when every file holds its new bytes. A failure names the file that refused;
// a file that did not exist before is removed again.
os::WriteResult WriteFileSet(const std::vector<FileWrite>& writes);

// What would stop the file from being replaced now, as far as can be seen beforehand
// ("<path> is read-only", "... is in use by another program"); empty when nothing does.
// For changes that cannot be undone once begun, such as deleting an add-on's files.
std::string WriteObstacle(const std::string& path);

}  // namespace orvo
