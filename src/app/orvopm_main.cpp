// orvopm: the command-line face of the catalogue code, on the real system (Windows) or on
// a Windows image folder (any build with the sandbox back end).
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/registry_helpers.h"
#include "catalogue/shell_helpers.h"
#include "catalogue/system_values.h"
#include "platform/platform.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitNoSystem = 3;

void PrintUsage(FILE* out) {
  std::fputs(
      "Usage: orvopm [--image DIR] COMMAND\n"
      "\n"
      "Commands:\n"
      "  system        what the program sees of the system: Windows version, folders,\n"
      "                registered browsers, running processes\n"
      "\n"
      "Options:\n"
      "  --image DIR   work on a Windows image folder instead of the real system\n"
      "  -h, --help    show this help\n",
      out);
}

int ShowSystem() {
  using orvo::RegRoot;
  orvo::os::Platform& os = orvo::os::Current();
  const auto v = os.system().Version();
  std::printf("Windows %u.%u build %u, %s\n", v.major, v.minor, v.build,
              orvo::IsWin64() ? "64-bit" : "32-bit");
  std::printf("Program Files: %s\n", orvo::ProgramFilesDir().c_str());
  std::printf("Application data: %s\n", orvo::AppDataDir().c_str());
  std::printf("Local application data: %s\n",
              orvo::GetSpecialFolder(orvo::os::kCsidlLocalAppData).c_str());
  for (const char* key : {"SOFTWARE\\Clients\\StartMenuInternet",
                          "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet"}) {
    std::vector<std::string> names;
    orvo::RegGetSubKeyNames(RegRoot::LocalMachine, key, names, true, true);
    std::printf("HKLM\\%s:", key);
    for (const auto& n : names) std::printf(" [%s]", n.c_str());
    std::printf("\n");
  }
  std::printf("http handler: %s\n",
              orvo::RegReadString(RegRoot::CurrentUser,
                                  "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice",
                                  "Progid", true)
                  .c_str());
  std::printf("processes:");
  for (const auto& p : os.processes().Snapshot()) std::printf(" %s", p.exe_name.c_str());
  std::printf("\nInternet Explorer window open: %s\n", orvo::IsIERunning() ? "yes" : "no");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string image;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      PrintUsage(stdout);
      return 0;
    }
    if (a == "--image") {
      if (i + 1 >= argc) {
        std::fputs("orvopm: --image needs a folder\n", stderr);
        return kExitUsage;
      }
      image = argv[++i];
      continue;
    }
    args.push_back(a);
  }
  if (args.size() != 1 || args[0] != "system") {
    PrintUsage(stderr);
    return kExitUsage;
  }
  std::string error;
  auto platform = orvo::os::OpenPlatform(image, &error);
  if (!platform) {
    std::fprintf(stderr, "orvopm: %s\n", error.c_str());
    return kExitNoSystem;
  }
  orvo::UseSystem(platform.get());
  return ShowSystem();
}
