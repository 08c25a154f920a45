// Chrome, Edge and Opera as current versions keep their profiles (fixtures/modern):
// entries in Secure Preferences guarded by MACs beside older ones in Preferences, reasons
// lists, localised names, an unpacked and a policy-installed extension, policy blocks.
// What is listed, and which route each change takes: Preferences edited only for
// unguarded entries, the per-user ExtensionInstallBlocklist for guarded ones, and Secure
// Preferences never written by anything.
#include <gtest/gtest.h>

#include "catalogue/browser_list.h"
#include "catalogue/chromium_extensions.h"
#include "catalogue/registry_helpers.h"
#include "catalogue/shell_helpers.h"
#include "catalogue_fixture.h"
#include "support/write_watch.h"

namespace orvo {
namespace {

using test::FindById;
using test::ReadJson;
using test::ReadText;

constexpr const char* kTabTidy = "njljfidahmnikmebegegkdcjncpenkan";  // guarded, on
constexpr const char* kCouponFinder =
    "lblbplamhdghlbicigeijlkfkdikabla";  // guarded, blocked for this user
constexpr const char* kQuietPages = "oipbgjicpaempmfgiedgbjkkbfncjimp";  // guarded, off by the user
constexpr const char* kScreenshot = "cchhifjbpmphnocoghpkglanbkfhklfg";  // guarded, [1, 2]
constexpr const char* kColourLens = "jnlocdagfoooepoajifaokkgbidaadpj";  // localised, en_GB catalog
constexpr const char* kTranslator = "gdaohamdnbbgiillnmakcbjkkdkehpjo";  // localised, en and de
constexpr const char* kJsonLens = "dihcnjgplegejcnomeefkpjnchfehnko";    // unpacked
constexpr const char* kPortal = "ejhpigladkpcncmhfcjcjkokeeijmken";      // installed by policy
constexpr const char* kRuler = "dihgglnmicjmgkabblpmnijofnggglgh";       // Preferences, "state" 1
constexpr const char* kClipNotes =
    "mcoglepocehnmhmmpkhkmgfpapdnpdfp";  // Preferences, [1], no state
constexpr const char* kFocusTimer =
    "aipegfiebdjobcjijmibajcbijlpgdbl";  // Preferences, state 0, mask 1
constexpr const char* kOtherBlocked =
    "ofpnmcalabcbjgholdjcjblkibolbppb";  // in the user's list, not installed
constexpr const char* kUserList = "SOFTWARE\\Policies\\Google\\Chrome\\ExtensionInstallBlocklist";

test::MachineOptions ModernOptions() {
  test::MachineOptions o;
  o.image = test::ModernImage();
  return o;
}

class ModernChrome : public ::testing::Test {
 protected:
  void TearDown() override { TBrowserAppBase::PolicyChangesAllowed = false; }

