// The main menu's entries and what a click on each does.
#include "shell/main_menu.h"

#include <memory>
#include <string>

#include "catalogue/shell_helpers.h"
#include "shell/app_config.h"
#include "shell/base_form.h"
#include "shell/language.h"
#include "shell/language_menu.h"
#include "shell/site_pages.h"
#include "ui/events.h"
#include "ui/lum_popup_menu.h"
#include "ui/product_look.h"

namespace orvo {
namespace {

enum Entry { kHelp = 1, kForum, kHome, kContact, kUpdates, kNews, kLanguage, kAbout };

std::string EntryCaption(int number) {
  return GetLangString("Translation", "TMainFormMenu.MenuItem" + std::to_string(number), "");
}

// The two click handlers of every entry.
class TMainFormMenu {
 public:
  void Command(TLumMenuItem& item, TfrmBase& main_window) {
    switch (item.Tag) {
      case kHelp: OpenUrl(SitePage(kOnlineHelpPath)); break;
      case kForum: OpenUrl(SitePage(kForumPath)); break;
      case kHome: OpenUrl(SitePage(kHomePath)); break;
      case kContact: OpenUrl(SitePage(kContactPath)); break;
      case kUpdates:
        AppConfig.AutoUpdate = item.Checked();
        SaveConfig();
        break;
      case kNews:
        AppConfig.CheckNews = item.Checked();
        SaveConfig();
        if (AppConfig.CheckNews && MenuChecks().StartNewsCheck) {
          MenuChecks().StartNewsCheck(AppConfig.MSGID);
        }
        break;
      case kAbout: ShowAbout(main_window); break;
      default: break;
    }
  }

  // The menu is rebuilt by the language the switch applies: nothing of the clicked entry
  // is touched after that.
  void Language(TLumMenuItem& item, TfrmBase& main_window) {
    if (SwitchLanguage(item.Value, item.Checked())) {
      SendFormMessage(main_window, kWmApplyLanguage);
    }
  }
};

TMainFormMenu& Handler() {
  static TMainFormMenu handler;
  return handler;
}

}  // namespace

MainMenuChecks& MenuChecks() {
  static MainMenuChecks checks;
  return checks;
}

void BuildMainMenu(TLumPopupMenu& menu, TfrmBase& main_window) {
  TMainFormMenu& handler = Handler();
  menu.Clear();
  TfrmBase* window = &main_window;
  for (int n = kHelp; n <= kAbout; ++n) {
    TLumMenuItem& item = menu.AddItem(EntryCaption(n));
    item.Tag = n;
    item.OnClick = [&handler, window](TLumMenuItem& clicked) { handler.Command(clicked, *window); };
  }
  menu.Items(kHelp - 1)->SetShortCut(kVkF1);
  TLumMenuItem& news = *menu.Items(kNews - 1);
  TLumMenuItem& updates = *menu.Items(kUpdates - 1);
  news.AutoCheck = true;
  news.SetChecked(AppConfig.CheckNews);
  updates.AutoCheck = true;
  updates.SetChecked(AppConfig.AutoUpdate);
  if (AppConfig.CheckNews && MenuChecks().StartNewsCheck)
    MenuChecks().StartNewsCheck(AppConfig.MSGID);
  if (AppConfig.AutoUpdate && MenuChecks().StartUpdateCheck) MenuChecks().StartUpdateCheck(true);

  TLumMenuItem& languages = *menu.Items(kLanguage - 1);
  for (const LanguageMenuEntry& entry : BuildLanguageEntries()) {
    auto item = std::make_unique<TLumMenuItem>(entry.caption);
    item->Value = entry.name;
    item->AutoCheck = true;
    item->RadioItem = true;
    item->GroupIndex = 0;
    item->OnClick = [&handler, window](TLumMenuItem& clicked) {
      handler.Language(clicked, *window);
    };
    TLumMenuItem& added = menu.AddSubItem(languages, std::move(item));
    // Set once it is in its level, where checking a radio item unchecks its siblings:
    // "Chinese" and "Chinese (Traditional)" may both start checked, so the marks are
    // set without that rule.
    added.RadioItem = false;
    added.SetChecked(entry.checked);
    added.RadioItem = true;
  }
  menu.InsertItem(kUpdates - 1, std::make_unique<TLumMenuItem>("-"));
  menu.InsertItem(kAbout, std::make_unique<TLumMenuItem>("-"));
}

}  // namespace orvo
