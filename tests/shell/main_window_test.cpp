// The main window driven as a user would, on a copy of the demo image with a rating
// service stand-in: the tabs, the rows and their ratings, switching and deleting (with the
// browser running, the question answered every way, writes refused), the ratings arriving
// while a row is deleted, the default browser, hints, the size floor, a language switch,
// F1 and the share buttons, and a browser whose data could not be read.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/json_document.h"
#include "catalogue/shell_helpers.h"
#include "catalogue/system_values.h"
#include "platform/platform.h"
#ifndef _WIN32
#include "platform/sandbox/image.h"
#endif
#include "rating/rate_session.h"
#include "shell/app_config.h"
#include "shell/language.h"
#include "shell/main_window_fixture.h"
#include "shell/message_form.h"
#include "shell/site_pages.h"
#include "ui/application.h"
#include "ui/events.h"
#include "ui/hint_window.h"

namespace orvo::test {
namespace {

constexpr char kTabTidy[] = "fblkdohiomlcbgpekccokebfafkgegcf";
constexpr char kQuietPages[] = "anihaiknkjpemibakigcfnienhfpllen";
constexpr char kClipNotes[] = "klngfkoppaageohkfiaojmohnmphfjfc";
constexpr char kPdfView[] = "@orvo-demo.example/PdfView";

class MainWindow : public MainWindowTest {
 protected:
  std::string Preferences() { return Catalogue().ProfileDir + Catalogue().DataFileName; }
  // The extension's "state" in the Preferences file on disk (-1 when absent).
  int StateOnDisk(const std::string& id) {
    auto doc = ParseJsonDocument(os::Current().files().ReadFile(Preferences()).value_or(""));
    if (!doc) return -1;
    const Json& entry = doc->value["extensions"]["settings"][id];
    return entry.contains("state") ? entry["state"].get<int>() : -1;
  }
  // How much of star k (0..4) of a row is lit gold, 0 to 1, from the window's picture.
  double StarGold(TLumLvItem& row, int k) {
    main->PaintAll();
    const Rect r = Data(row).RatingRect;
    const Point o = main->m_lstView->FormOrigin();
    const Bitmap32& picture = main->Screen();
    int gold = 0, all = 0;
    for (int y = r.top + 20; y < r.top + 35; ++y) {
      for (int x = r.left + 2 + 19 * k; x < r.left + 17 + 19 * k; ++x) {
        const Argb p = picture.Pixel(o.x + x, o.y + y);
        const int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
        ++all;
        if (red > 200 && green > 120 && green < 215 && blue < 110) ++gold;
      }
    }
    return static_cast<double>(gold) / all;
  }
  std::vector<std::string> OpenedUrls() {
    return Lines(ReadHostFile(machine().image_folder() + "/opened-urls.txt"));
  }
  static std::string PercentDecoded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '%' && i + 2 < text.size()) {
        out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        out += text[i];
      }
    }
    return out;
  }
  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
};

TEST_F(MainWindow, TabsShowTheInstalledBrowsersInOrderAndTheFirstOneIsOpen) {
  Open();
  const uint8_t kinds[] = {bkChrome, bkIE, bkFirefox, bkOpera};
  ASSERT_EQ(main->TabButtons.size(), 4u);
  for (int k = 0; k < 4; ++k) {
    TLumButton* tab = main->TabButtons[static_cast<size_t>(k)];
    ASSERT_NE(main->TabCatalogue(tab), nullptr);
    EXPECT_EQ(main->TabCatalogue(tab)->BrowserKind, kinds[k]);
    EXPECT_TRUE(tab->Enabled());
    EXPECT_EQ(tab->BoundsRect(), RectOfSize(5, k * 50 + 27, 171, 50));
    EXPECT_EQ(tab->Caption(), main->TabCatalogue(tab)->DisplayName);
  }
  EXPECT_EQ(main->SelectedTab, main->TabButtons[0]);
  EXPECT_EQ(main->SelectedTab->BtnStatus(), bsSelect);
  EXPECT_TRUE(Catalogue().IsDefault);
  EXPECT_TRUE(main->lbl1->Visible());
  EXPECT_EQ(main->lbl1->Caption(), "15 plug-ins were found");
  EXPECT_EQ(main->m_lstView->ItemCount(), 15);
  // The first tab's ratings were asked for during start-up, once.
  EXPECT_EQ(service.BrowserIds(), std::vector<std::string>{"1"});
  EXPECT_EQ(main->lbl2->Caption().rfind("Current Version:1.", 0), 0u) << main->lbl2->Caption();
  EXPECT_EQ(main->m_lstView->Columns(0)->Width, 617 - 220);
}

