// A current Firefox profile (the demo image's): the startup cache the browser starts
// add-ons from changes with every switch and delete, together with extensions.json and,
// for themes, prefs.js; the three never disagree, also when a write is refused.
#include <gtest/gtest.h>

#include "catalogue/file_set_write.h"
#include "catalogue/firefox_entries.h"
#include "catalogue/firefox_extensions.h"
#include "catalogue/json_writer.h"
#include "catalogue/moz_lz4.h"
#include "catalogue/shell_helpers.h"
#include "catalogue_fixture.h"
#include "firefox_check.h"

namespace orvo {
namespace {

using test::FindById;
using namespace test::firefox;

class FirefoxCurrent : public ::testing::Test {
 protected:
  void SetUp() override { TFireFoxExtensions::DownloadIcons = false; }
  void TearDown() override { TFireFoxExtensions::DownloadIcons = true; }

  std::string Profile() { return TFireFoxExtensions().ProfileDir; }
  std::string Cache() { return Profile() + "addonStartup.json.lz4"; }
  std::string Extensions() { return Profile() + "extensions.json"; }
  Json CacheState(const std::string& location, const std::string& id) {
    const Json cache = test::ReadStartupCacheByHand(Cache());
    return cache.contains(location) && cache[location]["addons"].contains(id)
               ? cache[location]["addons"][id]
               : Json();
  }
  // The three files as bytes, to show that a refused change left them alone.
  std::string Files() {
    return test::ReadText(Extensions()) + test::ReadText(Cache()) +
           test::ReadText(Profile() + "prefs.js");
  }

  test::TestMachine machine{test::DemoOptions()};
};

TEST_F(FirefoxCurrent, TheDemoProfileAgreesAndListsWhatTheBrowserShows) {
  ASSERT_TRUE(test::ProfileAgrees(Profile()));
  TFireFoxExtensions ff;
  EXPECT_EQ(ff.LoadError, "");
  ASSERT_NE(ff.StartupCache, nullptr);
  ASSERT_EQ(ff.GetCount(), 13);  // ten add-ons and the three plug-ins
  const struct {
    const char* id;
    const char* kind;
    bool disabled;
    bool owned;
  } expected[] = {
      {kTabTidy, "extension", false, false}, {kCookies, "extension", true, false},
      {kToolbar, "extension", true, false},  // soft-blocked: off in the browser
      {kDarkFox, "theme", false, false},     {kDefaultTheme, "theme", true, true},
      {kLangpack, "locale", false, false},   {kDictionary, "dictionary", false, false},
      {kAutofill, "extension", false, true},
  };
  for (const auto& e : expected) {
    const TBrowserExtensionInfo* item = FindById(ff, e.id);
    ASSERT_NE(item, nullptr) << e.id;
    EXPECT_EQ(item->TypeName, e.kind) << e.id;
    EXPECT_EQ(item->Disabled, e.disabled) << e.id;
    EXPECT_EQ(item->BrowserOwned, e.owned) << e.id;
  }
  EXPECT_EQ(FindById(ff, kTabTidy)->Name,
            "Tab Tidy for Firefox");  // no English translation: the default
  EXPECT_EQ(FindById(ff, kLangpack)->Version, "115.0.20230710.165010");
  EXPECT_NE(FindById(ff, kTabTidy)->Path.find("\\extensions\\tabtidy@orvo-demo.example.xpi"),
            std::string::npos);
  EXPECT_NE(FindById(ff, kCookies)->SwitchLock.find("keeps it off"), std::string::npos);
  EXPECT_NE(FindById(ff, kAutofill)->SwitchLock.find("part of Firefox"), std::string::npos);
  EXPECT_EQ(FindById(ff, kTabTidy)->SwitchLock, "");
}

TEST_F(FirefoxCurrent, SwitchesReachTheStartupCache) {
  TFireFoxExtensions ff;
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kTabTidy)));
  EXPECT_TRUE(FindById(ff, kTabTidy)->Disabled);
  EXPECT_EQ(CacheState("app-profile", kTabTidy)["enabled"], false);
  EXPECT_TRUE(test::ProfileAgrees(Profile()));
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kTabTidy)));
  EXPECT_EQ(CacheState("app-profile", kTabTidy)["enabled"], true);
  EXPECT_TRUE(test::ProfileAgrees(Profile()));

  // Turning a soft-blocked add-on on lifts the block, as the browser's own switch does.
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kToolbar)));
  EXPECT_FALSE(FindById(ff, kToolbar)->Disabled);
  const Json written = test::ReadJson(Extensions());
  int lifted = 0;
  for (const auto& e : written["addons"]) {
    if (e["id"] == kToolbar && e["softDisabled"] == false) ++lifted;
  }
  EXPECT_EQ(lifted, 1);
  EXPECT_EQ(CacheState("app-profile", kToolbar)["enabled"], true);
  EXPECT_TRUE(test::ProfileAgrees(Profile()));

  // What the cache held beside the flag is kept as it was.
  EXPECT_EQ(CacheState("app-profile", kTabTidy)["rootURI"],
            "jar:file:///C:/Users/demo/AppData/Roaming/Mozilla/Firefox/Profiles/k3x9q2lm.default/"
            "extensions/"
            "tabtidy@orvo-demo.example.xpi!/");
  TFireFoxExtensions again;
  EXPECT_FALSE(FindById(again, kToolbar)->Disabled);
}

