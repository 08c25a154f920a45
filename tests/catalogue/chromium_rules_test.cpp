// The rules the Chromium catalogues borrow from the browser, on their own: which policy
// setting blocks an extension (machine over user, ExtensionSettings over the lists, the
// allowlist over the blocklist, "*", the names before version 86), how the per-user
// blocklist is written and its numbers kept unbroken, and how __MSG_ texts are filled in.
#include <gtest/gtest.h>

#include "catalogue/chromium_policy.h"
#include "catalogue/extension_messages.h"
#include "catalogue/registry_helpers.h"
#include "catalogue_fixture.h"

namespace orvo {
namespace {

constexpr const char* kKey = "SOFTWARE\\Policies\\Orvo Test Browser";
constexpr const char* kId = "abcdefghijklmnopabcdefghijklmnop";

struct Setting {
  RegRoot root;
  std::string key;  // below kKey; empty: kKey itself
  std::string name;
  std::string value;
};

class PolicyRules : public ::testing::Test {
 protected:
  void TearDown() override {
    RegDeleteKeyPath(RegRoot::LocalMachine, kKey);
    RegDeleteKeyPath(RegRoot::CurrentUser, kKey);
  }
  test::TestMachine machine;
  void Apply(const std::vector<Setting>& settings) {
    RegDeleteKeyPath(RegRoot::LocalMachine, kKey);
    RegDeleteKeyPath(RegRoot::CurrentUser, kKey);
    for (const auto& s : settings) {
      machine.SetString(s.root, std::string(kKey) + (s.key.empty() ? "" : "\\" + s.key), s.name,
                        s.value);
    }
  }
  static std::vector<std::string> UserValues() {
    const std::string list = std::string(kKey) + "\\ExtensionInstallBlocklist";
    std::vector<std::string> names, out;
    RegGetValueNames(RegRoot::CurrentUser, list, names, true, true);
    std::sort(names.begin(), names.end());
    for (const auto& n : names)
      out.push_back(n + "=" + RegReadString(RegRoot::CurrentUser, list, n, true));
    return out;
  }
};

TEST_F(PolicyRules, DecidesWhatIsBlockedAsTheBrowserDoes) {
  const auto lm = RegRoot::LocalMachine;
  const auto cu = RegRoot::CurrentUser;
  const std::string block = "ExtensionInstallBlocklist";
  const std::string allow = "ExtensionInstallAllowlist";
  using Source = ChromiumPolicy::Source;
  const struct {
    const char* what;
    std::vector<Setting> settings;
    bool blocked;
    Source source;
  } cases[] = {
      {"nothing set", {}, false, Source::kNone},
      {"the user's list", {{cu, block, "1", kId}}, true, Source::kUser},
      {"the machine's list", {{lm, block, "1", kId}}, true, Source::kMachine},
      {"the machine's list hides the user's",
       {{lm, block, "1", "other"}, {cu, block, "1", kId}},
       false,
       Source::kNone},
      {"an empty machine list too",
       {{lm, block, "", ""}, {cu, block, "1", kId}},
       false,
       Source::kNone},
      {"a value that is no number", {{cu, block, "first", kId}}, false, Source::kNone},
      {"any number", {{cu, block, "7", kId}}, true, Source::kUser},
      {"everything", {{cu, block, "1", "*"}}, true, Source::kUser},
      {"everything but the allowed",
       {{cu, block, "1", "*"}, {lm, allow, "1", kId}},
       false,
       Source::kNone},
      {"allowed by name over blocked by name",
       {{cu, block, "1", kId}, {cu, allow, "1", kId}},
       false,
       Source::kNone},
      {"the old names", {{lm, "ExtensionInstallBlacklist", "1", kId}}, true, Source::kMachine},
      {"the new name over the old",
       {{lm, "ExtensionInstallBlacklist", "1", kId}, {lm, block, "1", "x"}},
       false,
       Source::kNone},
      {"ExtensionSettings blocks",
       {{cu, "", "ExtensionSettings",
         std::string("{\"") + kId + "\":{\"installation_mode\":\"removed\"}}"}},
       true,
       Source::kUser},
      {"ExtensionSettings allows over the list",
       {{lm, "", "ExtensionSettings",
         std::string("{\"") + kId + "\":{\"installation_mode\":\"allowed\"}}"},
        {lm, block, "1", kId}},
       false,
       Source::kNone},
      {"ExtensionSettings' default",
       {{lm, "ExtensionSettings\\*", "installation_mode", "blocked"}},
       true,
       Source::kMachine},
  };
  for (const auto& c : cases) {
    Apply(c.settings);
    const ChromiumPolicy policy(kKey);
    const ChromiumPolicy::Verdict v = policy.Check(kId);
    EXPECT_EQ(v.blocked, c.blocked) << c.what;
    EXPECT_EQ(v.source, c.source) << c.what;
  }
  EXPECT_FALSE(ChromiumPolicy("").Check(kId).blocked);  // a browser without policies
}

// Our entry takes the lowest free number and goes again leaving no gap; others' values
// keep their text; a block that would not take effect is refused before any write.
TEST_F(PolicyRules, WritesTheUsersListWithUnbrokenNumbers) {
  const std::string list = "ExtensionInstallBlocklist";
  const auto cu = RegRoot::CurrentUser;
  Apply({{cu, list, "1", "first"}, {cu, list, "3", "third"}, {cu, list, "4", "fourth"}});
  ChromiumPolicy policy(kKey);
  ASSERT_TRUE(policy.AddUserBlock(kId, "Test"));
  EXPECT_EQ(UserValues(),
            (std::vector<std::string>{"1=first", "2=" + std::string(kId), "3=third", "4=fourth"}));
  EXPECT_TRUE(policy.Check(kId).blocked);
  ASSERT_TRUE(policy.AddUserBlock(kId, "Test"));  // already there: nothing added
  EXPECT_EQ(UserValues().size(), 4u);
  ASSERT_TRUE(policy.RemoveUserBlock(kId, "Test"));
  EXPECT_EQ(UserValues(), (std::vector<std::string>{"1=first", "2=fourth", "3=third"}));
  EXPECT_FALSE(policy.Check(kId).blocked);

  // Blocked also by "*": lifting our entry would not free it.
  Apply({{cu, list, "1", "*"}, {cu, list, "2", kId}});
  ChromiumPolicy star(kKey);
  const ChangeResult r = star.RemoveUserBlock(kId, "Test");
  EXPECT_EQ(r.error, kChangeOnlyInBrowser);
  EXPECT_EQ(UserValues().size(), 2u);
  // A machine list: a user's entry would be ignored.
  Apply({{RegRoot::LocalMachine, list, "1", "other"}});
  ChromiumPolicy machine_list(kKey);
  const ChangeResult ignored = machine_list.AddUserBlock(kId, "Test");
  EXPECT_EQ(ignored.error, kChangeOnlyInBrowser);
  EXPECT_NE(ignored.message.find("HKEY_LOCAL_MACHINE\\" + std::string(kKey)), std::string::npos)
      << ignored.message;
  EXPECT_TRUE(UserValues().empty());

  // A user's list kept under the name before version 86 takes our entry in that key: a
  // key of the new name would hide the old one's entries from the browser.
  Apply({{cu, "ExtensionInstallBlacklist", "1", "first"}});
  ChromiumPolicy old_name(kKey);
  ASSERT_TRUE(old_name.AddUserBlock(kId, "Test"));
  EXPECT_FALSE(machine.KeyExists(cu, std::string(kKey) + "\\" + list));
  EXPECT_TRUE(ChromiumPolicy(kKey).Check("first").blocked);
  EXPECT_TRUE(ChromiumPolicy(kKey).Check(kId).blocked);
  EXPECT_NE(old_name.UserListPath().find("ExtensionInstallBlacklist"), std::string::npos);
  ASSERT_TRUE(old_name.RemoveUserBlock(kId, "Test"));
  EXPECT_FALSE(ChromiumPolicy(kKey).Check(kId).blocked);
  EXPECT_TRUE(ChromiumPolicy(kKey).Check("first").blocked);
}

TEST(ExtensionMessages, FillsInMessagesAsTheBrowserDoes) {
  const ExtensionMessages messages = {{"appname", "Page Translator"}, {"empty", ""}};
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {"__MSG_appName__", "Page Translator"},
      {"__MSG_APPNAME__ (beta)", "Page Translator (beta)"},
      {"__MSG_empty__x", "x"},
      {"no message here", "no message here"},
      {"__MSG_missing__", "__MSG_missing__"},  // the whole text stays
      {"__MSG_appName__ __MSG_missing__", "__MSG_appName__ __MSG_missing__"},
      {"__MSG_not valid__ __MSG_appName__",
       "__MSG_not valid__ Page Translator"},  // skipped as the browser does
      {"__MSG_", "__MSG_"},
      {"__MSG_appName", "__MSG_appName"},
  };
  for (const auto& c : cases) EXPECT_EQ(LocaliseText(c.text, messages), c.shown) << c.text;

