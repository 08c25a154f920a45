// The Chrome and Opera catalogues on copies of the demo image: what they list, and what
// switching and deleting do to the profile's files.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "catalogue/chromium_extensions.h"
#include "catalogue/process_helpers.h"
#include "catalogue/system_values.h"
#include "catalogue/registry_helpers.h"
#include "catalogue/shell_helpers.h"
#include "catalogue_fixture.h"

namespace orvo {
namespace {

using test::FindById;
using test::ReadJson;
using test::ReadText;

constexpr const char* kTabTidy = "fblkdohiomlcbgpekccokebfafkgegcf";
constexpr const char* kQuietPages = "anihaiknkjpemibakigcfnienhfpllen";  // disabled, listed twice
constexpr const char* kFocusTimer = "jncomfdhcfpipkdaadmddodcbbfkgkbb";  // no "state"
constexpr const char* kTraductor = "fckefgffhlnlbmeifijckdeeanobagjk";

class ChromeCatalogue : public ::testing::Test {
 protected:
  test::TestMachine machine{test::DemoOptions()};
  std::string Preferences(const TBrowserAppBase& app) { return app.ProfileDir + "Preferences"; }
  static std::vector<std::string> SettingsOrder(const Json& prefs) {
    std::vector<std::string> ids;
    const Json& settings = prefs["extensions"]["settings"];
    for (auto it = settings.begin(); it != settings.end(); ++it) ids.push_back(it.key());
    return ids;
  }
};

TEST_F(ChromeCatalogue, ListsExtensionsThenPlugInsInNameOrder) {
  TChromeExtensions chrome;
  std::vector<std::string> titles;
  for (int i = 0; i < chrome.GetCount(); ++i)
    titles.push_back(chrome.GetItem(i)->ListTitle(IsWin64()));
  const std::vector<std::string> expected = {
      "Clip Notes", "Color Picker Pro", "Focus Timer", "JSON Lens", "Password Keeper",
      "Página Traductor", "Quiet Pages", "Reading Ruler", "Screenshot Studio", "Tab Tidy",
      "Wörterbuch Plus", "__MSG_appName__",
      // plug-ins: ordinal order puts '@' before letters; only the per-user one is "(64)"
      "@orvo-demo.example/NoName,version=1.0", "Demo Media Player (64)", "PDF View"};
  EXPECT_EQ(titles, expected);
  // A folder without a settings member, and a member without a folder, are not listed.
  EXPECT_EQ(FindById(chrome, "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"), nullptr);
  EXPECT_EQ(FindById(chrome, "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"), nullptr);
}

TEST_F(ChromeCatalogue, ReadsEachRecordsFields) {
  TChromeExtensions chrome;
  const TBrowserExtensionInfo* tidy = FindById(chrome, kTabTidy);
  ASSERT_NE(tidy, nullptr);
  EXPECT_EQ(tidy->ItemKind, ikExtension);
  EXPECT_FALSE(tidy->Disabled);
  EXPECT_EQ(tidy->Version, "2.4.1");
  EXPECT_EQ(tidy->Description, "Groups and sorts your open tabs.");
  EXPECT_EQ(tidy->Path, chrome.ProfileDir + "Extensions\\" + kTabTidy + "\\2.4.1_0");
  EXPECT_EQ(tidy->IconRef, "images/icon48.png");
  ASSERT_NE(tidy->Image, nullptr);
  EXPECT_EQ(tidy->Image->width(), 48);

  EXPECT_TRUE(FindById(chrome, kQuietPages)->Disabled);
  EXPECT_FALSE(FindById(chrome, kFocusTimer)->Disabled);  // no "state" and no reasons: on
  const auto* lens = FindById(chrome, "dcgggpjkmcndnlmckifahnfdaokoabni");  // only a "16" icon
  EXPECT_EQ(lens->IconRef, "images/icon16.png");
  ASSERT_NE(lens->Image, nullptr);
  EXPECT_EQ(lens->Image->width(), 16);
  EXPECT_EQ(FindById(chrome, "icelhbjffaccnehokaokgjmdmpdgacbd")->Image, nullptr);  // no icons
  EXPECT_EQ(FindById(chrome, "hmejmoapjdlhjmhkabfnkdjjloonhlab")->Description, "__MSG_appDesc__");

  const TBrowserExtensionInfo* plugin =
      FindById(chrome, "@orvo-demo.example/DemoPlayer,version=2.1");
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->ItemKind, ikPlugin);
  EXPECT_EQ(
      plugin->Path,
      "HKEY_CURRENT_USER\\SOFTWARE\\MozillaPlugins\\@orvo-demo.example/DemoPlayer,version=2.1");
  EXPECT_EQ(plugin->Version, "2.1.0.4");
  EXPECT_EQ(FindById(chrome, "@orvo-demo.example/PdfView")->Is64, 0);
}

// Off or on as the browser decides: "disable_reasons" (a list, or the old integer mask)
// when it holds any; else "state" 0 is off; an entry with neither is on. The policy's own
// reason follows the policy, which blocks nothing here. State 3 is an uninstalled entry.
TEST_F(ChromeCatalogue, ReadsOffAndOnAsTheBrowserDoes) {
  const struct {
    const char* what;
    Json state;    // null: no "state"
    Json reasons;  // null: no "disable_reasons"
    bool disabled;
    const char* why;
  } cases[] = {
      {"neither", nullptr, nullptr, false, ""},
      {"state 0", 0, nullptr, true, ""},
      {"state 1", 1, nullptr, false, ""},
      {"state that is no number", "0", nullptr, false, ""},
      {"the user's reason", nullptr, Json::array({1}), true, ""},
      {"reasons decide over state 1", 1, Json::array({1}), true, ""},
      {"empty list and state 0", 0, Json::array(), true, ""},
      {"empty list and state 1", 1, Json::array(), false, ""},
      {"mask 0", 1, 0, false, ""},
      {"mask with the user's bit", 1, 1, true, ""},
      {"mask of other reasons", 1, 6, true, "it asks for new permissions; it is being reloaded"},
      {"list of other reasons", nullptr, Json::array({1, 1024}), true, "its files are damaged"},
      {"an unknown reason", nullptr, Json::array({1 << 29}), true, "reason 536870912"},
      {"only the policy's reason", 0, Json::array({65536}), false, ""},
      {"reasons that are no numbers", nullptr, Json::array({"1"}), false, ""},
  };
  const std::string path = Preferences(TChromeExtensions());
  const Json original = ReadJson(path);
  for (const auto& c : cases) {
    Json prefs = original;
    Json& entry = prefs["extensions"]["settings"][kFocusTimer];
    ASSERT_FALSE(entry.contains("state"));
    if (!c.state.is_null()) entry["state"] = c.state;
    if (!c.reasons.is_null()) entry["disable_reasons"] = c.reasons;
    machine.WriteFile(path, prefs.dump());
    TChromeExtensions chrome;
    const TBrowserExtensionInfo* timer = FindById(chrome, kFocusTimer);
    ASSERT_NE(timer, nullptr) << c.what;
    EXPECT_EQ(timer->Disabled, c.disabled) << c.what;
    EXPECT_EQ(timer->DisabledReason, c.why) << c.what;
  }
  // Without an install location the browser does not load the entry at all.
  Json prefs = original;
  prefs["extensions"]["settings"][kFocusTimer].erase("location");
  machine.WriteFile(path, prefs.dump());
  {
    TChromeExtensions chrome;
    TBrowserExtensionInfo* timer = FindById(chrome, kFocusTimer);
    EXPECT_TRUE(timer->Disabled);
    EXPECT_EQ(timer->DisabledReason,
              "the browser does not load it: its entry names no install location");
    EXPECT_EQ(chrome.ToggleItem(timer).error, kChangeOnlyInBrowser);
    EXPECT_EQ(ReadJson(path).dump(), prefs.dump());
  }
  prefs = original;
  prefs["extensions"]["settings"][kFocusTimer]["state"] = 3;
  machine.WriteFile(path, prefs.dump());
  TChromeExtensions uninstalled;
  EXPECT_EQ(FindById(uninstalled, kFocusTimer), nullptr);
}

TEST_F(ChromeCatalogue, DisablingWritesStateAndAppendsToKnownDisabled) {
  TChromeExtensions chrome;
  const Json before = ReadJson(Preferences(chrome));
  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kTabTidy)));
  EXPECT_TRUE(FindById(chrome, kTabTidy)->Disabled);

  Json after = ReadJson(Preferences(chrome));
  const Json& ext = after["extensions"];
  EXPECT_EQ(ext["settings"][kTabTidy]["state"], 0);
  EXPECT_EQ(ext["known_disabled"].back(), kTabTidy);
  // Nothing else of the profile changed, and member order is kept.
  Json expected = before;
  expected["extensions"]["settings"][kTabTidy]["state"] = 0;
  expected["extensions"]["known_disabled"].push_back(kTabTidy);
  EXPECT_EQ(after.dump(), expected.dump());
}