// One theme at a time, as the browser keeps them: turning one on turns the other off;
// turning the one that is on off brings the default theme back; the default theme itself
// only goes when another replaces it.
TEST_F(FirefoxCurrent, ThemesAreOnOneAtATime) {
  TFireFoxExtensions ff;
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kDefaultTheme)));
  EXPECT_FALSE(FindById(ff, kDefaultTheme)->Disabled);
  EXPECT_TRUE(FindById(ff, kDarkFox)->Disabled);
  EXPECT_EQ(CacheState("app-builtin", kDefaultTheme)["enabled"], true);
  EXPECT_TRUE(test::ProfileAgrees(Profile()));

  const std::string before = Files();
  const ChangeResult refused = ff.ToggleItem(FindById(ff, kDefaultTheme));
  EXPECT_FALSE(refused);
  EXPECT_NE(refused.message.find("another theme"), std::string::npos) << refused.message;
  EXPECT_EQ(Files(), before);

  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kDarkFox)));
  EXPECT_TRUE(FindById(ff, kDefaultTheme)->Disabled);
  EXPECT_TRUE(test::ProfileAgrees(Profile()));
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kDarkFox)));
  EXPECT_FALSE(FindById(ff, kDefaultTheme)->Disabled);
  EXPECT_TRUE(test::ProfileAgrees(Profile()));
  // The rest of prefs.js is untouched.
  EXPECT_NE(test::ReadText(Profile() + "prefs.js")
                .find("user_pref(\"browser.startup.homepage\", \"https://www.example.org/\");\r\n"),
            std::string::npos);
}

// What the browser keeps to itself is refused with the reason, and nothing is written.
TEST_F(FirefoxCurrent, TheBrowsersOwnDecisionsAreShownNotChanged) {
  TFireFoxExtensions ff;
  const std::string before = Files();
  for (const char* id : {kCookies, kAutofill}) {
    const ChangeResult r = ff.ToggleItem(FindById(ff, id));
    EXPECT_FALSE(r) << id;
    EXPECT_NE(r.message.find("cannot be"), std::string::npos) << r.message;
  }
  EXPECT_TRUE(FindById(ff, kCookies)->Disabled);
  EXPECT_FALSE(FindById(ff, kAutofill)->Disabled);
  for (const char* id : {kDefaultTheme, kAutofill}) {
    TBrowserExtensionInfo* item = FindById(ff, id);
    const ChangeResult r = ff.DeleteItem(item);
    EXPECT_FALSE(r) << id;
    EXPECT_NE(r.message.find("part of Firefox"), std::string::npos) << r.message;
    EXPECT_EQ(FindById(ff, id), item);
  }
  EXPECT_EQ(Files(), before);
  EXPECT_TRUE(PathExistsEx(
      "C:\\Program Files (x86)\\Mozilla Firefox\\browser\\features\\formautofill@mozilla.org.xpi"));
}

