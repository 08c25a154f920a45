#include "catalogue/process_helpers.h"

#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {
namespace {

// Windows compares file names without regard to case. The names asked for here are the
// browsers' executables, plain ASCII, so folding ASCII letters is all the comparison needs.
bool SameExecutable(std::string_view snapshot_name, std::string_view exe_name) {
  return EqualsNoCase(snapshot_name, exe_name);
}

}  // namespace

uint32_t FindProcessByName(std::string_view exe_name) {
  for (const auto& p : os::Current().processes().Snapshot()) {
    if (SameExecutable(p.exe_name, exe_name)) return p.pid;
  }
  return 0;
}

void KillProcessesByName(std::string_view exe_name) {
  os::Processes& processes = os::Current().processes();
  for (const auto& p : processes.Snapshot()) {
    if (SameExecutable(p.exe_name, exe_name)) processes.Terminate(p.pid);
  }
}

}  // namespace orvo
