#include "catalogue/process_helpers.h"

#include "platform/platform.h"

namespace orvo {

uint32_t FindProcessByName(std::string_view exe_name) {
  for (const auto& p : os::Current().processes().Snapshot()) {
    if (p.exe_name == exe_name) return p.pid;
  }
  return 0;
}

void KillProcessesByName(std::string_view exe_name) {
  os::Processes& processes = os::Current().processes();
  for (const auto& p : processes.Snapshot()) {
    if (p.exe_name == exe_name) processes.Terminate(p.pid);
  }
}

}  // namespace orvo