  test::TestMachine machine{ModernOptions()};
  std::string profile = TChromeExtensions().ProfileDir;
  std::string Prefs() const { return profile + "Preferences"; }
  std::string Secure() const { return profile + "Secure Preferences"; }
  // The user's blocklist as name=value lines in name order.
  static std::vector<std::string> UserList() {
    std::vector<std::string> names, lines;
    RegGetValueNames(RegRoot::CurrentUser, kUserList, names, true, true);
    std::sort(names.begin(), names.end());
    for (const auto& n : names)
      lines.push_back(n + "=" + RegReadString(RegRoot::CurrentUser, kUserList, n, true));
    return lines;
  }
  // Files and policies as they are, to compare with after a refused change.
  std::string Snapshot() const {
    std::string s = ReadText(Prefs()) + "|" + ReadText(Secure()) + "|";
    for (const auto& l : UserList()) s += l + ";";
    return s;
  }
};

TEST_F(ModernChrome, ListsBothFilesAsTheBrowserRunsThem) {
  TChromeExtensions chrome;
  EXPECT_EQ(chrome.ProfileName, "Default");
  ASSERT_NE(chrome.SecureDocument, nullptr);
  const struct {
    const char* id;
    const char* name;
    bool disabled;
    const char* why;
  } expected[] = {
      {kTabTidy, "Tab Tidy", false, ""},
      {kCouponFinder, "Coupon Finder", true, "blocked by Google Chrome's policy for this user"},
      {kQuietPages, "Quiet Pages", true, ""},
      {kScreenshot, "Screenshot Studio", true, "it asks for new permissions"},
      {kJsonLens, "JSON Lens (dev)", false, ""},
      {kPortal, "Company Portal Helper", false, ""},
      {kRuler, "Reading Ruler", false, ""},
      {kClipNotes, "Clip Notes", true, ""},
      {kFocusTimer, "Focus Timer", true, ""},
  };
  for (const auto& e : expected) {
    const TBrowserExtensionInfo* item = FindById(chrome, e.id);
    ASSERT_NE(item, nullptr) << e.name;
    EXPECT_EQ(item->Name, e.name);
    EXPECT_EQ(item->Disabled, e.disabled) << e.name;
    EXPECT_EQ(item->DisabledReason, e.why) << e.name;
  }
  EXPECT_EQ(chrome.GetCount(), 11);
  EXPECT_TRUE(FindById(chrome, kTabTidy)->Protected);
  EXPECT_EQ(FindById(chrome, kTabTidy)->EntryFile, "Secure Preferences");
  EXPECT_FALSE(FindById(chrome, kClipNotes)->Protected);
  EXPECT_EQ(FindById(chrome, kClipNotes)->EntryFile, "Preferences");
  // The unpacked extension: no stored manifest, read from the developer's folder.
  const TBrowserExtensionInfo* lens = FindById(chrome, kJsonLens);
  EXPECT_EQ(lens->Path, "C:\\Users\\demo\\Projects\\json-lens");
  EXPECT_EQ(lens->Version, "0.5.0");
  EXPECT_EQ(lens->Description, "Shows JSON responses as a tree.");
  ASSERT_NE(lens->Image, nullptr);
  EXPECT_EQ(lens->Image->width(), 48);
}

// The guarded file wins for the entries it holds; an entry with a MAC is guarded wherever
// it sits; a damaged Secure Preferences is named and lists no extension.
TEST_F(ModernChrome, SecurePreferencesWinsAndADamagedOneIsNamed) {
  Json prefs = ReadJson(Prefs());
  prefs["extensions"]["settings"][kTabTidy] = {{"state", 0}, {"location", 1}, {"path", "x"}};
  Json moved = ReadJson(Secure())["extensions"]["settings"][kQuietPages];
  prefs["extensions"]["settings"]["quietcopyaaaaaaaaaaaaaaaaaaaaaaa"] = moved;
  prefs["protection"]["macs"]["extensions"]["settings"]["quietcopyaaaaaaaaaaaaaaaaaaaaaaa"] = "00";
  machine.WriteFile(Prefs(), prefs.dump());
  machine.WriteFile(
      profile + "Extensions\\quietcopyaaaaaaaaaaaaaaaaaaaaaaa\\2.0.0_0\\manifest.json", "{}");
  {
    TChromeExtensions chrome;
    EXPECT_FALSE(FindById(chrome, kTabTidy)->Disabled);
    TBrowserExtensionInfo* copy = FindById(chrome, "quietcopyaaaaaaaaaaaaaaaaaaaaaaa");
    ASSERT_NE(copy, nullptr);
    const std::string before = Snapshot();
    EXPECT_EQ(chrome.ToggleItem(copy).error, kChangeOnlyInBrowser);  // off in the browser, guarded
    EXPECT_EQ(Snapshot(), before);
  }
  machine.WriteFile(Secure(), "{\"extensions\":{\"settings\":");
  TChromeExtensions damaged;
  EXPECT_NE(damaged.LoadError.find("Secure Preferences: not valid JSON"), std::string::npos)
      << damaged.LoadError;
  EXPECT_EQ(damaged.GetCount(), 0);  // half the picture would be a wrong one
}

// __MSG_ names from the extension's catalogs: the browser's language (its own setting,
// else Windows'), then its parents, then default_locale; message names without case;
// placeholders filled in; a message no catalog holds leaves the text as it is.
TEST_F(ModernChrome, NamesAreLocalisedAsTheBrowserDoes) {
  const std::string local_state = TChromeExtensions().UserDataDir + "Local State";
  const Json original = ReadJson(local_state);
  const struct {
    const char* app_locale;
    const char* lens;
    const char* translator;
  } cases[] = {
      {"en-GB", "Colour Lens", "Page Translator"},
      {"en-US", "Color Lens", "Page Translator"},  // en_US has no catalog: its parent "en"
      {"de", "Farblupe", "Page Übersetzer"},
      {"fr", "Color Lens", "Page Übersetzer"},  // nothing for fr: each default_locale
  };
  for (const auto& c : cases) {
    Json state = original;
    state["intl"]["app_locale"] = c.app_locale;
    machine.WriteFile(local_state, state.dump());
    TChromeExtensions chrome;
    EXPECT_EQ(FindById(chrome, kColourLens)->Name, c.lens) << c.app_locale;
    EXPECT_EQ(FindById(chrome, kTranslator)->Name, c.translator) << c.app_locale;
  }
  if (machine.sandbox()) {  // the image's Windows speaks British English
    machine.WriteFile(local_state, original.dump());
    TChromeExtensions chrome;
    EXPECT_EQ(chrome.UiLocale, "en_GB");
    EXPECT_EQ(FindById(chrome, kColourLens)->Description, "Pick any colour on a page.");
  }
  // A catalog without the message: the manifest's text stays.
  Json state = original;
  state["intl"]["app_locale"] = "en-US";
  machine.WriteFile(local_state, state.dump());
  TChromeExtensions before;
  machine.WriteFile(FindById(before, kColourLens)->Path + "\\_locales\\en\\messages.json",
                    R"({"other":{"message":"x"}})");
  TChromeExtensions after;
  EXPECT_EQ(FindById(after, kColourLens)->Name, "__MSG_extName__");
}

// Entries without checksum switch in Preferences: the reasons list of a newer browser
// loses or gains the user's reason (no "state" made up); the old mask keeps its form;
// "state" and "known_disabled" change as they always did. Secure Preferences and the
// policies stay exactly as they were.
TEST_F(ModernChrome, SwitchesUnguardedEntriesInPreferences) {
  TChromeExtensions chrome;
  const std::string secure = ReadText(Secure());
  const auto list = UserList();
  const auto entry = [&](const char* id) {
    return ReadJson(Prefs())["extensions"]["settings"][id];
  };

  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kClipNotes)));  // on
  EXPECT_FALSE(FindById(chrome, kClipNotes)->Disabled);
  EXPECT_FALSE(entry(kClipNotes).contains("disable_reasons"));
  EXPECT_FALSE(entry(kClipNotes).contains("state"));
  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kClipNotes)));  // off again
  EXPECT_EQ(entry(kClipNotes)["disable_reasons"], Json::array({1}));
  EXPECT_FALSE(entry(kClipNotes).contains("state"));

  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kFocusTimer)));  // on: the mask goes at 0
  EXPECT_FALSE(entry(kFocusTimer).contains("disable_reasons"));
  EXPECT_EQ(entry(kFocusTimer)["state"], 1);
  EXPECT_EQ(ReadJson(Prefs())["extensions"]["known_disabled"], Json::array());
  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kFocusTimer)));  // off: state 0, no list made
  EXPECT_EQ(entry(kFocusTimer)["state"], 0);
  EXPECT_FALSE(entry(kFocusTimer).contains("disable_reasons"));

  const Json before = ReadJson(Prefs());
  ASSERT_TRUE(chrome.ToggleItem(FindById(chrome, kRuler)));  // off, exactly as before
  Json expected = before;
  expected["extensions"]["settings"][kRuler]["state"] = 0;
  expected["extensions"]["known_disabled"].push_back(kRuler);
  EXPECT_EQ(ReadJson(Prefs()).dump(), expected.dump());

  EXPECT_EQ(ReadText(Secure()), secure);
  EXPECT_EQ(UserList(), list);
  TChromeExtensions again;
  EXPECT_TRUE(FindById(again, kClipNotes)->Disabled);
  EXPECT_TRUE(FindById(again, kRuler)->Disabled);
}

