#pragma once
// Which languages exist (the files "Languages\*.ini" beside the program) and which one a
// new user gets: the first file whose "LangCode" list names the user's interface language.
#include <cstdint>
#include <string>
#include <vector>

namespace orvo {

// Base names of "Languages\*.ini" in the order the file system lists them; empty when
// the folder is missing.
std::vector<std::string> ListLanguages();

// DetectLanguageFor with the user's interface language (GetUserDefaultUILanguage).
std::string DetectLanguage();
// The first language in ListLanguages order whose file's "LangCode" entry, cut at every
// "|" (the parts are not trimmed), holds the identifier as four hexadecimal digits in any
// letter case; "English" when none does, or as soon as a listed file can't be read.
std::string DetectLanguageFor(uint16_t ui_language);

}  // namespace orvo
