// Damaged or hostile browser data: the catalogue lists what it can, never crashes, and
// never deletes or writes outside the profile.
#include <gtest/gtest.h>

#include "catalogue/chromium_extensions.h"
#include "catalogue_fixture.h"

namespace orvo {
namespace {

using test::FindById;

constexpr const char* kTabTidy = "fblkdohiomlcbgpekccokebfafkgegcf";

std::string ChromePreferences() { return TChromeExtensions().ProfileDir + "Preferences"; }

struct BadPreferences {
  const char* what;
  std::string text;
  int extensions;        // -1: none, and the file is a reason the catalogue keeps
  const char* why = "";  // the reason, after the file name
};

// A Preferences that can't be parsed lists no extension, names the file and what failed,
// still lists the plug-ins, and refuses every change; one that parses but holds odd
// things lists what it can, and no switch crashes.
TEST(ChromeBadInput, DamagedPreferencesNeverCrash) {
  const std::vector<BadPreferences> cases = {
      {"empty file", "", -1, "empty"},
      {"truncated", "{\"extensions\":{\"settings\":{\"" + std::string(kTabTidy) + "\":{\"state\":1",
       -1, "not valid JSON (it breaks off at byte 73)"},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), -1,
       "not valid JSON (it breaks off at byte 1)"},
      {"not an object", "[1,2,3]", -1, "not a JSON object"},
      {"deeply nested", std::string(100000, '[') + std::string(100000, ']'), -1,
       "nested more than 512 levels deep"},
      {"no extensions", "{\"profile\":{}}", 0},
      {"settings an array", "{\"extensions\":{\"settings\":[]}}", 0},
      {"extensions a string", "{\"extensions\":\"x\"}", 0},
      {"odd member types",
       "{\"extensions\":{\"known_disabled\":\"x\",\"settings\":{\"" + std::string(kTabTidy) +
           "\":{\"state\":\"on\",\"manifest\":{\"name\":5,\"icons\":[\"48\"]},\"path\":7}}}}",
       1},
      {"member not an object",
       "{\"extensions\":{\"settings\":{\"" + std::string(kTabTidy) + "\":true}}}", 0},
  };
  for (const auto& c : cases) {
    test::TestMachine machine{test::DemoOptions()};
    machine.WriteFile(ChromePreferences(), c.text);
    TChromeExtensions chrome;
    int extensions = 0;
    for (int i = 0; i < chrome.GetCount(); ++i)
      extensions += chrome.GetItem(i)->ItemKind == ikExtension;
    EXPECT_EQ(chrome.GetCount() - extensions, 3) << c.what;  // the plug-ins, in every case
    if (c.extensions < 0) {
      EXPECT_EQ(extensions, 0) << c.what;
      EXPECT_EQ(chrome.Document, nullptr) << c.what;
      EXPECT_EQ(chrome.LoadError, ChromePreferences() + ": " + c.why) << c.what;
      const ChangeResult r = chrome.DeleteItem(chrome.GetItem(0));
      EXPECT_FALSE(r) << c.what;
      EXPECT_NE(r.message.find(chrome.LoadError), std::string::npos) << c.what;
      EXPECT_EQ(chrome.GetCount(), 3) << c.what;
      EXPECT_EQ(test::ReadText(ChromePreferences()), c.text) << c.what;
    } else {
      EXPECT_EQ(extensions, c.extensions) << c.what;
      EXPECT_EQ(chrome.LoadError, "") << c.what;
    }
    for (int i = 0; i < chrome.GetCount(); ++i) {
      chrome.ToggleItem(chrome.GetItem(i));  // must not crash either
    }
  }
}