// An old mask holding another reason besides the user's, and a list likewise: switching
// on here would change nothing the browser honours. Refused, nothing written.
TEST_F(ModernChrome, AnEntryOffForOtherReasonsIsNotSwitchedOn) {
  for (const Json& reasons : {Json(3), Json::array({1, 1024})}) {
    Json prefs = ReadJson(Prefs());
    prefs["extensions"]["settings"][kClipNotes]["disable_reasons"] = reasons;
    machine.WriteFile(Prefs(), prefs.dump());
    TChromeExtensions chrome;
    const std::string before = Snapshot();
    const ChangeResult r = chrome.ToggleItem(FindById(chrome, kClipNotes));
    EXPECT_EQ(r.error, kChangeOnlyInBrowser) << reasons;
    EXPECT_NE(r.message.find("chrome://extensions/?id=" + std::string(kClipNotes)),
              std::string::npos)
        << r.message;
    EXPECT_TRUE(FindById(chrome, kClipNotes)->Disabled);
    EXPECT_EQ(Snapshot(), before);
  }
}

// A guarded entry is switched through the user's ExtensionInstallBlocklist, and only
// after the user agreed: values written and removed, the numbers kept unbroken, nothing
// else touched.
TEST_F(ModernChrome, SwitchesGuardedEntriesThroughTheUsersPolicy) {
  TChromeExtensions chrome;
  const std::string prefs = ReadText(Prefs());
  const std::string secure = ReadText(Secure());
  const std::vector<std::string> list = {"1=" + std::string(kCouponFinder),
                                         "2=" + std::string(kOtherBlocked)};
  ASSERT_EQ(UserList(), list);

  TBrowserExtensionInfo* tidy = FindById(chrome, kTabTidy);
  const ChangeResult asked = chrome.ToggleItem(tidy);
  EXPECT_EQ(asked.error, kChangeNeedsPolicyConsent);
  EXPECT_NE(asked.message.find(
                "HKEY_CURRENT_USER\\SOFTWARE\\Policies\\Google\\Chrome\\ExtensionInstallBlocklist"),
            std::string::npos);
  EXPECT_NE(asked.message.find("blocked by your administrator"), std::string::npos);
  EXPECT_NE(asked.message.find("in every profile of Google Chrome"), std::string::npos);
  EXPECT_FALSE(tidy->Disabled);
  EXPECT_EQ(UserList(), list);

  TBrowserAppBase::PolicyChangesAllowed = true;
  ASSERT_TRUE(chrome.ToggleItem(tidy));
  EXPECT_TRUE(tidy->Disabled);
  EXPECT_EQ(tidy->DisabledReason, "blocked by Google Chrome's policy for this user");
  EXPECT_EQ(UserList(), (std::vector<std::string>{list[0], list[1], "3=" + std::string(kTabTidy)}));
  {
    TChromeExtensions reread;
    EXPECT_TRUE(FindById(reread, kTabTidy)->Disabled);
    // The policy is the browser's, not the profile's: the other profile shows the block too.
    TChromeExtensions work("Profile 1");
    EXPECT_EQ(FindById(work, kTabTidy)->DisabledReason,
              "blocked by Google Chrome's policy for this user");
  }
  ASSERT_TRUE(chrome.ToggleItem(tidy));
  EXPECT_FALSE(tidy->Disabled);
  EXPECT_EQ(UserList(), list);

  // Lifting the first entry moves the last into its place.
  TBrowserExtensionInfo* coupon = FindById(chrome, kCouponFinder);
  ASSERT_TRUE(chrome.ToggleItem(coupon));
  EXPECT_FALSE(coupon->Disabled);
  EXPECT_TRUE(coupon->DisabledReason.empty());
  EXPECT_EQ(UserList(), (std::vector<std::string>{"1=" + std::string(kOtherBlocked)}));

  EXPECT_EQ(ReadText(Prefs()), prefs);
  EXPECT_EQ(ReadText(Secure()), secure);
  EXPECT_FALSE(machine.KeyExists(RegRoot::LocalMachine, "SOFTWARE\\Policies\\Google\\Chrome"));
}

