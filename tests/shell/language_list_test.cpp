// Which languages are listed and detected, the menu's language entries, and the switch.
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/app_config.h"
#include "shell/language.h"
#include "shell/language_list.h"
#include "shell/language_menu.h"
#include "shell/shell_fixture.h"

namespace orvo::test {
namespace {

class LanguageListTest : public ShellTest {
 protected:
  void WriteCodes(const char* name, const char* codes) {
    WriteLanguage(name, Utf16File(std::string("[Translation]\r\nLangCode=") + codes + "\r\n"));
  }
};

TEST_F(LanguageListTest, ListsTheBaseNamesOfIniFilesOnly) {
  EXPECT_TRUE(ListLanguages().empty()) << "no Languages folder";
  InstallShippedLanguages();
  WriteLanguage("Chinese (Traditional)", Utf16File(""));
  WriteHostFile(languages() + "Notes.txt", "x");
  WriteHostFile(LanguagePath("Old.ini"), "");  // "Old.ini.ini" lists as "Old.ini"
  auto names = ListLanguages();
  if (!machine().sandbox()) std::sort(names.begin(), names.end());  // the file system's order
  EXPECT_EQ(names,
            (std::vector<std::string>{"Chinese (Traditional)", "English", "German", "Old.ini"}));
}

TEST_F(LanguageListTest, DetectionMatchesTheFirstFileListingTheInterfaceLanguage) {
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, const char*>> files;  // name, LangCode (nullptr: none)
    uint16_t ui;
    const char* expected;
  } cases[] = {
      {"English and German, US English",
       {{"English", "0409"}, {"German", "0407|0807"}},
       0x0409,
       "English"},
      {"English and German, German",
       {{"English", "0409"}, {"German", "0407|0807"}},
       0x0407,
       "German"},
      {"lower-case digits match",
       {{"Zulu",
         "0C09|2809|1009|2409|4009|1809|2009|4409|1409|3409|4809|1c09|2C09|0809|0409|3009"}},
       0x1C09,
       "Zulu"},
      {"blanks around bars never match", {{"Spaced", "0409 | 0407|0C07"}}, 0x0407, "English"},
      {"blank before the bar", {{"Spaced", "0409 | 0407|0C07"}}, 0x0409, "English"},
      {"the entry without blanks matches", {{"Spaced", "0409 | 0407|0C07"}}, 0x0C07, "Spaced"},
      {"no LangCode never matches", {{"Bare", nullptr}}, 0x0409, "English"},
      {"the first in listing order wins", {{"Alpha", "0407"}, {"Beta", "0407"}}, 0x0407, "Alpha"},
      {"nothing matches", {{"German", "0407"}}, 0x0411, "English"},
      {"no files", {}, 0x0407, "English"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RemoveHostFile(languages());
    for (const auto& [name, codes] : c.files) {
      if (codes) {
        WriteCodes(name, codes);
      } else {
        WriteLanguage(name, Utf16File("[Translation]\r\nLanguageName=X\r\n"));
      }
    }
    if (!machine().sandbox() && std::string(c.what) == "the first in listing order wins") {
      const auto names = ListLanguages();
      ASSERT_FALSE(names.empty());
      EXPECT_EQ(DetectLanguageFor(c.ui), names.front());
      continue;
    }
    EXPECT_EQ(DetectLanguageFor(c.ui), c.expected);
  }
}

TEST_F(LanguageListTest, DetectionStopsAtAFileThatCannotBeRead) {
  WriteLanguage("Aaa", std::string("\0\1\2\3", 4));
  WriteCodes("German", "0407");
  const auto names = ListLanguages();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(DetectLanguageFor(0x0407), names.front() == "Aaa" ? "English" : "German");
}

TEST_F(LanguageListTest, MenuEntriesListCaptionsAndTheActiveLanguage) {
  InstallShippedLanguages();
  WriteLanguage("Nameless", Utf16File("[Translation]\r\nLanguageName=X\r\n"));
  ChooseLanguageFile("German");
  auto entries = BuildLanguageEntries();
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].caption, "English");
  EXPECT_FALSE(entries[0].checked);
  EXPECT_EQ(entries[1].caption, "Deutsch");
  EXPECT_TRUE(entries[1].checked);
  EXPECT_EQ(entries[2].caption, "Nameless");  // no NativeLanguage: the name
  EXPECT_FALSE(entries[2].checked);
}

TEST_F(LanguageListTest, ANameInsideTheActivePathIsCheckedToo) {
  WriteLanguage("Chinese", Utf16File("[Lang]\r\nNativeLanguage=中文(简体)\r\n"));
  WriteLanguage("Chinese (Traditional)", Utf16File("[Lang]\r\nNativeLanguage=中文(繁體)\r\n"));
  ChooseLanguageFile("Chinese (Traditional)");
  for (const auto& e : BuildLanguageEntries()) {
    EXPECT_TRUE(e.checked) << e.name;
    EXPECT_EQ(e.caption, e.name == "Chinese" ? "中文(简体)" : "中文(繁體)");
  }
  ChooseLanguageFile("Chinese");
  for (const auto& e : BuildLanguageEntries()) EXPECT_EQ(e.checked, e.name == "Chinese") << e.name;
}

TEST_F(LanguageListTest, PickingALanguageSavesItAndReloadsTheTexts) {
  InstallShippedLanguages();
  AppConfig = TAppConfig{"English", true, false, 7};
  ChooseLanguageFile("English");
  EXPECT_EQ(GetLangString("Translation", "TMainFormMenu.MenuItem7", ""), "Language");

  EXPECT_TRUE(SwitchLanguage("German", true));
  EXPECT_EQ(AppConfig.Language, "German");
  EXPECT_EQ(LanguageFile(), LanguagePath("German"));
  EXPECT_EQ(GetLangString("Translation", "TMainFormMenu.MenuItem7", ""), "Sprache");
  const std::string saved = SettingsText();
  EXPECT_NE(saved.find("Language=German"), std::string::npos) << saved;
  EXPECT_NE(saved.find("AutoUpdate=0"), std::string::npos) << saved;
  EXPECT_NE(saved.find("MSGID=7"), std::string::npos) << saved;
}

TEST_F(LanguageListTest, ClickingTheCheckedLanguageChangesNothing) {
  InstallShippedLanguages();
  AppConfig.Language = "German";
  ChooseLanguageFile("German");
  // The menu has unchecked the entry before its handler runs.
  EXPECT_FALSE(SwitchLanguage("German", false));
  EXPECT_EQ(LanguageFile(), LanguagePath("German"));
  EXPECT_FALSE(SettingsFolderExists()) << "nothing was saved";
  // The mark comes back when the menu is next built.
  for (const auto& e : BuildLanguageEntries()) EXPECT_EQ(e.checked, e.name == "German");
}

TEST_F(LanguageListTest, PickingALanguageWhoseFileVanishedShowsTheBuiltinText) {
  InstallShippedLanguages();
  ChooseLanguageFile("English");
  RemoveLanguage("German");
  EXPECT_TRUE(SwitchLanguage("German", true));
  EXPECT_EQ(LanguageFile(), LanguagePath("German"));
  EXPECT_EQ(GetLangString("Translation", "TMainFormMenu.MenuItem7", ""), "Language");
}

}  // namespace
}  // namespace orvo::test
