// Finding the browsers: display order, registrations read through the WOW6432Node twin,
// icons, and the default-browser switch.
#include <gtest/gtest.h>

#include "catalogue/browser_list.h"
#include "catalogue/chromium_extensions.h"
#include "catalogue/registry_helpers.h"
#include "catalogue/shell_helpers.h"
#include "catalogue_fixture.h"

namespace orvo {
namespace {

constexpr const char* kUserChoice =
    "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\";

std::vector<uint8_t> Kinds(const BrowserList& list) {
  std::vector<uint8_t> kinds;
  for (const auto& app : list) kinds.push_back(app->BrowserKind);
  return kinds;
}

TEST(BrowserList, InstalledBrowsersComeFirstInTheFixedOrder) {
  test::TestMachine machine{test::DemoOptions()};
  BrowserList list;
  BuildBrowserList(list);
  EXPECT_EQ(Kinds(list), (std::vector<uint8_t>{bkChrome, bkIE, bkFirefox, bkOpera}));
  for (const auto& app : list) {
    ASSERT_NE(app->Icon, nullptr) << app->DisplayName;
    // The system's large icon, drawn at the top left of a 48 x 48 canvas.
    const TPngImage pixels = app->Icon->Unpacked();
    ASSERT_EQ(pixels.width(), 48);
    int inside = 0, outside = 0;
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 48; ++x) {
        const bool ink = (pixels.Pixel(x, y) >> 24) > 0;
        (x < 32 && y < 32 ? inside : outside) += ink;
      }
    }
    EXPECT_GT(inside, 200) << app->DisplayName;
    EXPECT_EQ(outside, 0) << app->DisplayName;
  }
  EXPECT_TRUE(list[0]->IsDefault);
  EXPECT_EQ(list[1]->OpenCommand, "C:\\Program Files\\Internet Explorer\\iexplore.exe");
}

TEST(BrowserList, WithOnlyFirefoxTheMissingOnesFollowEmpty) {
  test::TestMachine machine{test::DemoOptions()};
  BrowserList probe;
  BuildBrowserList(probe);
  ASSERT_TRUE(DeleteFileOrFolder(probe[0]->ProfileDir, false));  // Chrome's profile
  ASSERT_TRUE(DeleteFileOrFolder(probe[3]->ProfileDir, false));  // Opera's
  BrowserList list;
  BuildBrowserList(list);
  EXPECT_EQ(Kinds(list), (std::vector<uint8_t>{bkIE, bkFirefox, bkChrome, bkOpera}));
  EXPECT_EQ(list[2]->Icon, nullptr);
  EXPECT_EQ(list[2]->GetCount(), 0);
  EXPECT_EQ(list[3]->Icon, nullptr);
  EXPECT_EQ(list[3]->GetCount(), 0);
}

TEST(BrowserList, ARegistrationOnlyUnderWow6432NodeIsReadThroughTheTwin) {
  test::TestMachine machine{test::DemoOptions()};
  BrowserList list;
  BuildBrowserList(list);
  const TBrowserAppBase& firefox = *list[2];
  ASSERT_EQ(firefox.BrowserKind, bkFirefox);
  EXPECT_EQ(firefox.OpenCommand, "\"C:\\Program Files (x86)\\Mozilla Firefox\\firefox.exe\"");
  EXPECT_EQ(firefox.ReinstallCommand,
            "\"C:\\Program Files (x86)\\Mozilla Firefox\\firefox.exe\" --make-default-browser");
  EXPECT_EQ(firefox.AppDescription, "Firefox delivers safe, easy web browsing.");
  EXPECT_NE(firefox.Icon, nullptr);
  EXPECT_EQ(firefox.ProfileDir.substr(firefox.ProfileDir.size() - 34),
            "Firefox\\Profiles\\k3x9q2lm.default\\");
}

TEST(BrowserList, AMalformedDefaultIconLeavesNoIcon) {
  for (const char* value : {"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe",
                            "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe,first",
                            "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe,"}) {
    test::TestMachine machine{test::DemoOptions()};
    RegWriteString(RegRoot::LocalMachine,
                   "SOFTWARE\\Clients\\StartMenuInternet\\Google Chrome\\DefaultIcon", "", value);
    TChromeExtensions chrome;
    chrome.ReadBrowserInfo();
    EXPECT_EQ(chrome.Icon, nullptr) << value;
    EXPECT_FALSE(chrome.OpenCommand.empty());
  }
}