TEST_F(FirefoxCurrent, ADeleteTakesTheAddOnOutOfTheStartupCache) {
  TFireFoxExtensions ff;
  const std::string xpi = FindById(ff, kTabTidy)->Path;
  ASSERT_TRUE(ff.DeleteItem(FindById(ff, kTabTidy)));
  EXPECT_FALSE(PathExistsEx(xpi));
  EXPECT_TRUE(CacheState("app-profile", kTabTidy).is_null());
  EXPECT_TRUE(test::ProfileAgrees(Profile()));

  // Without the theme that was on, the default theme comes back on.
  ASSERT_TRUE(ff.DeleteItem(FindById(ff, kDarkFox)));
  EXPECT_FALSE(FindById(ff, kDefaultTheme)->Disabled);
  EXPECT_TRUE(test::ProfileAgrees(Profile()));
  EXPECT_EQ(TFireFoxExtensions().GetCount(), 11);
}

// A file that refuses the write leaves every file as it was: the cache written first is
// put back when extensions.json refuses, and nothing is deleted when a store cannot take
// the change.
TEST_F(FirefoxCurrent, ARefusedWriteLeavesAllThreeFilesAsTheyWere) {
  TFireFoxExtensions ff;
  const std::string before = Files();
  for (const std::string& refusing : {Cache(), Extensions(), Profile() + "prefs.js"}) {
    ASSERT_TRUE(os::Current().files().SetAttributes(refusing, os::kFileAttributeReadOnly));
    const char* id = refusing == Profile() + "prefs.js" ? kDefaultTheme : kTabTidy;
    const ChangeResult r = ff.ToggleItem(FindById(ff, id));
    EXPECT_FALSE(r) << refusing;
    EXPECT_NE(r.message.find(refusing), std::string::npos) << r.message;
    EXPECT_EQ(r.message.find("could not be put back"), std::string::npos) << r.message;
    EXPECT_EQ(FindById(ff, id)->Disabled, id == kDefaultTheme);
    EXPECT_FALSE(FindById(ff, kDarkFox)->Disabled);

    const std::string xpi = FindById(ff, kTabTidy)->Path;
    const ChangeResult d = ff.DeleteItem(FindById(ff, kTabTidy));
    if (refusing != Profile() + "prefs.js") {
      EXPECT_FALSE(d) << refusing;
      EXPECT_TRUE(PathExistsEx(xpi)) << refusing;
      EXPECT_NE(FindById(ff, kTabTidy), nullptr);
    }
    ASSERT_TRUE(os::Current().files().SetAttributes(refusing, 0));
    if (d) break;  // prefs.js is not needed to delete an extension
    EXPECT_EQ(Files(), before) << refusing;
  }
  // The held documents were not changed either: the next change writes only itself.
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kUebersetzer)));
  EXPECT_TRUE(test::ProfileAgrees(Profile()));
}

// Deleting the theme that is on changes prefs.js too: a prefs.js that cannot take it stops
// the delete before any file goes.
TEST_F(FirefoxCurrent, AThemesDeleteNeedsPrefsJsBeforeItsFilesGo) {
  TFireFoxExtensions ff;
  const std::string xpi = FindById(ff, kDarkFox)->Path;
  const std::string before = Files();
  ASSERT_TRUE(
      os::Current().files().SetAttributes(Profile() + "prefs.js", os::kFileAttributeReadOnly));
  const ChangeResult r = ff.DeleteItem(FindById(ff, kDarkFox));
  ASSERT_TRUE(os::Current().files().SetAttributes(Profile() + "prefs.js", 0));
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("prefs.js is read-only"), std::string::npos) << r.message;
  EXPECT_TRUE(PathExistsEx(xpi));
  EXPECT_EQ(Files(), before);
  ASSERT_TRUE(ff.DeleteItem(FindById(ff, kDarkFox)));
  EXPECT_TRUE(test::ProfileAgrees(Profile()));
}

