// Language entries of the main menu and the switch of language.
#include "shell/language_menu.h"

#include "platform/program_files.h"
#include "shell/app_config.h"
#include "shell/language.h"
#include "shell/language_list.h"
#include "shell/language_text.h"

namespace orvo {

std::string GetLanguageTitle(std::string_view name) {
  os::ProgramFolder* folder = ProgramFolder();
  std::optional<LanguageText> text;
  if (folder) text = ReadLanguageFile(*folder, LanguageFilePath(name));
  return text ? text->Get("Lang", "NativeLanguage", name) : std::string(name);
}

std::vector<LanguageMenuEntry> BuildLanguageEntries() {
  std::vector<LanguageMenuEntry> entries;
  for (std::string& name : ListLanguages()) {
    LanguageMenuEntry entry;
    entry.caption = GetLanguageTitle(name);
    entry.checked = LanguageFile().find(name) != std::string::npos;
    entry.name = std::move(name);
    entries.push_back(std::move(entry));
  }
  return entries;
}

bool SwitchLanguage(std::string_view name, bool checked_after_click) {
  if (!checked_after_click) return false;
  AppConfig.Language = std::string(name);
  SaveConfig();
  SetLanguageFile(LanguageFilePath(name));
  ReloadLanguage();
  return true;
}

}  // namespace orvo
