// Listing the language files and matching the user's interface language.
#include "shell/language_list.h"

#include <cstdio>

#include "platform/platform.h"
#include "platform/program_files.h"
#include "platform/text.h"
#include "shell/language.h"
#include "shell/language_text.h"

namespace orvo {
namespace {

bool CodeListHolds(std::string_view codes, std::string_view wanted) {
  size_t start = 0;
  for (;;) {
    const size_t bar = codes.find('|', start);
    if (EqualsNoCase(codes.substr(start, bar - start), wanted)) return true;
    if (bar == std::string_view::npos) return false;
    start = bar + 1;
  }
}

}  // namespace

std::vector<std::string> ListLanguages() {
  std::vector<std::string> names;
  os::ProgramFolder* folder = ProgramFolder();
  std::vector<os::FolderEntry> entries;
  if (!folder || !folder->ListFolder(LanguagesFolder(), &entries)) return names;
  for (const auto& entry : entries) {
    const std::string& name = entry.name;
    if (name.size() > 4 && EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".ini")) {
      names.push_back(name.substr(0, name.size() - 4));
    }
  }
  return names;
}

std::string DetectLanguage() { return DetectLanguageFor(os::Current().system().UserUiLanguage()); }

std::string DetectLanguageFor(uint16_t ui_language) {
  char wanted[8];
  // NOLINTNEXTLINE(cert-err33-c): the buffer holds the longest text of the format
  std::snprintf(wanted, sizeof wanted, "%04X", static_cast<unsigned>(ui_language));
  os::ProgramFolder* folder = ProgramFolder();
  for (const std::string& name : ListLanguages()) {
    const std::string path = LanguageFilePath(name);
    if (!folder->Exists(path)) continue;
    const auto text = ReadLanguageFile(*folder, path);
    if (!text) break;
    const std::string* codes = text->Find("Translation", "LangCode");
    if (codes && CodeListHolds(*codes, wanted)) return name;
  }
  return "English";
}

}  // namespace orvo
