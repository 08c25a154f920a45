// Which Firefox profile is read, and the names it shows: profiles.ini's profiles and the
// install's choice, a profile an older Firefox left (extensions.json alone, written as
// before), names in the language the browser asks for, and the prefs.js lines that say so.
#include <gtest/gtest.h>

#include "catalogue/firefox_extensions.h"
#include "catalogue/firefox_locale.h"
#include "catalogue/firefox_prefs.h"
#include "catalogue/shell_helpers.h"
#include "catalogue_fixture.h"
#include "firefox_check.h"

namespace orvo {
namespace {

using test::FindById;
using namespace test::firefox;

std::string EndOf(const std::string& text, size_t n) {
  return text.size() < n ? text : text.substr(text.size() - n);
}

class FirefoxProfileChoice : public ::testing::Test {
 protected:
  void SetUp() override { TFireFoxExtensions::DownloadIcons = false; }
  void TearDown() override { TFireFoxExtensions::DownloadIcons = true; }
  std::string Firefox() { return GetSpecialFolder(os::kCsidlAppData) + "\\Mozilla\\Firefox\\"; }
  test::TestMachine machine{test::DemoOptions()};
};

TEST_F(FirefoxProfileChoice, TheInstallsDefaultIsTheProfileShownAndEveryProfileCanBeRead) {
  TFireFoxExtensions shown;  // [Profile0] is "work"; the install chose the other
  ASSERT_EQ(shown.Profiles.size(), 2u);
  EXPECT_EQ(shown.Profiles[0].Name, "default-release");
  EXPECT_EQ(shown.Profiles[1].Name, "work");
  EXPECT_EQ(shown.ProfileName, "default-release");
  EXPECT_EQ(shown.ProfileCaption(), "default-release");
  EXPECT_EQ(shown.ProfileDir, Firefox() + "Profiles\\k3x9q2lm.default\\");

  TFireFoxExtensions work("work");
  EXPECT_EQ(work.ProfileDir, Firefox() + "Profiles\\w0rk5pce.work\\");
  EXPECT_EQ(work.LoadError, "");
  EXPECT_EQ(work.GetCount(), 5);  // two add-ons, three plug-ins
  EXPECT_NE(FindById(work, kMeetingNotes), nullptr);
  EXPECT_EQ(work.ProfileName, "work");
  EXPECT_EQ(TFireFoxExtensions("WORK").ProfileDir, work.ProfileDir);

  TFireFoxExtensions missing("nosuch");  // as every catalogue answers a profile it lacks
  EXPECT_EQ(missing.ProfileName, "");
  EXPECT_EQ(missing.ProfileDir, "");
  EXPECT_EQ(missing.GetCount(), 0);
  EXPECT_EQ(missing.LoadError, "");
}

TEST_F(FirefoxProfileChoice, ProfilesIniDecidesTheProfileFolder) {
  struct Case {
    const char* ini;
    const char* profile_dir;  // below the Firefox folder, or a full path
  };
  const Case cases[] = {
      // No install section: [Profile0]'s Path, below the Firefox folder, whatever IsRelative says.
      {"[Profile0]\r\nPath=Profiles/abc.default\r\n", "Profiles\\abc.default\\"},
      {"[Profile1]\r\nPath=Profiles/other\r\n", "\\"},
      {"[Profile0]\r\nPath=../../../Windows\r\n", "\\"},
      {"", "\\"},
      // The install's Default= names a profile by its Path.
      {"[Install1234]\r\nDefault=Profiles/b\r\n[Profile0]\r\nName=a\r\nPath=Profiles/a\r\n"
       "[Profile1]\r\nName=b\r\nPath=Profiles/b\r\n",
       "Profiles\\b\\"},
      {"[Install1234]\r\nDefault=D:\\Firefox "
       "Profiles\\mine\r\n[Profile0]\r\nName=a\r\nPath=Profiles/a\r\n"
       "[Profile1]\r\nName=mine\r\nIsRelative=0\r\nPath=D:\\Firefox Profiles\\mine\r\n",
       "D:\\Firefox Profiles\\mine\\"},
      // A Default= naming no usable profile falls back to the old rule.
      {"[Install1234]\r\nDefault=Profiles/gone\r\n[Profile0]\r\nName=a\r\nPath=Profiles/a\r\n",
       "Profiles\\a\\"},
      {"[Install1234]\r\nDefault=../x\r\n[Profile0]\r\nName=a\r\nPath=Profiles/"
       "a\r\n[Profile1]\r\nName=x\r\nPath=../x\r\n",
       "Profiles\\a\\"},
      {"[Install1234]\r\nDefault=relative\r\n[Profile0]\r\nName=a\r\nPath=Profiles/a\r\n"
       "[Profile1]\r\nName=r\r\nIsRelative=0\r\nPath=relative\r\n",
       "Profiles\\a\\"},
  };
  for (const auto& c : cases) {
    machine.WriteFile(Firefox() + "profiles.ini", c.ini);
    const std::string expected = std::string(c.profile_dir).find(':') != std::string::npos
                                     ? std::string(c.profile_dir)
                                     : Firefox() + c.profile_dir;
    EXPECT_EQ(TFireFoxExtensions().ProfileDir, expected) << c.ini;
  }
}

// A profile an older Firefox used, without a startup cache: switches write extensions.json
// alone, the two flags as before, and no cache appears.
TEST_F(FirefoxProfileChoice, AnOlderProfileIsWrittenAsBefore) {
  TFireFoxExtensions work("work");
  ASSERT_EQ(work.StartupCache, nullptr);
  const std::string file = work.ProfileDir + "extensions.json";
  Json expected = test::ReadJson(file);
  ASSERT_TRUE(work.ToggleItem(FindById(work, kMeetingNotes)));
  ASSERT_TRUE(work.ToggleItem(FindById(work, kOldTabs)));
  for (auto& a : expected["addons"]) {
    a["userDisabled"] = a["id"] == kMeetingNotes;
    a["active"] = a["id"] != kMeetingNotes;
  }
  EXPECT_EQ(test::ReadJson(file).dump(), expected.dump());
  EXPECT_FALSE(PathExistsEx(work.ProfileDir + "addonStartup.json.lz4"));
  EXPECT_FALSE(PathExistsEx(work.ProfileDir + "prefs.js.tmp"));
  ASSERT_TRUE(work.DeleteItem(FindById(work, kOldTabs)));
  EXPECT_EQ(test::ReadJson(file)["addons"].size(), 1u);
}

// The first translation used to win whatever its language: an English user saw German.
TEST_F(FirefoxProfileChoice, NamesComeInTheLanguageTheBrowserAsksFor) {
  const std::string prefs = TFireFoxExtensions().ProfileDir + "prefs.js";
  const std::string base = test::ReadText(prefs);
  const struct {
    const char* requested;  // intl.locale.requested; null: not set (the Windows language, English)
    const char* name;
  } cases[] = {
      {nullptr, "Tab Tidy for Firefox"},   {"de", "Tab Tidy für Firefox"},
      {"de-AT", "Tab Tidy für Firefox"},    // the bare language
      {"es-MX", "Ordenar pestañas"},        // another region of the language
      {"bg, de", "Подреждане на раздели"},  // the first that has one
      {"ja,de", "Tab Tidy für Firefox"},   {"fr", "Tab Tidy for Firefox"},  // none: the default
      {"", "Tab Tidy for Firefox"},  // empty: the Windows language
  };
  for (const auto& c : cases) {
    machine.WriteFile(
        prefs, c.requested ? WithUserPrefString(base, "intl.locale.requested", c.requested) : base);
    TFireFoxExtensions ff;
    EXPECT_EQ(FindById(ff, kTabTidy)->Name, c.name) << (c.requested ? c.requested : "(none)");
  }
  TFireFoxExtensions work("work");
  EXPECT_EQ(FindById(work, kOldTabs)->Name, "Old Tab Mover");  // its only translation is German
}

TEST(FirefoxLocales, TheBrowsersRuleForTranslations) {
  const Json addon = Json::parse(R"({
    "defaultLocale": {"name": "Übersetzer"},
    "locales": [{"name": "Traductor", "locales": ["es"]},
                {"name": "Translator", "locales": ["en-US", "en-GB"]},
                {"name": "Nameless"},
                {"name": "Prevodilac", "locales": ["sr_Latn"]}]})");
  const auto name = [&](std::vector<std::string> requested) {
    const Json* chosen = SelectedLocale(addon, requested);
    return chosen ? StringMember(*chosen, "name") : "<none>";
  };
  EXPECT_EQ(name({"ja-JP", "en-US"}), "Translator");  // en-US is always the last choice
  EXPECT_EQ(name({"ja-JP"}), "Übersetzer");
  EXPECT_EQ(name({"es-419"}), "Traductor");
  EXPECT_EQ(name({"EN-gb"}), "Translator");
  EXPECT_EQ(name({"sr-latn"}), "Prevodilac");
  EXPECT_EQ(name({}), "Übersetzer");
  EXPECT_EQ(SelectedLocale(Json::object(), {"de"}), nullptr);