TEST(DefaultBrowser, SwitchesAllThreeSchemesAndTheOpenCommands) {
  test::TestMachine machine{test::DemoOptions()};
  BrowserList list;
  BuildBrowserList(list);
  TBrowserAppBase& opera = *list[3];
  ASSERT_FALSE(opera.IsDefault);
  ASSERT_TRUE(SetDefaultBrowser(opera));
  EXPECT_TRUE(opera.IsDefault);
  for (const char* scheme : {"http", "https", "ftp"}) {
    EXPECT_EQ(RegReadString(RegRoot::CurrentUser,
                            std::string(kUserChoice) + scheme + "\\UserChoice", "Progid", true),
              "OperaStable");
    EXPECT_EQ(RegReadString(RegRoot::ClassesRoot, std::string(scheme) + "\\shell\\open\\command",
                            "", true),
              opera.OpenCommand);
  }
  BrowserList again;
  BuildBrowserList(again);
  EXPECT_FALSE(again[0]->IsDefault);
  EXPECT_TRUE(again[3]->IsDefault);
}

TEST(DefaultBrowser, TheDefaultBrowserWritesNothing) {
  test::TestMachine machine{test::DemoOptions()};
  BrowserList list;
  BuildBrowserList(list);
  const std::string key = std::string(kUserChoice) + "http\\UserChoice";
  RegWriteString(RegRoot::CurrentUser, key, "Marker", "kept");
  RegWriteString(RegRoot::ClassesRoot, "http\\shell\\open\\command", "", "untouched");
  list[0]->OpenCommand = "would be written";
  EXPECT_TRUE(SetDefaultBrowser(*list[0]));
  EXPECT_EQ(RegReadString(RegRoot::ClassesRoot, "http\\shell\\open\\command", "", true),
            "untouched");
}

// A UserChoice key that is missing (it is never made here) or refuses fails the switch by
// name, and then nothing is written at all: no scheme is left switched half way.
TEST(DefaultBrowser, AMissingOrRefusingKeyFailsByNameAndChangesNothing) {
  for (const bool missing : {true, false}) {
    test::TestMachine machine{test::DemoOptions()};
    const std::string ftp = std::string(kUserChoice) + "ftp\\UserChoice";
    const std::string https = std::string(kUserChoice) + "https\\UserChoice";
    if (missing) {
      RegDeleteKeyPath(RegRoot::CurrentUser, std::string(kUserChoice) + "ftp");
    } else {
      machine.DenyAccess(RegRoot::CurrentUser, https);
    }
    const std::string command_before =
        RegReadString(RegRoot::ClassesRoot, "http\\shell\\open\\command", "", true);
    BrowserList list;
    BuildBrowserList(list);
    const ChangeResult r = SetDefaultBrowser(*list[3]);
    EXPECT_FALSE(r) << missing;
    const std::string named = "HKEY_CURRENT_USER\\" + (missing ? ftp : https) +
                              (missing ? " is missing" : " refused access");
    EXPECT_NE(r.message.find(named), std::string::npos) << r.message;
    EXPECT_FALSE(list[3]->IsDefault);
    if (missing) {
      EXPECT_FALSE(machine.KeyExists(RegRoot::CurrentUser, ftp));  // not made
    }
    EXPECT_EQ(RegReadString(RegRoot::CurrentUser, std::string(kUserChoice) + "http\\UserChoice",
                            "Progid", true),
              "ChromeHTML");
    EXPECT_EQ(RegReadString(RegRoot::ClassesRoot, "http\\shell\\open\\command", "", true),
              command_before);
  }
}

TEST(DefaultBrowser, ABrowserWithoutAnOpenCommandIsNotMadeTheDefault) {
  test::TestMachine machine{test::DemoOptions()};
  BrowserList list;
  BuildBrowserList(list);
  const std::string command_before =
      RegReadString(RegRoot::ClassesRoot, "http\\shell\\open\\command", "", true);
  list[3]->OpenCommand.clear();
  const ChangeResult r = SetDefaultBrowser(*list[3]);
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("open command"), std::string::npos) << r.message;
  EXPECT_EQ(RegReadString(RegRoot::ClassesRoot, "http\\shell\\open\\command", "", true),
            command_before);
  EXPECT_EQ(RegReadString(RegRoot::CurrentUser, std::string(kUserChoice) + "http\\UserChoice",
                          "Progid", true),
            "ChromeHTML");
}

TEST(CompareItems, HigherKindsFirstThenOrdinalNames) {
  TBrowserExtensionInfo upper, lower, plugin, accent;
  upper.Name = "ABC";
  lower.Name = "abc";
  accent.Name = "Ábc";
  upper.ItemKind = lower.ItemKind = accent.ItemKind = ikExtension;
  plugin.Name = "AAA";
  plugin.ItemKind = ikPlugin;
  EXPECT_LT(CompareItems(upper, lower), 0);
  EXPECT_LT(CompareItems(lower, accent), 0);
  EXPECT_LT(CompareItems(lower, plugin), 0);
  EXPECT_GT(CompareItems(plugin, upper), 0);
  EXPECT_EQ(CompareItems(upper, upper), 0);
}

}  // namespace
}  // namespace orvo
