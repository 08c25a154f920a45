#pragma once
// The main window's menu: four pages of the maker, the update and news switches, the
// languages, and About. It is rebuilt whole by every BuildMainMenu (at the main window's
// creation and after each language switch), with its marks taken from the settings each
// time.
//
//   1 Online Help (F1)   2 Forum   3 Homepage   4 Contact Us
//   ---  5 Check for Updates (mark)   6 Check for News (mark)   7 Language >
//   ---  8 About
#include <cstdint>
#include <functional>

namespace orvo {

class TLumPopupMenu;
class TLumMenuItem;
class TfrmBase;

// The online checks the menu starts; the notices layer installs them. Unset, nothing
// starts.
struct MainMenuChecks {
  // The news check, with the settings' last seen news number to read and change.
  std::function<void(int32_t& msgid)> StartNewsCheck;
  // An update check (it starts nothing while another one runs); a silent one reports
  // nothing when there is no newer version. Start-up asks silently, the main window's
  // "Check for Updates" link does not.
  std::function<void(bool silent)> StartUpdateCheck;
};
MainMenuChecks& MenuChecks();

// Fills `menu` for `main_window`, which receives kWmApplyLanguage after a language switch
// and owns the about window; starts the news check when CheckNews is on and the silent
// update check when AutoUpdate is on.
void BuildMainMenu(TLumPopupMenu& menu, TfrmBase& main_window);

// The about window, modal, centred on `owner` (entry 8).
void ShowAbout(TfrmBase& owner);

}  // namespace orvo
