#include "catalogue/shell_helpers.h"

#include <algorithm>

#include "catalogue/system_values.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {
namespace {

bool Exists(std::string_view path) {
  return os::Current().files().GetAttributes(path) != os::kInvalidFileAttributes;
}

// A 32-bit process sees SysWOW64 where System32 was asked for; look once more with the
// redirection off.
bool ExistsLookingThrough(std::string_view path) {
  if (Exists(path)) return true;
  if (!IsWin64()) return false;
  auto guard = os::Current().files().DisableRedirection();
  return Exists(path);
}

bool HasExtension(std::string_view path) {
  const size_t pos = path.find_last_of(".\\:");
  return pos != std::string_view::npos && path[pos] == '.';
}

}  // namespace

bool PathExistsEx(std::string_view path) {
  if (ExistsLookingThrough(path)) return true;
  if (HasExtension(path)) return false;
  for (const char* ext : {".exe", ".com", ".bat", ".cmd", ".dll"}) {
    if (ExistsLookingThrough(std::string(path) + ext)) return true;
  }
  return false;
}

bool FolderExists(std::string_view path) {
  const uint32_t a = os::Current().files().GetAttributes(path);
  return a != os::kInvalidFileAttributes && (a & os::kFileAttributeDirectory);
}

bool FileExists(std::string_view path) {
  const uint32_t a = os::Current().files().GetAttributes(path);
  return a != os::kInvalidFileAttributes && !(a & os::kFileAttributeDirectory);
}

bool HasParentStep(std::string_view path) {
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find_first_of("\\/", pos);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(pos, end - pos) == "..") return true;
    pos = end + 1;
  }
  return false;
}

bool DeleteFileOrFolder(std::string_view path, bool to_recycle_bin) {
  os::FileSystem& files = os::Current().files();
  const uint32_t attrs = files.GetAttributes(path);
  if (attrs == os::kInvalidFileAttributes) return false;
  files.SetAttributes(path, 0);
  if (!(attrs & os::kFileAttributeDirectory) && files.IsFileLocked(path)) return false;
  uint32_t flags = os::kFofSilent | os::kFofNoConfirmation;
  if (to_recycle_bin) flags |= os::kFofAllowUndo;
  return files.ShellDelete(path, flags) == 0;
}

bool ShellDeleteFolder(std::string_view path) {
  return os::Current().files().ShellDelete(
             path, os::kFofNoConfirmation | os::kFofNoConfirmMkdir | os::kFofNoErrorUi) == 0;
}

bool IsFileLocked(std::string_view file_name) {
  return os::Current().files().IsFileLocked(file_name);
}

std::string GetSpecialFolder(int folder_id) {
  return os::Current().shell().SpecialFolder(folder_id);
}

std::string ExpandEnvVars(std::string_view text) {
  std::string out;
  if (os::Current().shell().ExpandEnvironment(text, 260, &out)) return out;
  return std::string(text);
}

std::string AddBackslash(std::string_view path) {
  if (path.empty() || path.back() == '\\') return std::string(path);
  return std::string(path) + "\\";
}

bool GetFixedFileVersion(std::string_view file_name, TFixedFileInfo& info) {
  const auto fixed = os::Current().system().FileVersion(file_name);
  if (!fixed) return false;
  std::copy_n(fixed->begin(), info.size(), info.begin());
  return true;
}

void OpenUrl(std::string_view url) {
  if (TrimView(url).empty()) return;
  os::Shell& shell = os::Current().shell();
  if (IsWindows8() && ToLowerAscii(url).find("http") != std::string::npos) {
    shell.Execute("", "IExplore.EXE", url);
  } else {
    shell.Execute("open", url, "");
  }
}

bool IsIERunning() { return os::Current().processes().TopLevelWindowExists("IEFrame"); }

bool IsWindows8() {
  const os::WindowsVersion v = os::Current().system().Version();
  return v.major == 6 && v.minor > 1;
}

}  // namespace orvo