TEST_F(ChromeCatalogue, DisablingOneListedAlreadyAddsAnotherCopy) {
  {
    Json prefs = ReadJson(Preferences(TChromeExtensions()));
    prefs["extensions"]["known_disabled"].push_back(kTabTidy);
    machine.WriteFile(Preferences(TChromeExtensions()), prefs.dump());
  }
  TChromeExtensions chrome;
  ASSERT_FALSE(FindById(chrome, kTabTidy)->Disabled);  // "state" decides, not the list
  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kTabTidy)));
  const Json prefs = ReadJson(Preferences(chrome));
  int copies = 0;
  for (const auto& e : prefs["extensions"]["known_disabled"]) copies += e == kTabTidy;
  EXPECT_EQ(copies, 2);
}

TEST_F(ChromeCatalogue, EnablingRemovesEveryCopyFromKnownDisabled) {
  TChromeExtensions chrome;
  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kQuietPages)));
  const Json prefs = ReadJson(Preferences(chrome));
  EXPECT_EQ(prefs["extensions"]["settings"][kQuietPages]["state"], 1);
  for (const auto& e : prefs["extensions"]["known_disabled"]) EXPECT_NE(e, kQuietPages);
  EXPECT_EQ(prefs["extensions"]["known_disabled"].size(), 1u);  // Clip Notes stays
}

