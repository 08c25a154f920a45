#include "catalogue/firefox_extensions.h"

#include "catalogue/process_helpers.h"
#include "catalogue/shell_helpers.h"
#include "platform/ini_file.h"
#include "platform/platform.h"

namespace orvo {

TFireFoxExtensions::TFireFoxExtensions() {
  BrowserKind = bkFirefox;
  DisplayName = BrowserDisplayNames[bkFirefox];
  DataFileName = "extensions.json";
  ProfileDir = GetSpecialFolder(os::kCsidlAppData) + "\\Mozilla\\Firefox\\";
  os::FileSystem& files = os::Current().files();
  const uint32_t attrs = files.GetAttributes(ProfileDir);
  if (attrs == os::kInvalidFileAttributes || !(attrs & os::kFileAttributeDirectory)) return;
  std::string path;
  if (auto text = files.ReadFile(ProfileDir + "profiles.ini", size_t(1) << 20)) {
    path = IniFile::Parse(*text).GetOr("Profile0", "Path", "");
  }
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  ProfileDir += path + "\\";
}

void TFireFoxExtensions::CloseBrowser() { KillProcessesByName(BrowserProcessNames[bkFirefox]); }
bool TFireFoxExtensions::IsRunning() { return FindProcessByName(BrowserProcessNames[bkFirefox]) != 0; }
ChangeResult TFireFoxExtensions::DeleteItem(TBrowserExtensionInfo*) { return {}; }
ChangeResult TFireFoxExtensions::ToggleItem(TBrowserExtensionInfo*) { return {}; }

}  // namespace orvo
