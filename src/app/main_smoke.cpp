// The program's smoke steps.
#include "app/main_smoke.h"

#include "catalogue/shell_helpers.h"
#include "platform/platform.h"
#include "shell/message_form.h"
#include "ui/events.h"
#include "ui/image_module.h"

namespace orvo {
namespace {

const std::vector<SmokeStep> kSteps = {
    {"chrome tab with its ratings", "chrome"},
    {"switch clicked, Preferences written", nullptr},
    {"delete asked", nullptr},
    {"deleted after Yes", nullptr},
    {"firefox tab with its ratings", "firefox"},
    {"default browser toast", "toast"},
    {"chrome tab again", nullptr},
    {"ratings window with its reviews", nullptr},
    {"my review tab", nullptr},
    {"three stars chosen", nullptr},
    {"nickname typed", nullptr},
    {"review text typed", nullptr},
    {"own review listed first", "ratings"},
    {"ratings window closed", nullptr},
};

constexpr int kSwitchRow = 1;
constexpr int kDeleteRow = 2;

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

TMainSmoke::TMainSmoke(TfrmXOBMain& main, std::string dir)
    : TSmokeRun("OrvoPM", std::move(dir), kSteps), main_(main) {}

TAddonRow* TMainSmoke::RowData(int index) const {
  TLumLvItem* row = main_.m_lstView->Items(index);
  return row ? row->DataAs<TAddonRow>() : nullptr;
}

Point TMainSmoke::RowPoint(int index, Rect TAddonRow::*place) const {
  const TAddonRow* data = RowData(index);
  const Point o = main_.m_lstView->FormOrigin();
  const Point p = data ? Centre(data->*place) : Point{};
  return main_.ClientToScreen({o.x + p.x, o.y + p.y});
}

std::string TMainSmoke::PreferencesText() const {
  if (!chrome_) return {};
  return os::Current().files().ReadFile(chrome_->ProfileDir + chrome_->DataFileName).value_or("");
}

void TMainSmoke::Act(int step) {
  if (step >= kFirstRatingsStep) {
    ActOnRatings(step);
    return;
  }
  switch (step) {
    case 1:
      chrome_ = main_.SelectedCatalogue();
      if (TAddonRow* data = RowData(kSwitchRow)) {
        switched_ = data->Addon;
        was_disabled_ = switched_->Disabled;
        preferences_before_ = PreferencesText();
        Click(RowPoint(kSwitchRow, &TAddonRow::ToggleRect));
      }
      return;
    case 2:
      if (TAddonRow* data = RowData(kDeleteRow)) {
        deleted_ = data->Addon;
        deleted_folder_ = chrome_->ProfileDir + "Extensions\\" + deleted_->Id;
        Click(RowPoint(kDeleteRow, &TAddonRow::DeleteRect));
      }
      return;
    case 3: PressKey(kVkReturn); return;
    case 4:
      if (TLumButton* tab = main_.TabOf(bkFirefox)) {
        const Point o = tab->FormOrigin();
        Click(main_.ClientToScreen({o.x + tab->Width() / 2, o.y + tab->Height() / 2}));
      }
      return;
    case 5: {
      const TLumLabel& link = *main_.lblSetasdefault;
      const Point o = link.FormOrigin();
      Click(main_.ClientToScreen({o.x + link.Width() - 30, o.y + link.Height() / 2}));
      return;
    }
    default: return;
  }
}

bool TMainSmoke::Done(int step) {
  if (step >= kFirstRatingsStep) return RatingsDone(step);
  const TBrowserAppBase* shown = main_.SelectedCatalogue();
  const bool ratings_in = shown && main_.RatingsSettled(*shown);
  switch (step) {
    case 0:
      return main_.Handle() && main_.Handle()->IsVisible() && shown &&
             shown->BrowserKind == bkChrome && ratings_in &&
             main_.m_lstView->ItemCount() > kDeleteRow;
    case 1:
      return switched_ && chrome_->Contains(switched_) && switched_->Disabled != was_disabled_ &&
             PreferencesText() != preferences_before_;
    case 2:
      return imgModule && imgModule->msgdlg.Busy() && imgModule->msgdlg.Form() &&
             imgModule->msgdlg.Form()->Shown();
    case 3:
      return imgModule && !imgModule->msgdlg.Busy() && deleted_ && !chrome_->Contains(deleted_) &&
             !FolderExists(deleted_folder_);
    case 4: return shown && shown->BrowserKind == bkFirefox && ratings_in;
    case 5: {
      const auto toasts = LiveToasts();
      if (!shown || !shown->IsDefault || toasts.empty() || !toasts.back()->SlidIn()) return false;
      // The pointer rests on the toast, so it stays for the screenshot.
      const TfrmMessage& toast = *toasts.back();
      MoveMouse({toast.Left() + toast.Width() / 2, toast.Top() + toast.Height() / 2});
      return !toast.Fading();
    }
    default: return true;
  }
}

}  // namespace orvo