TEST_F(MainWindow, RatingsLandInTenthsOncePerBrowserAndShowAsStars) {
  service.SetRating(kTabTidy, "3.5,12");
  service.SetRating(kQuietPages, "4.05");
  service.SetRating(kClipNotes, "not a number");
  Open();
  EXPECT_DOUBLE_EQ(Record(kTabTidy)->Rating, 3.5);
  EXPECT_DOUBLE_EQ(Record(kQuietPages)->Rating, 4.0);
  EXPECT_DOUBLE_EQ(Record(kClipNotes)->Rating, 0);
  // 3.5: three lit, one half, one grey; 4.0: four lit, one grey.
  TLumLvItem* tidy = Row(kTabTidy);
  ASSERT_NE(tidy, nullptr);
  const double lit = StarGold(*tidy, 2);
  EXPECT_GT(lit, 0.2);
  EXPECT_GT(StarGold(*tidy, 3), 0.05);
  EXPECT_LT(StarGold(*tidy, 3), lit * 0.75);
  EXPECT_EQ(StarGold(*tidy, 4), 0);
  TLumLvItem* quiet = Row(kQuietPages);
  EXPECT_NEAR(StarGold(*quiet, 3), lit, 0.03);  // the row bands differ a little
  EXPECT_EQ(StarGold(*quiet, 4), 0);

  ClickTab(bkFirefox);
  ClickTab(bkChrome);
  ClickTab(bkFirefox);
  EXPECT_EQ(service.BrowserIds(), (std::vector<std::string>{"1", "3"}));
  EXPECT_EQ(Catalogue().BrowserKind, bkFirefox);
}

TEST_F(MainWindow, ARefusedClientAndAnUnreadableReplyAreToasted) {
  struct Case {
    const char* reply;
    const char* toast;
  };
  for (const Case c : {Case{"msg=0\n", "Product cannot be verified by server."},
                       Case{"<html>busy</html>", "Failed to get rating information."}}) {
    SCOPED_TRACE(c.reply);
    service.ReplyWith(c.reply);
    main.reset();
    FreeAllToasts();
    Open();
    PumpUntil([] { return !LiveToasts().empty(); });
    ASSERT_EQ(ToastTexts(), std::vector<std::string>{c.toast});
    const TfrmMessage& toast = *LiveToasts()[0];
    EXPECT_EQ(toast.Kind(), ToastKind::kError);
    EXPECT_EQ(toast.Left(), main->Left() + main->Width() / 2 - 60 + 1);
    EXPECT_EQ(toast.Top(), main->Top() + main->Height() / 2 - 35 + 1);
  }
}

TEST_F(MainWindow, AServiceThatCannotBeReachedStaysSilentAndIsNotAskedAgain) {
  InstallRateSession(std::make_shared<TRateSession>("http://127.0.0.1:1"));
  Open();
  EXPECT_TRUE(LiveToasts().empty());
  EXPECT_TRUE(Catalogue().RatingsRequested);
  ClickTab(bkIE);
  ClickTab(bkChrome);
  EXPECT_TRUE(main->RatingsSettled(Catalogue()));
  EXPECT_TRUE(LiveToasts().empty());
  EXPECT_EQ(Record(kTabTidy)->Rating, 0);
}

