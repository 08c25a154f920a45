// The Internet Explorer catalogue on the demo image's registry: both views, the class-key
// rule, the Ext\Settings switch, and the four deletes.
#include <gtest/gtest.h>

#include "catalogue/ie_extensions.h"
#include "catalogue/registry_helpers.h"
#include "catalogue/system_values.h"
#include "catalogue_fixture.h"

namespace orvo {
namespace {

constexpr const char* kHelper = "{6B1D2F3A-1111-4C2E-9A11-0D3E5F7A9B01}";
constexpr const char* kToolbar = "{6B1D2F3A-2222-4C2E-9A11-0D3E5F7A9B02}";
constexpr const char* kButton = "{6B1D2F3A-3333-4C2E-9A11-0D3E5F7A9B03}";
constexpr const char* kMenuButton = "{6B1D2F3A-5555-4C2E-9A11-0D3E5F7A9B05}";
constexpr const char* kBhoList =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\";
constexpr const char* kWowBhoList =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\";
constexpr const char* kMenuExt = "SOFTWARE\\Microsoft\\Internet Explorer\\MenuExt\\";

class IECatalogue : public ::testing::Test {
 protected:
  test::TestMachine machine{test::DemoOptions()};
  static std::vector<std::string> Titles(const TIEExtensions& ie) {
    std::vector<std::string> titles;
    for (int i = 0; i < ie.GetCount(); ++i) titles.push_back(ie.GetItem(i)->ListTitle(IsWin64()));
    return titles;
  }
};

TEST_F(IECatalogue, ListsEveryKindFromBothViewsInKindOrder) {
  TIEExtensions ie;
  EXPECT_EQ(Titles(ie),
            (std::vector<std::string>{"&Send to Clip Notes (64)",
                                      "E&xport to Demo Sheet (64)",  // menu entries
                                      "Send to Notes (64)", "Translate with Demo (64)",  // buttons
                                      "Demo Search Toolbar",  // 32-bit only
                                      "Orvo Demo Helper (64)", "Orvo Demo Helper"}));  // both views
  // The helper whose class key has no name is left out.
  EXPECT_EQ(test::FindById(ie, "{6B1D2F3A-4444-4C2E-9A11-0D3E5F7A9B04}"), nullptr);
}

TEST_F(IECatalogue, ReadsNamesPathsSwitchesAndPictures) {
  TIEExtensions ie;
  const TBrowserExtensionInfo* native_helper = ie.GetItem(5);
  EXPECT_EQ(native_helper->Path, "C:\\Program Files\\Orvo Demo\\helper64.dll");
  EXPECT_EQ(native_helper->Description, "Orvo Demo Helper");
  // Both copies take the native class registration when it exists; the twin is only the
  // fallback.
  EXPECT_EQ(ie.GetItem(6)->Path, "C:\\Program Files\\Orvo Demo\\helper64.dll");
  // The toolbar's class is registered for 32-bit programs only: found through the twin.
  EXPECT_EQ(test::FindById(ie, kToolbar)->Path, "C:\\Program Files (x86)\\Orvo Demo\\toolbar.dll");
  EXPECT_TRUE(test::FindById(ie, kButton)->Disabled);
  const TBrowserExtensionInfo* menu_only = test::FindById(ie, kMenuButton);
  EXPECT_EQ(menu_only->Name, "Translate with Demo");
  EXPECT_NE(menu_only->Image, nullptr);  // from its HotIcon
  EXPECT_EQ(ie.GetItem(0)->Id, "");
  EXPECT_EQ(ie.GetItem(0)->Path, "res://C:\\Program Files\\Orvo Demo\\clip.dll/201");
}

TEST_F(IECatalogue, SwitchingOffAndOnLeavesNoSettingsKeyBehind) {
  TIEExtensions ie;
  TBrowserExtensionInfo* helper = ie.GetItem(5);
  ASSERT_TRUE(ie.ToggleItem(helper));
  EXPECT_TRUE(helper->Disabled);
  EXPECT_EQ(RegReadInteger(RegRoot::CurrentUser, ExtSettingsKey(kHelper), "Flags", false, 0), 1);
  EXPECT_EQ(RegReadString(RegRoot::CurrentUser, ExtSettingsKey(kHelper), "Version", false), "*");
  EXPECT_TRUE(TIEExtensions().GetItem(6)->Disabled);  // one switch serves both copies
  ASSERT_TRUE(ie.ToggleItem(helper));
  EXPECT_FALSE(helper->Disabled);
  EXPECT_FALSE(machine.KeyExists(RegRoot::CurrentUser, ExtSettingsKey(kHelper)));

  ASSERT_TRUE(ie.ToggleItem(test::FindById(ie, kButton)));  // on again
  EXPECT_FALSE(machine.KeyExists(RegRoot::CurrentUser, ExtSettingsKey(kButton)));
}

TEST_F(IECatalogue, MenuEntriesHaveNoSwitchAndCannotTouchTheOthers) {
  TIEExtensions ie;
  TBrowserExtensionInfo* menu = ie.GetItem(0);
  ASSERT_TRUE(ie.ToggleItem(menu));
  EXPECT_FALSE(menu->Disabled);
  // An empty class id must never be read as the whole Ext\Settings key.
  EXPECT_TRUE(machine.KeyExists(RegRoot::CurrentUser, ExtSettingsKey(kButton)));
}

TEST_F(IECatalogue, DeletesEachKindInItsOwnView) {
  TIEExtensions ie;
  ASSERT_TRUE(ie.DeleteItem(ie.GetItem(5)));  // native helper
  EXPECT_FALSE(machine.KeyExists(RegRoot::LocalMachine, std::string(kBhoList) + kHelper));
  EXPECT_TRUE(machine.KeyExists(RegRoot::LocalMachine, std::string(kWowBhoList) + kHelper));
  EXPECT_TRUE(machine.KeyExists(RegRoot::ClassesRoot, std::string("CLSID\\") + kHelper));  // stays

  ASSERT_TRUE(ie.DeleteItem(test::FindById(ie, kToolbar)));
  std::vector<std::string> values;
  RegGetValueNames(RegRoot::LocalMachine,
                   "SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Toolbar", values, true,
                   false);
  EXPECT_TRUE(values.empty());

  ASSERT_TRUE(ie.DeleteItem(test::FindById(ie, kButton)));
  EXPECT_FALSE(machine.KeyExists(
      RegRoot::LocalMachine,
      std::string("SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\") + kButton));

  ASSERT_TRUE(ie.DeleteItem(ie.GetItem(0)));  // the first menu entry only
  EXPECT_FALSE(
      machine.KeyExists(RegRoot::CurrentUser, std::string(kMenuExt) + "&Send to Clip Notes"));
  EXPECT_TRUE(
      machine.KeyExists(RegRoot::CurrentUser, std::string(kMenuExt) + "E&xport to Demo Sheet"));
  EXPECT_EQ(Titles(TIEExtensions()),
            (std::vector<std::string>{"E&xport to Demo Sheet (64)", "Translate with Demo (64)",
                                      "Orvo Demo Helper"}));
}

// A delete the registry refuses (no rights under HKEY_LOCAL_MACHINE, a key that denies
// access) fails by name and keeps the record; every kind checks its own delete.
TEST_F(IECatalogue, ARefusedDeleteFailsAndKeepsTheRecord) {
  const std::string helper_key = std::string(kBhoList) + kHelper;
  const std::string toolbar_list = "SOFTWARE\\WOW6432NODE\\Microsoft\\Internet Explorer\\Toolbar";
  const std::string menu_key = std::string(kMenuExt) + "&Send to Clip Notes";
  TIEExtensions ie;
  const int count = ie.GetCount();
  const std::vector<std::string> titles = Titles(ie);
  machine.DenyAccess(RegRoot::LocalMachine, helper_key);
  machine.DenyAccess(RegRoot::LocalMachine, toolbar_list);
  machine.DenyAccess(RegRoot::CurrentUser, menu_key);
  const struct {
    TBrowserExtensionInfo* item;
    std::string named;
  } cases[] = {
      {ie.GetItem(5), "HKEY_LOCAL_MACHINE\\" + helper_key},
      {test::FindById(ie, kToolbar),
       "\"" + std::string(kToolbar) + "\" of HKEY_LOCAL_MACHINE\\" + toolbar_list},
      {ie.GetItem(0), "HKEY_CURRENT_USER\\" + menu_key},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.item, nullptr);
    const ChangeResult r = ie.DeleteItem(c.item);
    EXPECT_FALSE(r) << c.named;
    EXPECT_NE(r.message.find(c.named), std::string::npos) << r.message;
    EXPECT_GE(ie.IndexOf(c.item), 0) << c.named;
  }
  EXPECT_EQ(ie.GetCount(), count);
  EXPECT_TRUE(machine.KeyExists(RegRoot::LocalMachine, helper_key));
  EXPECT_TRUE(machine.KeyExists(RegRoot::CurrentUser, menu_key));
  EXPECT_EQ(Titles(ie), titles);
}

// A key someone else removed meanwhile is as deleted as it can be.
TEST_F(IECatalogue, AKeyAlreadyGoneCountsAsDeleted) {
  TIEExtensions ie;
  ASSERT_TRUE(RegDeleteKeyPath(RegRoot::LocalMachine, std::string(kBhoList) + kHelper));
  ASSERT_TRUE(RegDeleteValue(RegRoot::LocalMachine,
                             "SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Toolbar",
                             kToolbar));
  ASSERT_TRUE(ie.DeleteItem(ie.GetItem(5)));
  ASSERT_TRUE(ie.DeleteItem(test::FindById(ie, kToolbar)));
  EXPECT_EQ(test::FindById(ie, kToolbar), nullptr);
}

TEST(IECatalogueRunning, AnyIEFrameWindowMeansRunning) {
  test::TestMachine machine{test::DemoOptions()};
  TIEExtensions ie;
  EXPECT_FALSE(ie.IsRunning());
  machine.OpenWindow("IEFrame");
  EXPECT_TRUE(ie.IsRunning());
}

}  // namespace
}  // namespace orvo
