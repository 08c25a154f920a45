// Translated windows on the headless screen: the base form's translation of fonts,
// captions and bold size offsets; the main menu's entries, switches and language switch
// driven by clicks, as a user would.
#include <gtest/gtest.h>

#include <string>

#include "shell/about_window.h"
#include "shell/app_config.h"
#include "shell/base_form.h"
#include "shell/language.h"
#include "shell/main_menu.h"
#include "shell/main_window.h"
#include "shell/shell_fixture.h"
#include "support/headless_screen.h"
#include "ui/image_module.h"
#include "ui/lum_button.h"
#include "ui/lum_label.h"

namespace orvo::test {
namespace {

class TfrmSample : public TfrmBase {
 public:
  TfrmSample() : TfrmBase("TfrmSample") {
    SetBounds(10, 10, 300, 200);
    SetCaption("Sample");
    lblBold = Label("lblBold", fsBold, 2);
    lblPlain = Label("lblPlain", 0, 5);
    btnBold = lmfrm1->Make<TLumButton>();
    btnBold->Name = "btnBold";
    btnBold->Tag = 1;
    btnBold->FontNormal.style = fsBold;
    btnBold->SetCaption("Bold button");
    lmfrm1->Loaded();
  }
  TLumLabel* Label(const char* name, uint8_t style, int tag) {
    auto* l = lmfrm1->Make<TLumLabel>();
    l->Name = name;
    l->Tag = tag;
    l->font.style = style;
    l->font.color = clRed;
    l->SetCaption(name);
    return l;
  }
  TLumLabel* lblBold;
  TLumLabel* lblPlain;
  TLumButton* btnBold;
};

class TranslatedFormTest : public ShellTest {};

TEST_F(TranslatedFormTest, FontsCaptionsAndBoldOffsetsFollowTheLanguage) {
  WriteLanguage("Big",
                Utf16File("[Translation]\r\nDefaultFont=Verdana\r\nDefaultFontSize=9\r\n"
                          "DefaultCharset=RUSSIAN_CHARSET\r\nTfrmSample.Caption=Probe\r\n"
                          "tfrmsample.LBLBOLD.CAPTION=Fett\r\nTfrmSample.btnBold.caption=\r\n"));
  ChooseLanguageFile("Big");
  HeadlessScreen screen;
  auto form = TfrmBase::Create<TfrmSample>();
  EXPECT_EQ(form->Caption(), "Probe");
  EXPECT_EQ(form->lmfrm1->Caption(), "Probe");
  EXPECT_EQ(form->lmfrm1->CaptionFont.name, "Verdana");
  // A bold label: the language's size plus its Tag; a plain one keeps the language's size.
  EXPECT_EQ(form->lblBold->font.size(), 11);
  EXPECT_EQ(form->lblBold->FontOver.size(), 9);
  EXPECT_EQ(form->lblPlain->font.size(), 9);
  EXPECT_EQ(form->lblBold->font.name, "Verdana");
  EXPECT_EQ(form->lblBold->font.charset, 204);
  EXPECT_EQ(form->lblBold->font.color, clRed);  // colour and style stay
  EXPECT_EQ(form->lblBold->Caption(), "Fett");
  // An empty value: nobody has a text, the caption stays.
  EXPECT_EQ(form->btnBold->Caption(), "Bold button");
  EXPECT_EQ(form->btnBold->FontNormal.size(), 10);
  EXPECT_EQ(form->btnBold->FontFocus.size(), 10);

  // Applying again (the switch's message) must not add the offset twice.
  EXPECT_TRUE(SendFormMessage(*form, kWmApplyLanguage));
  EXPECT_EQ(form->lblBold->font.size(), 11);
  EXPECT_EQ(form->btnBold->FontNormal.size(), 10);
  EXPECT_FALSE(SendFormMessage(*form, kWmApplyLanguage + 1));
}

// The main window with the shipped languages, English active, on a screen of its own.
class MainMenuTest : public ShellTest {
 protected:
  MainMenuTest() {
    InstallShippedLanguages();
    LoadConfig();  // no settings folder: both checks on
    ChooseLanguageFile("English");
    MenuChecks().StartNewsCheck = [this](int32_t&) { ++news_checks; };
    main = TfrmBase::Create<TfrmXOBMain>();
    Application().MainForm = main.get();
    main->Show();
    screen->ProcessMessages();
  }
  ~MainMenuTest() override {
    MenuChecks() = {};
    main.reset();
  }