// What neither the files nor the user's policy can change is refused with the reason,
// before anything is written.
TEST_F(ModernChrome, RefusesWhatOnlyTheBrowserCanDo) {
  TBrowserAppBase::PolicyChangesAllowed = true;
  TChromeExtensions chrome;
  const std::string before = Snapshot();
  const struct {
    const char* id;
    bool remove;
    const char* says;
  } cases[] = {
      {kQuietPages, false, "switched off in Google Chrome itself"},
      {kScreenshot, false, "it asks for new permissions"},
      {kPortal, false, "installed by the administrator's policy"},
      {kPortal, true, "would install it again"},
      {kTabTidy, true, "can be removed only in Google Chrome itself"},
      {kJsonLens, true, "can be removed only in Google Chrome itself"},
  };
  for (const auto& c : cases) {
    TBrowserExtensionInfo* item = FindById(chrome, c.id);
    const bool was = item->Disabled;
    const ChangeResult r = c.remove ? chrome.DeleteItem(item) : chrome.ToggleItem(item);
    EXPECT_EQ(r.error, kChangeOnlyInBrowser) << c.id;
    EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
    EXPECT_EQ(FindById(chrome, c.id), item);
    EXPECT_EQ(item->Disabled, was);
  }
  EXPECT_TRUE(FolderExists(chrome.ProfileDir + "Extensions\\" + kTabTidy));
  EXPECT_EQ(Snapshot(), before);

  // The browser's own page is where: opened in this profile, by the registered program.
  if (machine.sandbox()) {
    EXPECT_FALSE(chrome.OpenAddonPage(*FindById(chrome, kTabTidy)));  // no registration read
    auto registered = MakeCatalogue(bkChrome);
    EXPECT_TRUE(registered->OpenAddonPage(*FindById(*registered, kTabTidy)));
    EXPECT_EQ(test::ReadHostFile(machine.image_folder() + "/opened-urls.txt"),
              "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe "
              "--profile-directory=\"Default\" "
              "chrome://extensions/?id=" +
                  std::string(kTabTidy) + "\n");
  }
}