TEST_F(ChromeCatalogue, EnablingCreatesAMissingKnownDisabledList) {
  {
    Json prefs = ReadJson(Preferences(TChromeExtensions()));
    prefs["extensions"].erase("known_disabled");
    machine.WriteFile(Preferences(TChromeExtensions()), prefs.dump());
  }
  TChromeExtensions chrome;
  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kQuietPages)));
  EXPECT_EQ(ReadJson(Preferences(chrome))["extensions"]["known_disabled"], Json::array());
}

TEST_F(ChromeCatalogue, WritesPlainAsciiThatReadsBackUnchanged) {
  TChromeExtensions chrome;
  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kTabTidy)));
  const std::string text = ReadText(Preferences(chrome));
  for (unsigned char c : text) ASSERT_LT(c, 0x80);
  EXPECT_NE(text.find("P\\u00e1gina Traductor"), std::string::npos);
  EXPECT_NE(text.find("https:\\/\\/"), std::string::npos);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(text.find("\": "), std::string::npos);

  TChromeExtensions again;
  EXPECT_EQ(FindById(again, kTraductor)->Name, "Página Traductor");
  EXPECT_EQ(FindById(again, "idoifbohijbiknjlhibadphkcnpanbcc")->Name, "Wörterbuch Plus");
  EXPECT_TRUE(FindById(again, kTabTidy)->Disabled);
}

TEST_F(ChromeCatalogue, DeleteRemovesTheFolderAndTheSettingsMember) {
  TChromeExtensions chrome;
  const std::string folder = chrome.ProfileDir + "Extensions\\" + kTabTidy;
  const int count = chrome.GetCount();
  ASSERT_TRUE(chrome.DeleteItem(FindById(chrome, kTabTidy)));
  EXPECT_EQ(chrome.GetCount(), count - 1);
  EXPECT_EQ(FindById(chrome, kTabTidy), nullptr);
  EXPECT_EQ(os::Current().files().GetAttributes(folder), os::kInvalidFileAttributes);
  const Json prefs = ReadJson(Preferences(chrome));
  EXPECT_FALSE(prefs["extensions"]["settings"].contains(kTabTidy));
  EXPECT_EQ(prefs["extensions"]["known_disabled"].size(), 3u);  // untouched
}

// The shell stops at a file in use; what it took first is gone. The delete fails, says
// so naming the folder, and keeps the entry and the record; once the file is free a
// second delete finishes the job.
TEST_F(ChromeCatalogue, AFolderThatCannotBeDeletedWholeFailsAndKeepsEntryAndRecord) {
  TChromeExtensions chrome;
  TBrowserExtensionInfo* tidy = FindById(chrome, kTabTidy);
  const int count = chrome.GetCount();
  const std::string folder = chrome.ProfileDir + "Extensions\\" + kTabTidy;
  const std::string held_path = folder + "\\2.4.1_0\\manifest.json";
  const std::string script = folder + "\\2.4.1_0\\background.js";
  {
    test::HeldFile held(machine, held_path);
    ASSERT_TRUE(held.held());
    const ChangeResult r = chrome.DeleteItem(tidy);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find(folder), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("manifest.json"), std::string::npos) << r.message;  // the file in use
    const bool some_went = !PathExistsEx(script);
    if (machine.sandbox()) {
      EXPECT_TRUE(some_went);  // entries go in name order there
    }
    EXPECT_NE(r.message.find(some_went ? "partly deleted" : "nothing of it was removed"),
              std::string::npos)
        << r.message;
    EXPECT_TRUE(PathExistsEx(held_path));
    EXPECT_EQ(FindById(chrome, kTabTidy), tidy);
    EXPECT_EQ(chrome.GetCount(), count);
    EXPECT_TRUE(ReadJson(Preferences(chrome))["extensions"]["settings"].contains(kTabTidy));
  }
  ASSERT_TRUE(chrome.DeleteItem(tidy));
  EXPECT_FALSE(PathExistsEx(folder));
  EXPECT_EQ(FindById(chrome, kTabTidy), nullptr);
  EXPECT_FALSE(ReadJson(Preferences(chrome))["extensions"]["settings"].contains(kTabTidy));
}