  EXPECT_EQ(ParentLocales("sr_Latn_RS"), (std::vector<std::string>{"sr_Latn_RS", "sr_Latn", "sr"}));
  EXPECT_EQ(ParentLocales("en-GB"), (std::vector<std::string>{"en_GB", "en"}));
  const struct {
    const char* app_locale;
    uint16_t langid;
    const char* locale;
  } locales[] = {
      {"", 0x0809, "en_GB"},  {"", 0x0409, "en_US"}, {"", 0x0c09, "en_GB"},
      {"", 0x0407, "de"},     {"", 0x0c0a, "es"},    {"", 0x080a, "es_419"},
      {"", 0x0416, "pt_BR"},  {"", 0x0816, "pt_PT"}, {"", 0x0804, "zh_CN"},
      {"", 0x0404, "zh_TW"},  {"", 0x0000, "en"},    {"pt-BR", 0x0407, "pt_BR"},
      {"../x", 0x0407, "de"},  // a setting that could name a folder elsewhere is not one
  };
  for (const auto& l : locales)
    EXPECT_EQ(BrowserUiLocale(l.app_locale, l.langid), l.locale) << l.langid;
}

// Catalogs as extensions ship them: comments and a byte-order mark allowed, placeholders
// named without case, the more specific locale winning per message, a broken catalog or
// message passed over.
TEST(ExtensionMessages, ReadsTheCatalogsOfAnExtension) {
  test::TestMachine machine;
  const std::string folder = machine.folder() + "\\ext";
  machine.WriteFile(
      folder + "\\_locales\\de\\messages.json",
      "\xEF\xBB\xBF// the default\n{\"name\":{\"message\":\"$Product$ Lupe\",\"placeholders\":"
      "{\"PRODUCT\":{\"content\":\"Farb\"}}},\"desc\":{\"message\":\"Beschreibung\"},"
      "\"broken\":{\"text\":\"no message\"}}");
  machine.WriteFile(folder + "\\_locales\\en\\messages.json",
                    "{\"name\":{\"message\":\"Colour $what$\","
                    "\"placeholders\":{\"what\":{\"content\":\"Lens\"}}}}");
  machine.WriteFile(folder + "\\_locales\\en_GB\\messages.json", "{not json");
  const ExtensionMessages gb = LoadExtensionMessages(folder, "en_GB", "de");
  EXPECT_EQ(LocaliseText("__MSG_name__", gb), "Colour Lens");
  EXPECT_EQ(LocaliseText("__MSG_desc__", gb), "Beschreibung");  // only the default has it
  EXPECT_EQ(gb.count("broken"), 0u);
  EXPECT_EQ(LocaliseText("__MSG_name__", LoadExtensionMessages(folder, "fr", "de")), "Farb Lupe");
  EXPECT_TRUE(
      LoadExtensionMessages(folder, "en", "..\\..\\x").count("name"));  // a bad default is skipped
}

}  // namespace
}  // namespace orvo
