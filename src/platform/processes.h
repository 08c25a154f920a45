#pragma once
// Running processes and top-level windows, as far as the catalogues need them: is a
// browser running, close it, is there an "IEFrame" window.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::os {

struct ProcessEntry {
  uint32_t pid = 0;
  std::string exe_name;  // executable file name as the process snapshot spells it
};

class Processes {
 public:
  virtual ~Processes() = default;
  virtual std::vector<ProcessEntry> Snapshot() = 0;
  // Ends the process with its own current exit code; false when it can't be opened.
  virtual bool Terminate(uint32_t pid) = 0;
  // A top-level window of this class exists (FindWindow).
  virtual bool TopLevelWindowExists(std::string_view class_name) = 0;
};

}  // namespace orvo::os