TEST_F(MainWindow, TheSwitchRewritesPreferencesAndShowsTheNewState) {
  Open();
  TLumLvItem* row = Row(kTabTidy);
  ASSERT_NE(row, nullptr);
  ASSERT_FALSE(Record(kTabTidy)->Disabled);
  const Rect toggle = Data(*row).ToggleRect;
  ASSERT_FALSE(toggle.empty());
  ClickIn(toggle);
  EXPECT_TRUE(Record(kTabTidy)->Disabled);
  EXPECT_EQ(StateOnDisk(kTabTidy), 0);
  ClickIn(toggle);
  EXPECT_FALSE(Record(kTabTidy)->Disabled);
  EXPECT_EQ(StateOnDisk(kTabTidy), 1);
  // NPAPI plug-ins have no switch on the Chrome tab, only the delete button.
  TLumLvItem* plugin = Row(kPdfView);
  ASSERT_NE(plugin, nullptr);
  EXPECT_TRUE(Data(*plugin).ToggleRect.empty());
  EXPECT_FALSE(Data(*plugin).DeleteRect.empty());
  EXPECT_TRUE(LiveToasts().empty());
}

TEST_F(MainWindow, DeleteAsksAndOnlyYesDeletes) {
  Open();
  const std::string folder = Catalogue().ProfileDir + "Extensions\\" + kTabTidy;
  // Esc, No, and the question's close button: nothing goes.
  for (const std::vector<uint16_t>& keys :
       {std::vector<uint16_t>{kVkEscape}, std::vector<uint16_t>{kVkRight, kVkReturn}}) {
    TLumLvItem* row = Row(kTabTidy);
    ASSERT_NE(row, nullptr);
    ClickAnswering(Data(*row).DeleteRect, keys);
    EXPECT_NE(Record(kTabTidy), nullptr);
    EXPECT_TRUE(FolderExists(folder));
  }
  EXPECT_EQ(message_boxes, 2);
  TLumLvItem* row = Row(kTabTidy);
  const Rect del = Data(*row).DeleteRect;
  bool answered = false;
  screen->on_modal_idle = [&] {
    if (answered) return false;
    answered = true;
    const Rect close = imgModule->msgdlg.CloseRect();
    const TForm& box = *imgModule->msgdlg.Form();
    screen->Click(box.Left() + (close.left + close.right) / 2,
                  box.Top() + (close.top + close.bottom) / 2);
    return true;
  };
  ClickIn(del);
  screen->on_modal_idle = nullptr;
  EXPECT_TRUE(answered);
  EXPECT_NE(Record(kTabTidy), nullptr);

  ClickAnswering(Data(*Row(kTabTidy)).DeleteRect, {kVkReturn});
  EXPECT_EQ(Record(kTabTidy), nullptr);
  EXPECT_EQ(main->m_lstView->ItemCount(), 14);
  EXPECT_EQ(main->lbl1->Caption(), "14 plug-ins were found");
  EXPECT_FALSE(FolderExists(folder));
  EXPECT_EQ(StateOnDisk(kTabTidy), -1);
}

TEST_F(MainWindow, DeletingTheLastAddOnLeavesTheEmptyPicture) {
  Open();
  ClickTab(bkOpera);
  const int count = main->m_lstView->ItemCount();
  ASSERT_GT(count, 0);
  for (int i = 0; i < count && main->m_lstView->ItemCount() > 0; ++i) {
    TLumLvItem* row = main->m_lstView->Items(0);
    main->m_lstView->ScrollIntoView(row);
    main->m_lstView->Repaint();
    ClickAnswering(Data(*row).DeleteRect, {kVkReturn});
  }
  EXPECT_EQ(main->m_lstView->ItemCount(), 0);
  EXPECT_EQ(Catalogue().GetCount(), 0);
  EXPECT_TRUE(main->lbl1->Visible());
  EXPECT_EQ(main->lbl1->Caption(), "0 plug-ins were found");
  // The empty picture sits centred above its text.
  main->PaintAll();
  const Point o = main->m_lstView->FormOrigin();
  const int w = main->m_lstView->Width(), h = main->m_lstView->Height();
  EXPECT_NE(main->Screen().Pixel(o.x + w / 2, o.y + h / 2 - 30), 0xFFFFFFFFu);
}