// A switch taken back leaves the entries exactly as they were, members that were missing
// included; a set of files where one refuses is put back whole, a new file removed again.
TEST_F(FirefoxCurrent, WhatIsTakenBackIsAsItWas) {
  Json doc =
      Json::parse(R"({"addons":[{"id":"a","userDisabled":true,"active":false,"softDisabled":true},
                                       {"id":"b","visible":true}]})");
  const std::string original = doc.dump();
  Json state = Json::object();
  EntrySwitches switches;
  switches.SetEnabled(doc["addons"][0], &state, true);
  switches.SetEnabled(doc["addons"][1], nullptr, false);
  switches.SetEnabled(doc["addons"][0], &state, false);
  EXPECT_EQ(doc["addons"][0]["softDisabled"], false);
  switches.Undo();
  EXPECT_EQ(doc.dump(), original);

  const std::string a = machine.folder() + "\\a.txt", b = machine.folder() + "\\b.txt",
                    c = machine.folder() + "\\c.txt";
  machine.WriteFile(a, "old a");
  machine.WriteFile(c, "old c");
  ASSERT_TRUE(os::Current().files().SetAttributes(c, os::kFileAttributeReadOnly));
  EXPECT_EQ(WriteObstacle(c), c + " is read-only");
  EXPECT_EQ(WriteObstacle(b), "");
  const ChangeResult r = WriteFileSet({{a, "new a"}, {b, "new b"}, {c, "new c"}});
  ASSERT_TRUE(os::Current().files().SetAttributes(c, 0));
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find(c), std::string::npos) << r.message;
  EXPECT_EQ(test::ReadText(a), "old a");
  EXPECT_FALSE(PathExistsEx(b));
  EXPECT_EQ(test::ReadText(c), "old c");
  ASSERT_TRUE(WriteFileSet({{a, "new a"}, {b, "new b"}}));
  EXPECT_EQ(test::ReadText(a) + test::ReadText(b), "new anew b");
}

// An add-on the cache does not hold would not be started by the browser: turning it on is
// refused; turning it off needs only extensions.json.
TEST_F(FirefoxCurrent, AnAddOnTheCacheLacksIsNotReportedOn) {
  Json cache = test::ReadStartupCacheByHand(Cache());
  cache["app-profile"]["addons"].erase(std::string(kUebersetzer));
  cache["app-profile"]["addons"].erase(std::string(kTabTidy));
  std::string why;
  machine.WriteFile(Cache(), *EncodeMozLz4(WriteCompactJson(cache), &why));
  TFireFoxExtensions ff;
  const ChangeResult r = ff.ToggleItem(FindById(ff, kUebersetzer));
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("would not start it"), std::string::npos) << r.message;
  EXPECT_TRUE(FindById(ff, kUebersetzer)->Disabled);
  ASSERT_TRUE(ff.ToggleItem(FindById(ff, kTabTidy)));
  EXPECT_TRUE(CacheState("app-profile", kTabTidy).is_null());
}

// A cache that is there but does not read is a reason like a damaged extensions.json: the
// add-ons are listed, every change is refused. An empty file is no cache (the browser
// reads it so), and then extensions.json alone is written.
TEST_F(FirefoxCurrent, ADamagedCacheIsNamedAndAnEmptyOneIsNone) {
  machine.WriteFile(Cache(), "mozLz40\0 broken");
  TFireFoxExtensions damaged;
  EXPECT_NE(damaged.LoadError.find(Cache() + ": not a mozLz40 file"), std::string::npos)
      << damaged.LoadError;
  EXPECT_EQ(damaged.GetCount(), 13);
  EXPECT_FALSE(damaged.ToggleItem(FindById(damaged, kTabTidy)));
  EXPECT_FALSE(damaged.DeleteItem(FindById(damaged, kTabTidy)));
  EXPECT_TRUE(PathExistsEx(FindById(damaged, kTabTidy)->Path));

  machine.WriteFile(Cache(), "");
  TFireFoxExtensions empty;
  EXPECT_EQ(empty.LoadError, "");
  EXPECT_EQ(empty.StartupCache, nullptr);
  ASSERT_TRUE(empty.ToggleItem(FindById(empty, kTabTidy)));
  EXPECT_EQ(test::ReadText(Cache()), "");
}

}  // namespace
}  // namespace orvo