TEST(ChromeBadInput, APreferencesThatCannotBeReadIsNamed) {
  test::TestMachine machine{test::DemoOptions()};
  const std::string prefs = ChromePreferences();
  ASSERT_TRUE(os::Current().files().RemoveFile(prefs));
  {
    TChromeExtensions missing;  // no file: an empty profile, nothing to report
    EXPECT_EQ(missing.LoadError, "");
    EXPECT_EQ(missing.GetCount(), 3);
  }
  ASSERT_TRUE(os::Current().files().CreateFolders(prefs));  // a folder where the file should be
  TChromeExtensions chrome;
  EXPECT_EQ(chrome.GetCount(), 3);  // the plug-ins
  EXPECT_EQ(chrome.LoadError.rfind(prefs + ": ", 0), 0u) << chrome.LoadError;
  EXPECT_NE(chrome.LoadError.find("folder"), std::string::npos) << chrome.LoadError;
}

TEST(ChromeBadInput, PathsOutOfTheProfileAreNotFollowed) {
  test::TestMachine machine{test::DemoOptions()};
  Json prefs = test::ReadJson(ChromePreferences());
  Json& tidy = prefs["extensions"]["settings"][kTabTidy];
  tidy["path"] = "..\\..\\..\\..\\..\\..";
  tidy["manifest"]["icons"] = {{"48", "..\\secret.png"}};
  machine.WriteFile(ChromePreferences(), prefs.dump());
  const std::string outside = TChromeExtensions().ProfileDir + "..\\..\\outside.txt";
  machine.WriteFile(outside, "keep");

  TChromeExtensions chrome;
  TBrowserExtensionInfo* item = FindById(chrome, kTabTidy);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Image, nullptr);
  ASSERT_TRUE(chrome.DeleteItem(item));  // deletes Extensions\<id>, whatever "path" says
  EXPECT_EQ(test::ReadText(outside), "keep");
  EXPECT_NE(os::Current().files().GetAttributes(chrome.ProfileDir), os::kInvalidFileAttributes);
}

TEST(ChromeBadInput, IconsThatAreNoPicturesGiveNoImage) {
  std::string icon, good;
  {
    test::TestMachine probe_machine{test::DemoOptions()};
    TChromeExtensions probe;
    icon = FindById(probe, kTabTidy)->Path + "\\images\\icon48.png";
    good = test::ReadText(icon);
  }
  ASSERT_TRUE(TPngImage::FromPngFile(good));
  std::string damaged = good;
  damaged[damaged.size() - 30] ^= 0x55;  // inside the picture data: the checksum fails
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"not a png", "GIF89a not a png"},
      {"cut off after the header", good.substr(0, 40)},
      {"cut off in the data", good.substr(0, good.size() - 20)},
      {"damaged data", damaged},
  };
  for (const auto& c : cases) {
    test::TestMachine machine{test::DemoOptions()};
    machine.WriteFile(icon, c.bytes);
    TChromeExtensions chrome;
    EXPECT_EQ(FindById(chrome, kTabTidy)->Image, nullptr) << c.what;
    EXPECT_NE(FindById(chrome, "dcgggpjkmcndnlmckifahnfdaokoabni")->Image, nullptr)
        << c.what;  // others load
  }
}

TEST(ChromeBadInput, AnExtensionFolderNamedLikeAPathIsNeverListed) {
  test::TestMachine machine{test::DemoOptions()};
  if (!machine.sandbox()) GTEST_SKIP() << "Windows file names can't hold a backslash";
  TChromeExtensions probe;
  const std::string evil = "..\\..\\..\\..\\..\\Windows";
  Json prefs = test::ReadJson(probe.ProfileDir + "Preferences");
  prefs["extensions"]["settings"][evil] = {{"state", 1}, {"path", "x"}};
  machine.WriteFile(probe.ProfileDir + "Preferences", prefs.dump());
  // On the host one file name can hold backslashes.
  const std::string host_extensions =
      machine.platform().files().NativePath(probe.ProfileDir + "Extensions");
  std::filesystem::create_directories(host_extensions + "/" + evil);
  TChromeExtensions chrome;
  EXPECT_EQ(FindById(chrome, evil), nullptr);
}

}  // namespace
}  // namespace orvo
