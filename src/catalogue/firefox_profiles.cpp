#include "catalogue/firefox_profiles.h"

#include "catalogue/shell_helpers.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {
namespace {

std::string Backslashed(std::string_view path) {
  std::string out(TrimView(path));
  for (char& c : out) {
    if (c == '/') c = '\\';
  }
  return out;
}

// A full Windows path: a drive ("C:\") or a share ("\\server\").
bool IsFullPath(std::string_view path) {
  return (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || path.substr(0, 2) == "\\\\";
}

}  // namespace

FirefoxProfiles ReadFirefoxProfiles(const std::string& firefox_folder) {
  FirefoxProfiles out;
  const auto text =
      os::Current().files().ReadFile(firefox_folder + "profiles.ini", size_t(1) << 20);
  if (!text) return out;
  const IniFile ini = IniFile::Parse(*text);

  std::vector<std::string> raw_paths;  // as written, to match the installs' Default=
  for (const std::string& section : ini.Sections()) {
    if (!StartsWithNoCase(section, "Profile")) continue;
    const std::string raw = ini.GetOr(section, "Path", "");
    std::string path = Backslashed(raw);
    if (EqualsNoCase(section, "Profile0") && !HasParentStep(path)) out.profile0_path = path;
    if (path.empty() || HasParentStep(path)) continue;
    const bool relative = TrimView(ini.GetOr(section, "IsRelative", "1")) != "0";
    if (!relative && !IsFullPath(path)) continue;
    if (path.back() != '\\') path += '\\';
    out.profiles.push_back(
        {ini.GetOr(section, "Name", section), relative ? firefox_folder + path : path});
    raw_paths.push_back(Backslashed(raw));
  }
  for (const std::string& section : ini.Sections()) {
    if (!StartsWithNoCase(section, "Install") || out.install_default >= 0) continue;
    const std::string wanted = Backslashed(ini.GetOr(section, "Default", ""));
    for (size_t i = 0; i < raw_paths.size() && !wanted.empty(); ++i) {
      if (EqualsNoCase(raw_paths[i], wanted)) {
        out.install_default = static_cast<int>(i);
        break;
      }
    }
  }
  return out;
}

}  // namespace orvo
