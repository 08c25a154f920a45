#include "catalogue/system_values.h"

#include <utility>

#include "catalogue/shell_helpers.h"

namespace orvo {
namespace {
bool g_is_win64 = false;
std::string g_program_files;
std::string g_app_data;
}  // namespace

void UseSystem(std::shared_ptr<os::Platform> platform) {
  // The caller may hand its only reference over: the installed one then decides how long
  // the back end lives.
  os::Platform* const installed = platform.get();
  os::Install(std::move(platform));
  g_is_win64 = false;
  g_program_files.clear();
  g_app_data.clear();
  if (!installed) return;
  os::SystemInfo& sys = installed->system();
  const uint16_t arch = sys.NativeArchitecture();
  const bool x64 =
      arch == os::kProcessorArchitectureAmd64 || arch == os::kProcessorArchitectureIa64;
  g_is_win64 = sys.ProcessIs64Bit() || (sys.IsWow64Process() && x64);
  g_program_files = AddBackslash(GetSpecialFolder(os::kCsidlProgramFiles));
  g_app_data = AddBackslash(GetSpecialFolder(os::kCsidlAppData));
}

bool IsWin64() { return g_is_win64; }
const std::string& ProgramFilesDir() { return g_program_files; }
const std::string& AppDataDir() { return g_app_data; }

}  // namespace orvo
