// orvopm system: what the program sees of the machine, for checking an image or a
// real system before looking at the browsers.
#include <cstdio>
#include <vector>

#include "app/cli_commands.h"
#include "catalogue/registry_helpers.h"
#include "catalogue/shell_helpers.h"
#include "catalogue/system_values.h"
#include "platform/platform.h"

namespace orvo::cli {

int ShowSystem() {
  os::Platform& os = os::Current();
  const auto v = os.system().Version();
  std::printf("Windows %u.%u build %u, %s\n", v.major, v.minor, v.build,
              IsWin64() ? "64-bit" : "32-bit");
  std::printf("Program Files: %s\n", ProgramFilesDir().c_str());
  std::printf("Application data: %s\n", AppDataDir().c_str());
  std::printf("Local application data: %s\n", GetSpecialFolder(os::kCsidlLocalAppData).c_str());
  for (const char* key : {"SOFTWARE\\Clients\\StartMenuInternet",
                          "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet"}) {
    std::vector<std::string> names;
    RegGetSubKeyNames(RegRoot::LocalMachine, key, names, true, true);
    std::printf("HKLM\\%s:", key);
    for (const auto& n : names) std::printf(" [%s]", n.c_str());
    std::printf("\n");
  }
  std::printf("processes:");
  for (const auto& p : os.processes().Snapshot()) std::printf(" %s", p.exe_name.c_str());
  std::printf("\nInternet Explorer window open: %s\n", IsIERunning() ? "yes" : "no");
  return kOk;
}

}  // namespace orvo::cli
