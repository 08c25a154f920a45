#pragma once
// The data side of the main menu's "Language" sub-menu: which entries it lists, which
// start checked, and what a click on one changes. The popup menu draws the entries and
// applies its own AutoCheck / RadioItem rule (a click on an unchecked entry checks it and
// unchecks its siblings, a click on the checked one unchecks it) before it calls
// SwitchLanguage with the entry's new state.
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

struct LanguageMenuEntry {
  std::string name;     // the language, as ListLanguages gives it
  std::string caption;  // GetLanguageTitle(name)
  bool checked = false;
};

// "NativeLanguage" of section "Lang" of the language's file; the name itself when the
// file or the entry is missing (or the file is unusable).
std::string GetLanguageTitle(std::string_view name);

// One entry per language in ListLanguages order. An entry starts checked when its name
// occurs, case-sensitively, anywhere in LanguageFile: so "Chinese" is checked beside an
// active "Chinese (Traditional)".
std::vector<LanguageMenuEntry> BuildLanguageEntries();

// A click on the language's entry, with the entry's check state after the menu flipped it.
// Unchecked: nothing happens and false comes back. Checked: Language := name, the
// settings are saved, LanguageFile := the language's file (not tested for existence), the
// active text is parsed again, and true comes back: the caller then sends
// kWmApplyLanguage to the main window, synchronously.
bool SwitchLanguage(std::string_view name, bool checked_after_click);

}  // namespace orvo