// A policy key that refuses: named, and the switch shows what is stored.
TEST_F(ModernChrome, APolicyKeyThatRefusesIsNamed) {
  TBrowserAppBase::PolicyChangesAllowed = true;
  machine.DenyAccess(RegRoot::CurrentUser, kUserList);
  TChromeExtensions chrome;
  TBrowserExtensionInfo* tidy = FindById(chrome, kTabTidy);
  const ChangeResult r = chrome.ToggleItem(tidy);
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("ExtensionInstallBlocklist"), std::string::npos) << r.message;
  EXPECT_FALSE(tidy->Disabled);
}

// Deleting what has no checksum: the folder and the entry go; an external extension is
// remembered as removed; an unpacked extension's own folder stays.
TEST_F(ModernChrome, DeletesUnguardedEntries) {
  Json prefs = ReadJson(Prefs());
  prefs["extensions"]["settings"][kRuler]["location"] = 3;  // placed by another program
  prefs["extensions"]["settings"][kJsonLens] =
      ReadJson(Secure())["extensions"]["settings"][kJsonLens];
  machine.WriteFile(Prefs(), prefs.dump());
  Json secure = ReadJson(Secure());
  secure["extensions"]["settings"].erase(kJsonLens);
  secure["protection"]["macs"]["extensions"]["settings"].erase(kJsonLens);
  machine.WriteFile(Secure(), secure.dump());

  TChromeExtensions chrome;
  ASSERT_TRUE(chrome.DeleteItem(FindById(chrome, kRuler)));
  EXPECT_FALSE(PathExistsEx(chrome.ProfileDir + "Extensions\\" + kRuler));
  Json after = ReadJson(Prefs());
  EXPECT_FALSE(after["extensions"]["settings"].contains(kRuler));
  EXPECT_EQ(after["extensions"]["external_uninstalls"], Json::array({kRuler}));

  const ChangeResult r = chrome.DeleteItem(FindById(chrome, kJsonLens));
  ASSERT_TRUE(r);
  EXPECT_NE(r.message.find("left in place"), std::string::npos);
  EXPECT_TRUE(PathExistsEx("C:\\Users\\demo\\Projects\\json-lens\\manifest.json"));
  EXPECT_FALSE(ReadJson(Prefs())["extensions"]["settings"].contains(kJsonLens));
  EXPECT_EQ(FindById(chrome, kJsonLens), nullptr);
  EXPECT_EQ(ReadText(Secure()), secure.dump());
}

// Every change the catalogue can make, guarded entry or not, with the user's consent to
// the policy: not one write, attribute change or removal reaches Secure Preferences.
TEST_F(ModernChrome, NothingEverWritesSecurePreferences) {
  TBrowserAppBase::PolicyChangesAllowed = true;
  const std::string secure = ReadText(Secure());
  test::WriteWatch watch;
  {
    TChromeExtensions chrome;
    for (int round = 0; round < 2; ++round) {
      for (int i = 0; i < chrome.GetCount(); ++i) chrome.ToggleItem(chrome.GetItem(i));
    }
    while (chrome.GetCount() > 0) {
      const int before = chrome.GetCount();
      for (int i = chrome.GetCount(); i-- > 0;) chrome.DeleteItem(chrome.GetItem(i));
      if (chrome.GetCount() == before) break;  // what is left only the browser removes
    }
    EXPECT_GT(chrome.GetCount(), 0);
  }
  EXPECT_TRUE(watch.Reached(Prefs()));  // the watch sees what it should
  EXPECT_FALSE(watch.Reached(Secure()));
  EXPECT_EQ(ReadText(Secure()), secure);
}

