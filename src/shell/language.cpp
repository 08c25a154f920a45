// The language state of the process and the text lookup with its fallbacks.
#include "shell/language.h"

#include <optional>

#include "platform/program_files.h"
#include "shell/language_text.h"

namespace orvo {
namespace {

struct LanguageState {
  std::unique_ptr<os::ProgramFolder> folder;
  bool folder_opened = false;
  std::string language_file;
  std::optional<LanguageText> active;
  // LanguageFile as last found unusable: lookups do not read it again (a broken file of a
  // megabyte would otherwise be read for every text of every window).
  std::optional<std::string> refused_file;
  std::optional<LanguageText> builtin;
};

LanguageState& State() {
  static LanguageState state;
  return state;
}

bool IsPlainName(std::string_view name) {
  return name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace

void UseProgramFolder(std::unique_ptr<os::ProgramFolder> folder) {
  State().folder = std::move(folder);
  State().folder_opened = true;
}

os::ProgramFolder* ProgramFolder() {
  LanguageState& state = State();
  if (!state.folder_opened) {
    state.folder = os::OpenProgramFolder();
    state.folder_opened = true;
  }
  return state.folder.get();
}

std::string LanguagesFolder() {
  os::ProgramFolder* folder = ProgramFolder();
  if (!folder) return {};
  return folder->Folder() + "Languages" + folder->Separator();
}

std::string LanguageFilePath(std::string_view name) {
  const std::string languages = LanguagesFolder();
  if (languages.empty()) return {};
  return languages + std::string(name) + ".ini";
}

const std::string& LanguageFile() { return State().language_file; }

void SetLanguageFile(std::string path) {
  LanguageState& state = State();
  state.language_file = std::move(path);
  state.active.reset();
  state.refused_file.reset();
}

void ChooseLanguageFile(std::string_view name) {
  os::ProgramFolder* folder = ProgramFolder();
  const std::string path = LanguageFilePath(name);
  if (folder && IsPlainName(name) && folder->Exists(path)) {
    SetLanguageFile(path);
  } else {
    SetLanguageFile(LanguageFilePath("English"));
  }
}

void ReloadLanguage() {
  LanguageState& state = State();
  state.active.reset();
  state.refused_file.reset();
  os::ProgramFolder* folder = ProgramFolder();
  if (!folder || state.language_file.empty() || !folder->Exists(state.language_file)) return;
  state.active = ReadLanguageFile(*folder, state.language_file);
  if (!state.active) state.refused_file = state.language_file;
}

void LoadBuiltinLanguage() {
  LanguageState& state = State();
  state.builtin.reset();
  if (const auto bytes = os::FindRawResource("MEMLANG"))
    state.builtin = LanguageText::FromBytes(*bytes);
}

std::string GetLangString(std::string_view section, std::string_view key,
                          std::string_view fallback) {
  if (section.empty() || key.empty()) return {};
  LanguageState& state = State();
  if (!state.active && state.refused_file != state.language_file) ReloadLanguage();
  if (state.active) {
    if (const std::string* value = state.active->Find(section, key); value && !value->empty()) {
      return *value;
    }
  }
  if (!state.builtin) LoadBuiltinLanguage();
  if (state.builtin) return state.builtin->Get(section, key, fallback);
  return std::string(fallback);
}

void ResetLanguage() {
  LanguageState& state = State();
  state.language_file.clear();
  state.active.reset();
  state.refused_file.reset();
  state.builtin.reset();
}

}  // namespace orvo