// The folder went but Preferences could not be written: the record and the entry stay
// (the next write keeps the entry), and the error says the files are gone.
TEST_F(ChromeCatalogue, AFolderDeletedButPreferencesNotWrittenKeepsTheRecord) {
  TChromeExtensions chrome;
  TBrowserExtensionInfo* tidy = FindById(chrome, kTabTidy);
  const std::string folder = chrome.ProfileDir + "Extensions\\" + kTabTidy;
  const std::vector<std::string> order = SettingsOrder(ReadJson(Preferences(chrome)));
  ASSERT_TRUE(os::Current().files().SetAttributes(Preferences(chrome), os::kFileAttributeReadOnly));
  const ChangeResult r = chrome.DeleteItem(tidy);
  ASSERT_TRUE(os::Current().files().SetAttributes(Preferences(chrome), 0));
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("was deleted, but"), std::string::npos) << r.message;
  EXPECT_FALSE(PathExistsEx(folder));
  EXPECT_EQ(FindById(chrome, kTabTidy), tidy);

  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kQuietPages)));
  // The entry is back in its place among the others.
  EXPECT_EQ(SettingsOrder(ReadJson(Preferences(chrome))), order);

  ASSERT_TRUE(chrome.DeleteItem(tidy));  // nothing left to remove but the entry
  EXPECT_FALSE(ReadJson(Preferences(chrome))["extensions"]["settings"].contains(kTabTidy));
  EXPECT_EQ(FindById(chrome, kTabTidy), nullptr);
}

TEST_F(ChromeCatalogue, DeletingAPlugInRemovesOnlyItsKey) {
  TChromeExtensions chrome;
  ASSERT_TRUE(chrome.DeleteItem(FindById(chrome, "@orvo-demo.example/DemoPlayer,version=2.1")));
  EXPECT_FALSE(machine.KeyExists(
      RegRoot::CurrentUser, "SOFTWARE\\MozillaPlugins\\@orvo-demo.example/DemoPlayer,version=2.1"));
  EXPECT_TRUE(machine.KeyExists(
      RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\MozillaPlugins\\@orvo-demo.example/PdfView"));
  TChromeExtensions again;
  EXPECT_EQ(FindById(again, "@orvo-demo.example/DemoPlayer,version=2.1"), nullptr);
}

// A plug-in key that refuses to go is named, and the record stays; in Chrome and Opera.
TEST_F(ChromeCatalogue, APlugInKeyThatRefusesStaysListed) {
  const std::string id = "@orvo-demo.example/PdfView";
  const std::string key = "SOFTWARE\\Wow6432Node\\MozillaPlugins\\" + id;
  machine.DenyAccess(RegRoot::LocalMachine, key);
  TChromeExtensions chrome;
  TOPeraExtensions opera;
  for (TBrowserAppBase* app :
       {static_cast<TBrowserAppBase*>(&chrome), static_cast<TBrowserAppBase*>(&opera)}) {
    TBrowserExtensionInfo* plugin = FindById(*app, id);
    ASSERT_NE(plugin, nullptr);
    const ChangeResult r = app->DeleteItem(plugin);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find("HKEY_LOCAL_MACHINE\\" + key), std::string::npos) << r.message;
    EXPECT_EQ(FindById(*app, id), plugin);
  }
  EXPECT_TRUE(machine.KeyExists(RegRoot::LocalMachine, key));
}

TEST_F(ChromeCatalogue, AFailedWriteReportsTheErrorAndLeavesTheFile) {
  TChromeExtensions chrome;
  const std::string before = ReadText(Preferences(chrome));
  ASSERT_TRUE(os::Current().files().SetAttributes(Preferences(chrome), os::kFileAttributeReadOnly));
  const ChangeResult r = chrome.ToggleItem(FindById(chrome, kTabTidy));
  os::Current().files().SetAttributes(Preferences(chrome), 0);
  EXPECT_FALSE(r);
  EXPECT_FALSE(r.message.empty());
  EXPECT_EQ(ReadText(Preferences(chrome)), before);
  EXPECT_FALSE(FindById(chrome, kTabTidy)->Disabled);  // the switch shows what is stored
}

// A refused switch is taken back from the document too: the next write that succeeds
// saves only its own change. Focus Timer has no "state" (its switch gains a reasons list)
// and no "known_disabled" is there at first.
TEST_F(ChromeCatalogue, ARefusedSwitchIsNotSavedByTheNextWrite) {
  {
    Json prefs = ReadJson(Preferences(TChromeExtensions()));
    prefs["extensions"].erase("known_disabled");
    machine.WriteFile(Preferences(TChromeExtensions()), prefs.dump());
  }
  TChromeExtensions chrome;
  const Json before = ReadJson(Preferences(chrome));
  ASSERT_TRUE(os::Current().files().SetAttributes(Preferences(chrome), os::kFileAttributeReadOnly));
  EXPECT_FALSE(chrome.ToggleItem(FindById(chrome, kTabTidy)));
  EXPECT_FALSE(chrome.ToggleItem(FindById(chrome, kFocusTimer)));
  ASSERT_TRUE(os::Current().files().SetAttributes(Preferences(chrome), 0));
  EXPECT_FALSE(FindById(chrome, kTabTidy)->Disabled);
  EXPECT_FALSE(FindById(chrome, kFocusTimer)->Disabled);

  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kQuietPages)));  // on: the one change
  Json expected = before;
  expected["extensions"]["settings"][kQuietPages]["state"] = 1;
  expected["extensions"]["known_disabled"] = Json::array();
  EXPECT_EQ(ReadJson(Preferences(chrome)).dump(), expected.dump());
}