// Edge: the computer's policy sets the blocklist, so a block for this user would be
// ignored: refused; its own block stays. Opera has no policies to switch with.
TEST(ModernRelatives, RefuseWhereThePolicyCannotDecide) {
  test::TestMachine machine{ModernOptions()};
  TBrowserAppBase::PolicyChangesAllowed = true;
  TEdgeExtensions edge;
  EXPECT_EQ(edge.DisplayName, "Microsoft Edge");
  TBrowserExtensionInfo* reader = FindById(edge, "ihmehkhkpkgdgogonlnbgdhaibilnmba");
  TBrowserExtensionInfo* shopping = FindById(edge, "lpokplhadlemdcbmdoegobiaddephjjj");
  ASSERT_NE(reader, nullptr);
  ASSERT_NE(shopping, nullptr);
  EXPECT_TRUE(shopping->Disabled);
  EXPECT_EQ(shopping->DisabledReason, "blocked by the computer's policy");
  const ChangeResult off = edge.ToggleItem(reader);
  EXPECT_EQ(off.error, kChangeOnlyInBrowser);
  EXPECT_NE(off.message.find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Microsoft\\Edge"),
            std::string::npos);
  EXPECT_EQ(edge.ToggleItem(shopping).error, kChangeOnlyInBrowser);
  EXPECT_FALSE(machine.KeyExists(RegRoot::CurrentUser, "SOFTWARE\\Policies\\Microsoft\\Edge"));
  EXPECT_TRUE(machine.KeyExists(RegRoot::LocalMachine,
                                "SOFTWARE\\Policies\\Microsoft\\Edge\\ExtensionInstallBlocklist"));

  TOPeraExtensions opera;
  EXPECT_EQ(opera.ProfileDir, opera.UserDataDir + "Default\\");
  TBrowserExtensionInfo* owl = FindById(opera, "akkflkhioodeaeoeoaafmmmdiggeaoke");
  ASSERT_NE(owl, nullptr);
  const ChangeResult r = opera.ToggleItem(owl);
  EXPECT_EQ(r.error, kChangeOnlyInBrowser);
  EXPECT_NE(r.message.find("opera://extensions/?id="), std::string::npos);
  TBrowserAppBase::PolicyChangesAllowed = false;
}

// Brave and Vivaldi keep their data where their own installers put it, run as their own
// processes, and read their own policy keys.
TEST(ModernRelatives, BraveAndVivaldiReadTheirOwnFolders) {
  test::TestMachine machine{ModernOptions()};
  TEdgeExtensions edge;
  const std::string local = edge.UserDataDir.substr(0, edge.UserDataDir.find("Microsoft\\Edge"));
  const struct {
    std::unique_ptr<TChromiumExtensions> (*make)();
    const char* data;
    const char* process;
    const char* policy;
  } relatives[] = {
      {[] { return std::unique_ptr<TChromiumExtensions>(new TBraveExtensions); },
       "BraveSoftware\\Brave-Browser\\User Data\\", "brave.exe",
       "SOFTWARE\\Policies\\BraveSoftware\\Brave\\ExtensionInstallBlocklist"},
      {[] { return std::unique_ptr<TChromiumExtensions>(new TVivaldiExtensions); },
       "Vivaldi\\User Data\\", "vivaldi.exe",
       "SOFTWARE\\Policies\\Vivaldi\\ExtensionInstallBlocklist"},
  };
  for (const auto& r : relatives) {
    EXPECT_EQ(r.make()->GetCount(), 0) << r.data;  // not there yet
    for (const char* file : {"Preferences", "Secure Preferences"}) {
      machine.WriteFile(local + r.data + "Default\\" + file, ReadText(edge.ProfileDir + file));
    }
    const std::string ext =
        "Default\\Extensions\\ihmehkhkpkgdgogonlnbgdhaibilnmba\\2.3.0_0\\manifest.json";
    machine.WriteFile(local + r.data + ext, "{}");
    auto app = r.make();
    EXPECT_EQ(app->UserDataDir, local + r.data);
    EXPECT_NE(FindById(*app, "ihmehkhkpkgdgogonlnbgdhaibilnmba"), nullptr) << r.data;
    EXPECT_NE(app->PolicyExplanation().find(r.policy), std::string::npos)
        << app->PolicyExplanation();
    EXPECT_FALSE(app->IsRunning());
    machine.StartProcess(r.process);
    EXPECT_TRUE(app->IsRunning()) << r.process;
  }
}

}  // namespace
}  // namespace orvo