TEST_F(MainWindow, ADeleteWhileTheRatingsAreOnTheirWayReachesNoFreedRecord) {
  service.Hold();
  service.SetRating(kTabTidy, "4.5");
  service.SetRating(kQuietPages, "3.0");
  service.SetRating(kClipNotes, "2.5");
  LoadConfig();
  ChooseLanguageFile("English");
  module = std::make_unique<TimgModule>();
  main = TfrmBase::Create<TfrmXOBMain>();
  Application().MainForm = main.get();
  main->Show();
  ASSERT_TRUE(PumpUntil([&] { return service.RatingRequests() == 1; }));
  ClickAnswering(Data(*Row(kTabTidy)).DeleteRect, {kVkReturn});
  ASSERT_EQ(Record(kTabTidy), nullptr);
  EXPECT_FALSE(main->RatingsSettled(Catalogue()));
  service.Release();
  WaitRatings();
  EXPECT_DOUBLE_EQ(Record(kQuietPages)->Rating, 3.0);
  EXPECT_DOUBLE_EQ(Record(kClipNotes)->Rating, 2.5);
  EXPECT_EQ(main->m_lstView->ItemCount(), 14);
}

TEST_F(MainWindow, AWriteTheSystemRefusesIsReportedNotClaimed) {
  Open();
  TLumLvItem* row = Row(kTabTidy);
  const std::string before = os::Current().files().ReadFile(Preferences()).value_or("");
  {
    HeldFile held(machine(), Preferences());
    ASSERT_TRUE(held.held());
    ClickIn(Data(*row).ToggleRect);
  }
  const std::vector<std::string> toasts = ToastTexts();
  ASSERT_EQ(toasts.size(), 1u);
  EXPECT_EQ(toasts[0].rfind("The plug-in could not be switched on or off: ", 0), 0u) << toasts[0];
  EXPECT_GT(toasts[0].size(), std::string("The plug-in could not be switched on or off: ").size());
  EXPECT_EQ(LiveToasts()[0]->Kind(), ToastKind::kError);
  EXPECT_EQ(os::Current().files().ReadFile(Preferences()).value_or(""), before);
  // The row stays as it was: the switch still shows on.
  EXPECT_FALSE(Record(kTabTidy)->Disabled);
  TLumLvItem* again = Row(kTabTidy);
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(Data(*again).ToggleRect.empty());
}

// A disk that fills while Preferences is written: an error toast naming the full disk,
// the file as it was, the row still on.
#ifndef _WIN32
TEST_F(MainWindow, AFullDiskIsAnErrorToastAndChangesNothing) {
  Open();
  TLumLvItem* row = Row(kTabTidy);
  const std::string before = os::Current().files().ReadFile(Preferences()).value_or("");
  machine().image()->SetWriteFaults({before.size() / 2, false});
  ClickIn(Data(*row).ToggleRect);
  machine().image()->SetWriteFaults({});
  const std::vector<std::string> toasts = ToastTexts();
  ASSERT_EQ(toasts.size(), 1u);
  EXPECT_NE(toasts[0].find("not enough space"), std::string::npos) << toasts[0];
  EXPECT_EQ(LiveToasts()[0]->Kind(), ToastKind::kError);
  EXPECT_EQ(os::Current().files().ReadFile(Preferences()).value_or(""), before);
  EXPECT_FALSE(Record(kTabTidy)->Disabled);
}
#endif

TEST_F(MainWindow, SetAsDefaultMovesTheMarkAndReportsEvenWhenAlreadyDefault) {
  Open();
  ClickTab(bkFirefox);
  const Point o = main->lblSetasdefault->FormOrigin();
  const auto click = [&] {
    screen->Click(main->Left() + o.x + main->lblSetasdefault->Width() - 20, main->Top() + o.y + 8);
  };
  click();
  EXPECT_TRUE(Catalogue().IsDefault);
  EXPECT_FALSE(main->TabCatalogue(main->TabOf(bkChrome))->IsDefault);
  EXPECT_EQ(CurrentHttpProgId(), BrowserProgIds[bkFirefox]);
  ASSERT_EQ(ToastTexts(), std::vector<std::string>{"Successfully set as default browser."});
  const TfrmMessage& toast = *LiveToasts()[0];
  EXPECT_EQ(toast.Kind(), ToastKind::kSuccess);
  EXPECT_EQ(toast.Left(), main->Left() + main->Width() / 2 + 1);
  EXPECT_EQ(toast.Top(), main->Top() + main->Height() / 2 - 35 + 1);
  click();
  EXPECT_EQ(ToastTexts().size(), 2u);
  EXPECT_TRUE(Catalogue().IsDefault);
}