  TLumPopupMenu& menu() { return main->sysMenu; }
  std::string Caption(int index) { return menu().Items(index)->Caption(); }
  void ClickItem(int level, const TLumMenuItem& item) {
    const Rect r = menu().ItemScreenRect(level, item);
    screen->MoveMouse((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    screen->AdvanceTime(600);  // a sub-menu opens after a pause
    screen->Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void Open() { menu().Popup(main->Left() + 600, main->Top() + 30); }

  HeadlessScreen screen;
  TimgModule module;
  int news_checks = 0;
  std::unique_ptr<TfrmXOBMain> main;
};

TEST_F(MainMenuTest, EntriesMarksAndTexts) {
  ASSERT_EQ(menu().ItemCount(), 10);
  EXPECT_EQ(Caption(0), "Online Help");
  EXPECT_EQ(menu().Items(0)->ShortCut(), kVkF1);
  EXPECT_EQ(Caption(4), "-");
  EXPECT_EQ(Caption(5), "Check for Updates");
  EXPECT_TRUE(menu().Items(5)->Checked());
  EXPECT_TRUE(menu().Items(6)->Checked());
  EXPECT_EQ(Caption(8), "-");
  EXPECT_EQ(Caption(9), "About");
  EXPECT_EQ(news_checks, 1);  // CheckNews is on: building the menu started one
  const TLumMenuItem& languages = *menu().Items(7);
  ASSERT_EQ(languages.SubItemCount(), 2);
  EXPECT_EQ(languages.SubItem(0)->Caption(), "English");
  EXPECT_TRUE(languages.SubItem(0)->Checked());
  EXPECT_EQ(languages.SubItem(1)->Caption(), "Deutsch");
  EXPECT_FALSE(languages.SubItem(1)->Checked());
  EXPECT_EQ(main->lmfrm1->Caption(), "Orvo Plugin Manager Beta");
  EXPECT_EQ(main->lmfrm1->CaptionButton("BtnMin")->Hint, "Minimize");
  EXPECT_FALSE(SettingsFolderExists());  // nothing is written before a change
}

TEST_F(MainMenuTest, TheTwoSwitchesAreSavedAtOnce) {
  Open();
  ClickItem(0, *menu().Items(5));  // Check for Updates, checked: the mark goes
  EXPECT_FALSE(AppConfig.AutoUpdate);
  EXPECT_NE(SettingsText().find("AutoUpdate=0"), std::string::npos) << SettingsText();
  EXPECT_EQ(news_checks, 1);

  AppConfig.CheckNews = false;
  SendFormMessage(*main, kWmApplyLanguage);  // the menu is rebuilt from the settings
  EXPECT_EQ(news_checks, 1);
  Open();
  ClickItem(0, *menu().Items(6));  // Check for News, unchecked: set, saved, a check starts
  EXPECT_TRUE(AppConfig.CheckNews);
  EXPECT_NE(SettingsText().find("CheckNews=1"), std::string::npos) << SettingsText();
  EXPECT_EQ(news_checks, 2);
}

TEST_F(MainMenuTest, PickingALanguageTranslatesTheMainWindowAndSavesIt) {
  Open();
  ClickItem(0, *menu().Items(7));
  ClickItem(1, *menu().Items(7)->SubItem(1));  // Deutsch
  EXPECT_EQ(AppConfig.Language, "German");
  EXPECT_NE(SettingsText().find("Language=German"), std::string::npos);
  EXPECT_EQ(LanguageFile(), LanguagePath("German"));
  EXPECT_EQ(Caption(0), "Online-Hilfe");
  EXPECT_EQ(main->lmfrm1->CaptionButton("BtnMin")->Hint, "Minimieren");
  EXPECT_EQ(module.msgdlg.BtnCaptionYes, "Ja");
  EXPECT_TRUE(menu().Items(7)->SubItem(1)->Checked());
  EXPECT_FALSE(menu().Items(7)->SubItem(0)->Checked());

  // The checked one again: its mark goes and nothing else changes.
  const std::string saved = SettingsText();
  Open();
  ClickItem(0, *menu().Items(7));
  ClickItem(1, *menu().Items(7)->SubItem(1));
  EXPECT_FALSE(menu().Items(7)->SubItem(1)->Checked());
  EXPECT_EQ(AppConfig.Language, "German");
  EXPECT_EQ(SettingsText(), saved);
  SendFormMessage(*main, kWmApplyLanguage);  // the mark is back when the menu is built
  EXPECT_TRUE(menu().Items(7)->SubItem(1)->Checked());
}

TEST_F(MainMenuTest, AboutShowsTheVersionAndClosesWithOk) {
  bool checked = false;
  screen->on_modal_idle = [&] {
    if (checked) return false;
    checked = true;
    auto* about = dynamic_cast<TfrmAbout*>(Application().Forms().back());
    EXPECT_NE(about, nullptr);
    if (!about) return false;
    EXPECT_EQ(about->lblverinfo->Caption().find('.') != std::string::npos, true);
    EXPECT_EQ(about->lblver->Caption(), "Current Version:");
    const Point ok = about->ClientToScreen({about->btnOk->Left() + 10, about->btnOk->Top() + 10});
    screen->Click(ok.x, ok.y);
    return true;
  };
  Open();
  ClickItem(0, *menu().Items(9));
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace orvo::test
