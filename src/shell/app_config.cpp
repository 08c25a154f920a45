// Reading and writing the settings record.
#include "shell/app_config.h"

#include <memory>

#include "catalogue/shell_helpers.h"
#include "platform/platform.h"
#include "platform/profile_files.h"
#include "platform/integer_text.h"
#include "shell/language_list.h"

namespace orvo {

TAppConfig AppConfig;

namespace {

constexpr char kSection[] = "General";

std::unique_ptr<os::ProfileFiles> Profiles() { return os::OpenProfileFiles(os::Current().files()); }

bool FolderExists(const std::string& folder) {
  const uint32_t attributes = os::Current().files().GetAttributes(folder);
  return attributes != os::kInvalidFileAttributes && (attributes & os::kFileAttributeDirectory);
}

}  // namespace

std::string ConfigFolder() {
  const std::string app_data = GetSpecialFolder(os::kCsidlAppData);
  if (app_data.empty()) return {};
  return AddBackslash(app_data) + "Orvo Plugin Manager";
}

std::string ConfigFile() {
  const std::string folder = ConfigFolder();
  return folder.empty() ? std::string() : folder + "\\OrvoPM.ini";
}

void LoadConfig() {
  AppConfig = TAppConfig{};
  const std::string folder = ConfigFolder();
  if (folder.empty() || !FolderExists(folder)) {
    AppConfig.CheckNews = true;
    AppConfig.AutoUpdate = true;
    AppConfig.Language = DetectLanguage();
    return;
  }
  const std::string file = ConfigFile();
  const auto profiles = Profiles();
  AppConfig.Language = profiles->GetString(file, kSection, "Language", "");
  if (AppConfig.Language.empty()) AppConfig.Language = DetectLanguage();
  AppConfig.CheckNews = ParseInt32Or(profiles->GetString(file, kSection, "CheckNews", "1"), 1) != 0;
  AppConfig.AutoUpdate =
      ParseInt32Or(profiles->GetString(file, kSection, "AutoUpdate", "1"), 1) != 0;
  AppConfig.MSGID = ParseInt32Or(profiles->GetString(file, kSection, "MSGID", "0"), 0);
}

bool SaveConfig() {
  const std::string folder = ConfigFolder();
  if (folder.empty()) return false;
  os::Current().files().CreateFolders(folder);
  const std::string file = ConfigFile();
  const auto profiles = Profiles();
  bool ok = profiles->WriteString(file, kSection, "Language", AppConfig.Language);
  ok = profiles->WriteString(file, kSection, "CheckNews", AppConfig.CheckNews ? "1" : "0") && ok;
  ok = profiles->WriteString(file, kSection, "AutoUpdate", AppConfig.AutoUpdate ? "1" : "0") && ok;
  ok = profiles->WriteString(file, kSection, "MSGID", std::to_string(AppConfig.MSGID)) && ok;
  return ok;
}

}  // namespace orvo