class MainWindowDenied : public MainWindowTest {
 protected:
  MainWindowDenied()
      : MainWindowTest(
            "[AccessDenied]\r\nHKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\"
            "Associations\\UrlAssociations\\http\\UserChoice=write\r\n") {}
};

TEST_F(MainWindowDenied, ADefaultBrowserTheRegistryRefusesIsAnErrorToast) {
  if (!machine().sandbox()) GTEST_SKIP() << "access rules are the sandbox image's";
  Open();
  ClickTab(bkFirefox);
  main->lblSetasdefaultclick();
  const std::vector<std::string> toasts = ToastTexts();
  ASSERT_EQ(toasts.size(), 1u);
  EXPECT_EQ(toasts[0].rfind("The browser could not be made the default browser: ", 0), 0u)
      << toasts[0];
  EXPECT_EQ(LiveToasts()[0]->Kind(), ToastKind::kError);
  EXPECT_TRUE(main->TabCatalogue(main->TabOf(bkChrome))->IsDefault);
}

class MainWindowChromeRunning : public MainWindowTest {};

TEST_F(MainWindowChromeRunning, ARunningBrowserRefusesSwitchAndDelete) {
  machine().StartProcess("chrome.exe");
  Open();
  TLumLvItem* row = Row(kTabTidy);
  ClickAnswering(Data(*row).ToggleRect, {kVkReturn});
  ClickAnswering(Data(*row).DeleteRect, {kVkReturn});
  // One box each (the refusal), no question after it.
  EXPECT_EQ(message_boxes, 2);
  ASSERT_NE(Record(kTabTidy), nullptr);
  EXPECT_FALSE(Record(kTabTidy)->Disabled);
  EXPECT_EQ(main->m_lstView->ItemCount(), 15);
}

TEST_F(MainWindow, TheRowButtonsHaveHintsAndAHand) {
  Open();
  TLumLvItem* row = Row(kTabTidy);
  const TAddonRow& data = Data(*row);
  const struct {
    Rect r;
    const char* hint;
  } places[] = {
      {data.DeleteRect, "Delete"}, {data.ToggleRect, "Disable"}, {data.RatingRect, "Ratings:"}};
  for (const auto& place : places) {
    SCOPED_TRACE(place.hint);
    const Point p = ScreenPoint(place.r);
    screen->MoveMouse(p.x, p.y);
    EXPECT_EQ(main->m_lstView->Cursor, crHandPoint);
    ASSERT_NE(Application().HintWindow(), nullptr);
    EXPECT_EQ(Application().HintWindow()->Text(), place.hint);
  }
  const Point title = ScreenPoint({100, row->ItemRect.top + 20, 110, row->ItemRect.top + 22});
  screen->MoveMouse(title.x, title.y);
  EXPECT_EQ(main->m_lstView->Cursor, crDefault);
  EXPECT_FALSE(main->m_lstView->ShowHint);
}

// The browser's own add-on has no delete button; a switch the browser keeps says why in its
// hint, and a click on it changes nothing and says so; the row's kind is the browser's.
TEST_F(MainWindow, FirefoxRowsShowWhatTheBrowserKeeps) {
  Open();
  ClickTab(bkFirefox);
  TLumLvItem* autofill = Row("formautofill@mozilla.org");
  ASSERT_NE(autofill, nullptr);
  EXPECT_TRUE(Data(*autofill).DeleteRect.empty());
  ASSERT_FALSE(Data(*autofill).ToggleRect.empty());
  const Point p = ScreenPoint(Data(*autofill).ToggleRect);
  screen->MoveMouse(p.x, p.y);
  ASSERT_NE(Application().HintWindow(), nullptr);
  EXPECT_EQ(Application().HintWindow()->Text(),
            "It is part of Firefox, which keeps it as it is, so it cannot be switched here.");
  ClickIn(Data(*autofill).ToggleRect);
  EXPECT_FALSE(Record("formautofill@mozilla.org")->Disabled);
  const std::vector<std::string> toasts = ToastTexts();
  ASSERT_EQ(toasts.size(), 1u);
  EXPECT_NE(toasts[0].find("cannot be switched here"), std::string::npos) << toasts[0];

  TLumLvItem* theme = Row("darkfox@orvo-demo.example");
  ASSERT_NE(theme, nullptr);
  EXPECT_FALSE(Data(*theme).DeleteRect.empty());
  EXPECT_EQ(Record("darkfox@orvo-demo.example")->TypeName, "theme");
}