TEST_F(ChromeCatalogue, IgnoresRecordsItDoesNotOwn) {
  TChromeExtensions chrome;
  TBrowserExtensionInfo stranger;
  stranger.Id = kTabTidy;
  const std::string before = ReadText(Preferences(chrome));
  EXPECT_TRUE(chrome.ToggleItem(&stranger));
  EXPECT_TRUE(chrome.ToggleItem(nullptr));
  EXPECT_TRUE(chrome.DeleteItem(&stranger));
  EXPECT_EQ(ReadText(Preferences(chrome)), before);
  EXPECT_EQ(chrome.GetItem(-1), nullptr);
  EXPECT_EQ(chrome.GetItem(chrome.GetCount()), nullptr);
}

// Windows compares executable names without regard to case: a Chrome started as
// CHROME.EXE is running, and closing the browser ends it.
TEST(ChromeRunning, ProcessNamesMatchWhateverTheirCase) {
  test::TestMachine machine{test::DemoOptions()};
  TChromeExtensions chrome;
  TOPeraExtensions opera;
  EXPECT_FALSE(chrome.IsRunning());
  EXPECT_EQ(FindProcessByName("chrome.exe"), 0u);
  machine.StartProcess("CHROME.EXE");
  EXPECT_TRUE(chrome.IsRunning());
  EXPECT_NE(FindProcessByName("chrome.exe"), 0u);
  EXPECT_NE(FindProcessByName("Chrome.Exe"), 0u);
  EXPECT_EQ(FindProcessByName("chrome.ex"), 0u);  // the whole name, not a part of it
  EXPECT_FALSE(opera.IsRunning());

  machine.StartProcess("Opera.exe");
  EXPECT_TRUE(opera.IsRunning());
  chrome.CloseBrowser();
  for (int i = 0; i < 100 && chrome.IsRunning(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(chrome.IsRunning());
  EXPECT_TRUE(opera.IsRunning());  // only the browser asked for
}

TEST(OperaCatalogue, ListsItsOwnProfile) {
  test::TestMachine machine{test::DemoOptions()};
  TOPeraExtensions opera;
  EXPECT_EQ(opera.BrowserKind, bkOpera);
  EXPECT_EQ(opera.DisplayName, "Opera");
  EXPECT_EQ(opera.GetCount(), 7);
  EXPECT_TRUE(FindById(opera, "ijhalcmpfecbabjmpagjaihimajngpoo")->Disabled);
  ASSERT_TRUE(opera.ToggleItem(FindById(opera, "ijhalcmpfecbabjmpagjaihimajngpoo")));
  EXPECT_EQ(ReadJson(opera.ProfileDir + "Preferences")["extensions"]["known_disabled"],
            Json::array());
}

}  // namespace
}  // namespace orvo
