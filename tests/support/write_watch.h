#pragma once
// Every change the program asks of the file system, recorded while the watch is in place:
// a seam in front of the installed back end that passes each call on and notes the paths
// of writes, attribute changes, removals and shell deletes. A test asks whether any of
// them reached a file (the file itself, or a folder holding it).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace orvo::test {

class WriteWatch {
 public:
  // Watches the back end installed now, until destroyed (it is then installed again).
  WriteWatch();
  ~WriteWatch();
  WriteWatch(const WriteWatch&) = delete;
  WriteWatch& operator=(const WriteWatch&) = delete;

  const std::vector<std::string>& changed() const;
  // A recorded change reached `path` (Windows path, letter case aside).
  bool Reached(std::string_view path) const;

 private:
  class Platform;
  std::shared_ptr<Platform> platform_;
  std::shared_ptr<os::Platform> inner_;
};

}  // namespace orvo::test
