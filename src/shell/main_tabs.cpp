// The main window's browser tabs: one per catalogue, installed browsers first; selecting
// one fills the list with its add-ons and, the first time, asks for their ratings.
#include <algorithm>
#include <string>

#include "rating/rating_callback.h"
#include "shell/lang_format.h"
#include "shell/language.h"
#include "shell/main_window.h"
#include "shell/picture_fit.h"
#include "ui/image_module.h"
#include "ui/lum_ui_drawing.h"

namespace orvo {
namespace {

constexpr TColor kDisabledTab = MakeColor(108, 113, 119);
// Light enough to read on the selected tab's slab and on the dark side bar alike.
constexpr TColor kDefaultMark = MakeColor(150, 162, 178);
constexpr int kTabIconSize = 32;
// lbl1's width in the form's layout.
constexpr int kCountWidth = 223;

}  // namespace

TBrowserAppBase* TfrmXOBMain::TabCatalogue(const TLumButton* tab) const {
  for (size_t k = 0; k < TabButtons.size() && k < tab_catalogues_.size(); ++k) {
    if (TabButtons[k] == tab) return tab_catalogues_[k];
  }
  return nullptr;
}

TLumButton* TfrmXOBMain::TabOf(uint8_t browser_kind) const {
  for (size_t k = 0; k < TabButtons.size() && k < tab_catalogues_.size(); ++k) {
    if (tab_catalogues_[k] && tab_catalogues_[k]->BrowserKind == browser_kind) return TabButtons[k];
  }
  return nullptr;
}

void TfrmXOBMain::BuildTabs() {
  // 1.
  BuildBrowserList(catalogues_);
  // 2.
  for (size_t k = 0; k < TabButtons.size(); ++k) {
    TLumButton& tab = *TabButtons[k];
    TBrowserAppBase* catalogue = k < catalogues_.size() ? catalogues_[k].get() : nullptr;
    tab_catalogues_[k] = catalogue;
    if (!catalogue) continue;
    tab.SetEnabled(catalogue->Icon != nullptr);
    tab.BtnStateCount = 3;
    tab.AutoSize = false;
    tab.SetImgBtn(imgModule ? imgModule->mgstrg.Png(13) : PngImage());
    tab.SetTransparent(true);
    for (Font* f : {&tab.FontNormal, &tab.FontOver, &tab.FontDown, &tab.FontSelect, &tab.FontFocus,
                    &tab.FontDisable}) {
      CopyFontMetrics(*f, font);
      f->color = clWhite;
    }
    tab.FontDisable.color = kDisabledTab;
    tab.SetCaption(catalogue->DisplayName);
    tab.JustCaptionLeft = true;
    tab.CaptionLeftFix = 50;
    tab.SetBounds(5, static_cast<int>(k) * 50 + 27, 171, 50);
    tab.OnAfterDraw = [this](TControl& sender, Canvas& canvas) {
      DrawTab(static_cast<TLumButton&>(sender), canvas);
    };
    tab.OnClick = [this](TControl& sender) { SelectTab(static_cast<TLumButton&>(sender)); };
    tab.SetVisible(true);
  }
  // 3.
  if (!TabButtons.empty() && tab_catalogues_[0]) {
    TabButtons[0]->SetBtnStatus(bsSelect);
    SelectTab(*TabButtons[0]);
  }
}

const PngImage& TfrmXOBMain::TabIcon(const TBrowserAppBase& catalogue) {
  auto found = tab_icons_.find(&catalogue);
  if (found != tab_icons_.end()) return found->second;
  PngImage icon;
  if (catalogue.Icon) icon = FittedPicture(*catalogue.Icon, kTabIconSize);
  if (icon.empty() && imgModule) icon = imgModule->mgstrg.Png(13 + catalogue.BrowserKind);
  return tab_icons_.emplace(&catalogue, std::move(icon)).first->second;
}

void TfrmXOBMain::DrawTab(TLumButton& tab, Canvas& canvas) {
  const TBrowserAppBase* catalogue = TabCatalogue(&tab);
  if (!catalogue) return;
  const PngImage& icon = TabIcon(*catalogue);
  if (!icon.empty()) canvas.StretchDrawPng(RectOfSize(10, 9, kTabIconSize, kTabIconSize), icon);
  if (catalogue->IsDefault) {
    Font mark = tab.FontNormal;
    mark.color = kDefaultMark;
    const Rect r{60, 35, tab.Width() - 4, tab.Height()};
    DrawTextKeepAlpha(canvas.target(), mark, r.Offset(canvas.origin().x, canvas.origin().y),
                      kDtLeft | kDtTop | kDtSingleLine | kDtNoPrefix,
                      GetLangString("Translation", "TfrmXOBMain.default", "(Default)"));
  }
}

void TfrmXOBMain::SelectTab(TLumButton& button) {
  TBrowserAppBase* catalogue = TabCatalogue(&button);
  if (!catalogue || (&button == SelectedTab && button.BtnStatus() == bsSelect)) return;
  // 1.
  if (SelectedTab && SelectedTab != &button) {
    SelectedTab->SetBtnStatus(bsNormal);
    SelectedTab->Invalidate();
  }
  // 2.
  SelectedTab = &button;
  button.SetBtnStatus(bsSelect);
  button.Invalidate();
  // 3.
  ShowBrowser(*catalogue);
  // 4.
  if (Shown()) SetActiveControl(m_lstView);
}

void TfrmXOBMain::UpdateCountText() {
  const TBrowserAppBase* catalogue = SelectedCatalogue();
  if (!catalogue || !lbl1) return;
  const std::string pattern = GetLangString("Translation", "TfrmXOBMain.lbl1.Caption", "%d");
  std::string text = FormatLangText(pattern, {std::to_string(catalogue->GetCount())});
  // A browser with several profiles shows one of them: the count says which.
  const std::string profile = catalogue->ProfileCaption();
  if (!profile.empty()) {
    text = FormatLangText(GetLangString("Translation", "TfrmXOBMain.lbl1.Profile", "%s (%s)"),
                          {text, profile});
  }
  // The longer text may take the room up to "Set as default browser".
  lbl1->SetWidth(profile.empty()
                     ? kCountWidth
                     : std::max(kCountWidth, lblSetasdefault->Left() - 8 - lbl1->Left()));
  lbl1->SetCaption(text);
}

void TfrmXOBMain::ShowBrowser(TBrowserAppBase& catalogue) {
  // 1.
  hovered_ = nullptr;
  m_lstView->Clear();
  m_lstView->Invalidate();
  lbl1->SetVisible(false);
  // 2.
  const int count = catalogue.GetCount();
  if (count > 0) {
    UpdateCountText();
    lbl1->SetVisible(true);
    if (!catalogue.RatingsRequested) {
      StartRatings(catalogue);
      catalogue.RatingsRequested = 1;
    }
    m_lstView->BeginUpdate();
    for (int i = 0; i < count; ++i) {
      TLumLvItem& row = m_lstView->AddItem(std::make_unique<TLumLvItem>(" "));
      auto data = std::make_unique<TAddonRow>();
      data->Addon = catalogue.GetItem(i);
      row.Data = std::move(data);
    }
    m_lstView->EndUpdate();
  }
  // 3. Without add-ons the list's background shows the empty picture.
}

void TfrmXOBMain::StartRatings(TBrowserAppBase& catalogue) {
  // The chain takes the ids and records now, on this thread, and hands each rating back
  // here, where the record is looked for again before it is touched.
  rating_chains_[&catalogue] = StartRateThread(RatingCallback(catalogue, anchor_.Link()), {},
                                               reinterpret_cast<intptr_t>(&catalogue));
}

bool TfrmXOBMain::RatingsSettled(const TBrowserAppBase& catalogue) const {
  auto found = rating_chains_.find(&catalogue);
  return found == rating_chains_.end() || !found->second || *found->second;
}

}  // namespace orvo
