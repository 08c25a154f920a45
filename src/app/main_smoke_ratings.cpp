// The smoke run's steps in the ratings window: opened from the first Chrome row's stars,
// a review with three stars posted through "My Review", listed first, the window closed.
#include <algorithm>
#include <cctype>

#include "app/main_smoke.h"
#include "platform/win_constants.h"
#include "shell/message_form.h"
#include "shell/ratings_form.h"
#include "ui/application.h"

namespace orvo {
namespace {

// Tab Tidy, the demo add-on with the most reviews; the first row if it is not listed.
constexpr char kRatedAddon[] = "fblkdohiomlcbgpekccokebfafkgegcf";
constexpr char kNickname[] = "wine";
constexpr char kText[] = "good";

TfrmXOBRate* RatingsWindow() {
  for (TForm* form : Application().Forms()) {
    if (auto* window = dynamic_cast<TfrmXOBRate*>(form); window && window->Shown()) return window;
  }
  return nullptr;
}

// A point of a control of the window, on the screen.
Point On(const TControl& control, Point at) {
  const TForm* form = control.Form();
  const Point o = control.FormOrigin();
  return form ? form->ClientToScreen({o.x + at.x, o.y + at.y}) : Point{};
}

// Letters and digits as keys (their virtual-key codes are their upper-case characters).
void TypeKeys(const char* text, void (*press)(uint16_t)) {
  for (const char* c = text; *c; ++c)
    press(static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(*c))));
}

const TReviewItem* FirstReview(TfrmXOBRate& w) {
  for (int i = 0; i < w.m_lstView->ItemCount(); ++i) {
    if (const TReviewItem* review = TfrmXOBRate::ReviewOf(*w.m_lstView->Items(i))) return review;
  }
  return nullptr;
}

}  // namespace

void TMainSmoke::ActOnRatings(int step) {
  TfrmXOBRate* w = RatingsWindow();
  switch (step - kFirstRatingsStep) {
    case 0:
      if (TLumButton* tab = main_.TabOf(bkChrome))
        Click(On(*tab, {tab->Width() / 2, tab->Height() / 2}));
      return;
    case 1: {
      int row = 0;
      for (int i = 0; i < main_.m_lstView->ItemCount(); ++i) {
        const TAddonRow* data = RowData(i);
        if (data && data->Addon && data->Addon->Id == kRatedAddon) row = i;
      }
      // In view, and painted there, so that its stars have their place.
      main_.m_lstView->ScrollIntoView(main_.m_lstView->Items(row));
      main_.Update();
      Click(RowPoint(row, &TAddonRow::RatingRect));
      return;
    }
    case 2:
      if (w) Click(On(*w->btn3, {w->btn3->Width() / 2, 14}));
      return;
    case 3:
      if (w) {
        MoveMouse(On(*w->img13, {2 * 21 + 10, 10}));
        Click(On(*w->img13, {2 * 21 + 10, 10}));
      }
      return;
    case 4:
      if (w) {
        Click(On(*w->lmdtnk, {20, 12}));
        TypeKeys(kNickname, PressKey);
      }
      return;
    case 5:
      if (w) {
        Click(On(*w->redt1, {40, 30}));
        TypeKeys(kText, PressKey);
      }
      return;
    case 6:
      if (w) Click(On(*w->btn1, {w->btn1->Width() / 2, 12}));
      return;
    case 7:
      if (w) {
        if (TDStdFButton* close = w->lmfrm1->CaptionButton("BtnClose")) {
          Click(On(*close, {close->Width() / 2, close->Height() / 2}));
        } else {
          w->Close();
        }
      }
      return;
    default: return;
  }
}

bool TMainSmoke::RatingsDone(int step) {
  TfrmXOBRate* w = RatingsWindow();
  switch (step - kFirstRatingsStep) {
    case 0: {
      // The toast of the step before has gone too: it would take the click on the stars.
      const TBrowserAppBase* shown = main_.SelectedCatalogue();
      return shown && shown->BrowserKind == bkChrome && main_.RatingsSettled(*shown) &&
             LiveToasts().empty();
    }
    case 1: return w && !w->Busy() && FirstReview(*w);
    case 2: return w && w->SelectedTab() == 1 && w->lmpnl1->Showing();
    case 3: return w && w->Score == 3;
    case 4: return w && w->lmdtnk->Text() == kNickname;
    case 5: return w && w->redt1->Text() == kText;
    case 6: {
      if (!w || w->Busy() || w->SelectedTab() != 0 || w->btn1->Enabled()) return false;
      const TReviewItem* first = FirstReview(*w);
      const auto toasts = LiveToasts();
      return first && first->Nickname == kNickname && first->Content == kText &&
             first->Score == 3 && !toasts.empty() && toasts.back()->SlidIn();
    }
    case 7: return !w;
    default: return true;
  }
}

}  // namespace orvo
