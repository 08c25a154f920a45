#pragma once
// Translated texts. Every text a user reads is looked up by section and key: first in the
// active language file (LanguageFile, one of the "Languages" folder beside the program),
// then in the built-in English file (the "MEMLANG" raw-data resource), then the caller's
// default. All of it runs on the main thread; nothing here locks.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvo::os {
class ProgramFolder;
}

namespace orvo {

// Sent (synchronously, no parameters) to the main window after a language switch; the
// base form handles it by applying the language again.
inline constexpr uint32_t kWmApplyLanguage = 14404;

// The program's folder as the language code sees it. Opened from the executable's folder
// on first use unless one was installed before (tests, the native program's options);
// null when the executable's folder can't be found, and then no language file exists.
void UseProgramFolder(std::unique_ptr<os::ProgramFolder> folder);
os::ProgramFolder* ProgramFolder();
// Folder() + "Languages" + separator, and that + name + ".ini"; empty without a folder.
std::string LanguagesFolder();
std::string LanguageFilePath(std::string_view name);

// The full path of the active language file ("" before ChooseLanguageFile).
const std::string& LanguageFile();
// Sets LanguageFile without any test, and forgets the active text (the language switch).
void SetLanguageFile(std::string path);

// Start-up: LanguageFile := the file of that language when it exists, else the English
// file whether or not that exists. A name that is not a plain file name (holding a path
// separator, a drive colon, or being "." or "..") is not looked up: the settings file is
// the user's to edit, and must not lead us to read files outside the Languages folder.
void ChooseLanguageFile(std::string_view name);

// Forgets the active text and parses LanguageFile again, if that file exists.
void ReloadLanguage();
// Parses the "MEMLANG" resource into the built-in text; any failure leaves it absent.
void LoadBuiltinLanguage();

// The text of the key: the active file's value when present and not empty, else the
// built-in text's value, else `fallback`. An empty section or key gives "". A language
// file that is missing is looked for again on the next lookup; one that exists but is not
// a usable language file is not read again until LanguageFile changes or ReloadLanguage.
std::string GetLangString(std::string_view section, std::string_view key,
                          std::string_view fallback);

// Back to the state of a process that has read nothing: no LanguageFile, no active or
// built-in text. The installed program folder stays.
void ResetLanguage();

}  // namespace orvo