TEST_F(MainWindow, TheWindowStopsAt500By400AndTheFirstColumnGivesWay) {
  Open();
  main->SetBounds(main->Left(), main->Top(), 300, 200);
  EXPECT_EQ(main->Width(), 500);
  EXPECT_EQ(main->Height(), 400);
  const int list_width = main->m_lstView->Width();
  EXPECT_EQ(list_width, 617 - 300);
  EXPECT_EQ(main->m_lstView->Columns(0)->Width, list_width - 220);
  main->SetBounds(main->Left(), main->Top(), 1000, 700);
  EXPECT_EQ(main->m_lstView->Columns(0)->Width, 617 + 200 - 220);
  EXPECT_EQ(main->btn4->Left(), 775 + 200);
  EXPECT_EQ(main->lbl2->Top(), 478 + 200);
}

TEST_F(MainWindow, ALanguageSwitchRebuildsTheCountTextAndKeepsTheBrowserNames) {
  Open();
  SetLanguageFile(LanguageFilePath("German"));
  SendFormMessage(*main, kWmApplyLanguage);
  EXPECT_EQ(main->lbl1->Caption(), "15 Plug-ins gefunden");
  EXPECT_EQ(main->SelectedTab->Caption(), Catalogue().DisplayName);
  EXPECT_EQ(main->lblSetasdefault->Caption(), "Als Standardbrowser festlegen");
  EXPECT_EQ(main->btn4->Hint, "Homepage");
}

TEST_F(MainWindow, F1AndTheShareButtonsOpenTheirPages) {
  if (!machine().sandbox()) GTEST_SKIP() << "the pages would open in a real browser";
  Open();
  screen->PressKey(kVkF1);
  for (TLumButton* b : {main->btn1, main->btn2, main->btn3, main->btn4}) {
    const Point o = b->FormOrigin();
    screen->Click(main->Left() + o.x + 10, main->Top() + o.y + 10);
  }
  const std::vector<std::string> urls = OpenedUrls();
  ASSERT_EQ(urls.size(), 5u);
  EXPECT_EQ(urls[0], SitePage(kOnlineHelpPath));
  EXPECT_EQ(urls[1], SitePage(kFacebookPath));
  EXPECT_EQ(urls[2], SitePage(kTwitterPath));
  EXPECT_EQ(urls[4], SitePage(kHomePath));
  // The mail: subject and body percent-encoded, nothing else in the address.
  const std::string& mail = urls[3];
  const std::string head = "mailto:?subject=Please%20try%20Orvo%20Plug-in%20Manager%21&body=";
  ASSERT_EQ(mail.rfind(head, 0), 0u) << mail;
  const std::string body = mail.substr(head.size());
  EXPECT_EQ(body.find_first_of(" <>\"&"), std::string::npos) << body;
  EXPECT_EQ(PercentDecoded(body),
            "<a href=\"" + SitePage(kDownloadPath) +
                "\">Please try Orvo Plug-in Manager!</a> I've found it useful "
                "in managing browser plug-ins!");
}

TEST_F(MainWindow, ABrowserWhoseDataCouldNotBeReadSaysWhyAndChangesNothing) {
  Open();
  Catalogue().LoadError = "Preferences: the file is not JSON";
  ClickTab(bkIE);
  ClickTab(bkChrome);
  // The notice sits above the first row, in the list.
  main->PaintAll();
  const Point o = main->m_lstView->FormOrigin();
  EXPECT_EQ(main->Screen().Pixel(o.x + 300, o.y + 12), 0xFFFFF6DEu);
  EXPECT_GE(main->m_lstView->Items(0)->ItemRect.top, 60);
  TLumLvItem* row = Row(kTabTidy);
  ASSERT_NE(row, nullptr);
  EXPECT_TRUE(Data(*row).ToggleRect.empty());
  EXPECT_TRUE(Data(*row).DeleteRect.empty());
  EXPECT_FALSE(Data(*row).RatingRect.empty());
  // Where the switch and the delete button would be, a click changes nothing.
  const Rect col1 = main->m_lstView->Columns(1)->ColumnRect;
  ClickIn({col1.right + 20, row->ItemRect.top + 30, col1.right + 40, row->ItemRect.top + 40});
  ClickIn({col1.right + 62, row->ItemRect.top + 30, col1.right + 76, row->ItemRect.top + 40});
  EXPECT_FALSE(Record(kTabTidy)->Disabled);
  EXPECT_EQ(main->m_lstView->ItemCount(), 15);
  EXPECT_EQ(message_boxes, 0);
}

