// The main window on the modern image: Chrome's count text names the profile it shows,
// the first switch through the browser's policy is explained and made only on Yes (and
// not asked again), and a delete only the browser can make offers the browser's page.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/registry_helpers.h"
#include "catalogue/shell_helpers.h"
#include "shell/main_window_fixture.h"
#include "ui/events.h"

namespace orvo::test {
namespace {

constexpr char kTabTidy[] = "njljfidahmnikmebegegkdcjncpenkan";
constexpr char kCouponFinder[] = "lblbplamhdghlbicigeijlkfkdikabla";
constexpr char kUserList[] = "SOFTWARE\\Policies\\Google\\Chrome\\ExtensionInstallBlocklist";

class MainWindowModern : public MainWindowTest {
 protected:
  MainWindowModern() : MainWindowTest("", true, ModernImage()) {}
  ~MainWindowModern() override { TBrowserAppBase::PolicyChangesAllowed = false; }
  static std::string UserList() {
    std::vector<std::string> names;
    RegGetValueNames(RegRoot::CurrentUser, kUserList, names, true, true);
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& n : names)
      out += n + "=" + RegReadString(RegRoot::CurrentUser, kUserList, n, true) + ";";
    return out;
  }
  // Clicks and answers each message box that opens in turn with the next keys.
  void ClickAnsweringEach(const Rect& r, std::vector<std::vector<uint16_t>> answers) {
    // A modal loop idles only once its box has nothing left to do: each idle is a new box.
    size_t next = 0;
    screen->on_modal_idle = [&] {
      if (next >= answers.size()) return false;
      ++message_boxes;
      for (uint16_t key : answers[next++]) screen->PressKey(key);
      return true;
    };
    ClickIn(r);
    screen->on_modal_idle = nullptr;
  }
};

TEST_F(MainWindowModern, TheCountTextNamesTheProfile) {
  Open();
  EXPECT_EQ(main->SelectedCatalogue()->BrowserKind, bkChrome);
  EXPECT_EQ(main->lbl1->Caption(), "11 plug-ins were found (profile Person 1)");
  EXPECT_GT(main->lbl1->Width(), 223);
  ClickTab(bkOpera);  // one profile: nothing to tell apart
  EXPECT_EQ(main->lbl1->Caption(), "2 plug-ins were found");
  EXPECT_EQ(main->lbl1->Width(), 223);
}

TEST_F(MainWindowModern, TheFirstPolicySwitchIsExplainedAndMadeOnlyOnYes) {
  Open();
  const std::string before = UserList();
  ClickAnswering(Data(*Row(kTabTidy)).ToggleRect, {kVkRight, kVkReturn});  // No
  EXPECT_EQ(message_boxes, 1);
  EXPECT_FALSE(Record(kTabTidy)->Disabled);
  EXPECT_EQ(UserList(), before);
  EXPECT_FALSE(TBrowserAppBase::PolicyChangesAllowed);

  ClickAnswering(Data(*Row(kTabTidy)).ToggleRect, {kVkReturn});  // Yes
  EXPECT_EQ(message_boxes, 2);
  EXPECT_TRUE(Record(kTabTidy)->Disabled);
  EXPECT_NE(UserList().find(std::string("=") + kTabTidy + ";"), std::string::npos);
  EXPECT_TRUE(ToastTexts().empty());

  // Agreed once: the next one is made without asking.
  ClickAnswering(Data(*Row(kCouponFinder)).ToggleRect, {kVkReturn});
  EXPECT_EQ(message_boxes, 2);
  EXPECT_FALSE(Record(kCouponFinder)->Disabled);
  EXPECT_EQ(UserList().find(kCouponFinder), std::string::npos);
}

TEST_F(MainWindowModern, ADeleteOnlyTheBrowserCanMakeOffersItsPage) {
  if (!machine().sandbox()) GTEST_SKIP() << "the stand-in chrome.exe is no program to start";
  Open();
  const std::string folder = Catalogue().ProfileDir + "Extensions\\" + kTabTidy;
  ClickAnsweringEach(Data(*Row(kTabTidy)).DeleteRect,
                     {{kVkReturn}, {kVkRight, kVkReturn}});  // Yes, then No
  EXPECT_EQ(message_boxes, 2);
  EXPECT_NE(Record(kTabTidy), nullptr);
  EXPECT_TRUE(FolderExists(folder));
  EXPECT_EQ(ReadHostFile(machine().image_folder() + "/opened-urls.txt"), "");

  ClickAnsweringEach(Data(*Row(kTabTidy)).DeleteRect, {{kVkReturn}, {kVkReturn}});  // Yes, Yes
  EXPECT_EQ(message_boxes, 4);
  EXPECT_NE(Record(kTabTidy), nullptr);
  EXPECT_EQ(
      ReadHostFile(machine().image_folder() + "/opened-urls.txt"),
      "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe --profile-directory=\"Default\" "
      "chrome://extensions/?id=" +
          std::string(kTabTidy) + "\n");
  EXPECT_EQ(main->lbl1->Caption(), "11 plug-ins were found (profile Person 1)");
}

}  // namespace
}  // namespace orvo::test