  EXPECT_EQ(FirefoxRequestedLocales(std::nullopt, std::nullopt, 0x0411),
            (std::vector<std::string>{"ja-JP", "en-US"}));
  EXPECT_EQ(FirefoxRequestedLocales(std::string(" de , fr "), std::string("it"), 0x0411),
            (std::vector<std::string>{"de", "fr", "en-US"}));
  EXPECT_EQ(FirefoxRequestedLocales(std::string(""), std::string("it"), 0x0409),
            (std::vector<std::string>{"it", "en-US"}));
  EXPECT_EQ(FirefoxRequestedLocales(std::string("en-us"), std::nullopt, 0x0409),
            (std::vector<std::string>{"en-us"}));
  EXPECT_EQ(LanguageTagOfLangId(0x0407), "de-DE");
  EXPECT_EQ(LanguageTagOfLangId(0x0C07), "de-AT");
  EXPECT_EQ(LanguageTagOfLangId(0x0416), "pt-BR");
  EXPECT_EQ(LanguageTagOfLangId(0x2409),
            "en");  // a region Windows knows and we do not: the language
  EXPECT_EQ(LanguageTagOfLangId(0x0000), "");
}

TEST(FirefoxPrefs, PreferenceLinesAsTheBrowserWritesAndReadsThem) {
  const std::string prefs =
      "// Mozilla User Preferences\r\n\r\n"
      "user_pref(\"a.b\", \"one \\\"quoted\\\" \\\\ back\\nslash\");\r\n"
      "user_pref('single', 'it\\'s');\r\n"
      "user_pref(\"number\", 36);\r\n"
      "user_pref(\"escapes\", \"\\x41\\u00fc\");\r\n"
      "user_pref(\"twice\", \"first\");\r\n"
      "user_pref(\"twice\", \"second\");\r\n";
  EXPECT_EQ(UserPrefString(prefs, "a.b"), "one \"quoted\" \\ back\nslash");
  EXPECT_EQ(UserPrefString(prefs, "single"), "it's");
  EXPECT_EQ(UserPrefString(prefs, "number"), std::nullopt);
  EXPECT_EQ(UserPrefString(prefs, "escapes"), "A\xC3\xBC");
  EXPECT_EQ(UserPrefString(prefs, "twice"), "second");
  EXPECT_EQ(UserPrefString(prefs, "a"), std::nullopt);
  EXPECT_EQ(UserPrefString("user_pref(\"cut\", \"no end", "cut"), std::nullopt);

  const std::string changed = WithUserPrefString(prefs, "twice", "a \"b\" \\c");
  EXPECT_EQ(UserPrefString(changed, "twice"), "a \"b\" \\c");
  const std::string line = "user_pref(\"twice\", \"a \\\"b\\\" \\\\c\");\r\n";
  EXPECT_EQ(EndOf(changed, line.size()), line) << changed;  // where the first line of it stood
  EXPECT_EQ(changed.find("first"), std::string::npos);
  EXPECT_EQ(changed.find("\n\n"), std::string::npos);  // line ends kept as CR LF
  EXPECT_EQ(UserPrefString(changed, "a.b"), UserPrefString(prefs, "a.b"));
  const std::string added = WithUserPrefString("user_pref(\"x\", 1);", "new", "v");
  EXPECT_EQ(added, "user_pref(\"x\", 1);\nuser_pref(\"new\", \"v\");\n");
  EXPECT_EQ(WithUserPrefString("", "new", "v"), "user_pref(\"new\", \"v\");\n");
  EXPECT_EQ(EndOf(WithUserPrefString(prefs, "new", "v"), 24), "user_pref(\"new\", \"v\");\r\n");
}

}  // namespace
}  // namespace orvo