class MainWindowDamaged : public MainWindow {
 protected:
  MainWindowDamaged() {
    // Chrome's Preferences cut off in the middle, as a crash while writing would leave it.
    const std::string path = LocalAppDataPreferences();
    const std::string text = os::Current().files().ReadFile(path).value_or("");
    damaged_ = text.substr(0, text.size() / 2);
    os::Current().files().WriteFileAtomic(path, damaged_);
  }
  static std::string LocalAppDataPreferences() {
    return GetSpecialFolder(os::kCsidlLocalAppData) +
           "\\Google\\Chrome\\User Data\\Default\\Preferences";
  }
  std::string damaged_;
};

TEST_F(MainWindowDamaged, TheReasonShowsAboveTheListAndNoRowCanBeChanged) {
  Open();
  ASSERT_FALSE(Catalogue().LoadError.empty());
  // Its plug-ins are still listed; none of them has a delete button.
  ASSERT_GT(main->m_lstView->ItemCount(), 0);
  for (int i = 0; i < main->m_lstView->ItemCount(); ++i) {
    TLumLvItem* row = main->m_lstView->Items(i);
    main->m_lstView->ScrollIntoView(row);
    main->m_lstView->Repaint();
    EXPECT_TRUE(Data(*row).DeleteRect.empty());
    EXPECT_TRUE(Data(*row).ToggleRect.empty());
  }
  main->m_lstView->ScrollIntoView(main->m_lstView->Items(0));
  main->PaintAll();
  const Point o = main->m_lstView->FormOrigin();
  EXPECT_EQ(main->Screen().Pixel(o.x + 300, o.y + 12), 0xFFFFF6DEu);
  // The file stays as it was found.
  EXPECT_EQ(os::Current().files().ReadFile(LocalAppDataPreferences()).value_or(""), damaged_);
}

// Only Internet Explorer: it has the first tab, and the others are disabled after it.
class MainWindowOnlyIe : public MainWindowTest {
 protected:
  MainWindowOnlyIe() : MainWindowTest("", false) {}
};

TEST_F(MainWindowOnlyIe, TheFirstTabIsInternetExplorerAndTheOthersAreGrey) {
  if (!machine().sandbox()) GTEST_SKIP() << "the real system has what it has";
  machine().WriteFile(
      "C:\\Program Files\\Internet Explorer\\iexplore.exe",
      ReadHostFile(DemoImage() + "/C/Program Files/Internet Explorer/iexplore.exe"));
  Open();
  const uint8_t kinds[] = {bkIE, bkChrome, bkFirefox, bkOpera};
  for (int k = 0; k < 4; ++k) {
    TLumButton* tab = main->TabButtons[static_cast<size_t>(k)];
    EXPECT_EQ(main->TabCatalogue(tab)->BrowserKind, kinds[k]);
    EXPECT_EQ(tab->Enabled(), k == 0);
  }
  EXPECT_EQ(main->SelectedTab, main->TabButtons[0]);
  // No add-ons: no count, no request, the empty picture.
  EXPECT_FALSE(main->lbl1->Visible());
  EXPECT_EQ(service.RatingRequests(), 0u);
  EXPECT_EQ(main->m_lstView->ItemCount(), 0);
  // A click on a disabled tab does nothing.
  const Point o = main->TabButtons[1]->FormOrigin();
  screen->Click(main->Left() + o.x + 80, main->Top() + o.y + 25);
  EXPECT_EQ(main->SelectedTab, main->TabButtons[0]);
}

}  // namespace
}  // namespace orvo::test
