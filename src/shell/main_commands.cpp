// What the main window's commands do: switching and deleting add-ons (never while the
// browser runs, deleting only after the user said yes), the ratings window, the default
// browser, the share buttons, the update link, and the rating results coming back. A
// change the catalogue reports as failed is shown as an error toast and the row stays as
// the catalogue left it: nothing is reported as done that was not done.
#include <string>

#include "catalogue/shell_helpers.h"
#include "shell/lang_format.h"
#include "shell/language.h"
#include "shell/main_menu.h"
#include "shell/main_window.h"
#include "shell/message_form.h"
#include "shell/message_key.h"
#include "shell/ratings_window.h"
#include "shell/site_pages.h"

namespace orvo {
namespace {

constexpr int kMsgYes = 6;
constexpr int kButtonsYesNo = 3;
constexpr int kButtonsOk = 4;
constexpr int kIconQuestion = 0;
constexpr int kIconInformation = 3;

// RFC 6068: everything but unreserved characters percent-encoded, so the mail program
// gets the subject and the body exactly.
std::string MailtoEncode(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~') {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string ShareMail() {
  const std::string subject = "Please try Orvo Plug-in Manager!";
  const std::string body = "<a href=\"" + SitePage(kDownloadPath) + "\">" + subject +
                           "</a> I've found it useful in managing browser plug-ins!";
  return "mailto:?subject=" + MailtoEncode(subject) + "&body=" + MailtoEncode(body);
}

}  // namespace

Point TfrmXOBMain::ToastPoint(int dx) const {
  return {Left() + Width() / 2 + dx, Top() + Height() / 2 - 35};
}

void TfrmXOBMain::ShowRatingError(const char* key) {
  ShowErrorToast(ToastPoint(-60), GetLangString("Messages", key, ""));
}

void TfrmXOBMain::ShowChangeError(const char* key, const ChangeResult& result) {
  const std::string reason =
      result.message.empty() ? "error " + std::to_string(result.error) : result.message;
  ShowErrorToast(ToastPoint(-60), FormatLangText(GetLangString("Messages", key, ""), {reason}));
}

bool TfrmXOBMain::CheckBrowserClosed(TBrowserAppBase& catalogue) {
  if (!catalogue.IsRunning()) return true;
  ShowMessageKey(this, "BIsRuning", kButtonsOk, kIconInformation);
  return false;
}

void TfrmXOBMain::DeleteAddon(TLumLvItem& row) {
  TBrowserAppBase* catalogue = SelectedCatalogue();
  auto* data = row.DataAs<TAddonRow>();
  if (!catalogue || !data || !data->Addon || !catalogue->LoadError.empty()) return;
  if (!CheckBrowserClosed(*catalogue)) return;
  // No, Esc and the close button all delete nothing.
  if (ShowMessageKey(this, "DeleteConf", kButtonsYesNo, kIconQuestion) != kMsgYes) return;
  // The question ran a modal loop; the row is looked for again before it is used.
  TBrowserExtensionInfo* addon = data->Addon;
  if (m_lstView->IndexOf(&row) < 0 || !catalogue->Contains(addon)) return;
  icons_.erase(addon);
  const ChangeResult result = catalogue->DeleteItem(addon);
  // The record is gone when the catalogue no longer holds it; a failure may keep it.
  if (!catalogue->Contains(addon)) {
    data->Addon = nullptr;
    if (hovered_ == data) hovered_ = nullptr;
    m_lstView->DeleteItem(&row);
  }
  UpdateCountText();
  if (result.error == kChangeOnlyInBrowser) {
    OfferAddonPage(*catalogue, *addon, result, "DeleteFail");
  } else if (!result) {
    ShowChangeError("DeleteFail", result);
  }
}

void TfrmXOBMain::OfferAddonPage(TBrowserAppBase& catalogue, const TBrowserExtensionInfo& addon,
                                 const ChangeResult& result, const char* failure_key) {
  const std::string question =
      FormatLangText(GetLangString("Messages", "OnlyInBrowser",
                                   "%s Open the browser's own page for this plug-in?"),
                     {result.message});
  if (ShowMessageText(this, question, kButtonsYesNo, kIconInformation) != kMsgYes) return;
  // The question ran a modal loop: the record must still be the catalogue's.
  if (catalogue.Contains(&addon) && !catalogue.OpenAddonPage(addon)) {
    ShowChangeError(failure_key, result);
  }
}

void TfrmXOBMain::ToggleAddon(TLumLvItem& row) {
  TBrowserAppBase* catalogue = SelectedCatalogue();
  auto* data = row.DataAs<TAddonRow>();
  if (!catalogue || !data || !data->Addon || !catalogue->LoadError.empty()) return;
  if (!CheckBrowserClosed(*catalogue)) return;
  TBrowserExtensionInfo* addon = data->Addon;
  ChangeResult result = catalogue->ToggleItem(addon);
  if (result.error == kChangeNeedsPolicyConsent) {
    // The first switch that goes through a browser's policy is explained, and made only
    // when the user agrees; the answer holds for the rest of the run.
    const std::string text = FormatLangText(GetLangString("Messages", "PolicySwitch", "%s %s"),
                                            {catalogue->DisplayName, catalogue->DisplayName});
    if (ShowMessageText(this, text, kButtonsYesNo, kIconQuestion) != kMsgYes) return;
    if (m_lstView->IndexOf(&row) < 0 || !catalogue->Contains(addon)) return;
    TBrowserAppBase::PolicyChangesAllowed = true;
    result = catalogue->ToggleItem(addon);
  }
  m_lstView->RedrawItem(&row);
  if (result.error == kChangeOnlyInBrowser) {
    OfferAddonPage(*catalogue, *addon, result, "ToggleFail");
  } else if (!result) {
    ShowChangeError("ToggleFail", result);
  }
}

void TfrmXOBMain::OpenRatings(TLumLvItem& row) {
  TBrowserAppBase* catalogue = SelectedCatalogue();
  auto* data = row.DataAs<TAddonRow>();
  if (!catalogue || !data || !data->Addon) return;
  os::Window* window = Handle();
  if (window) window->SetEnabled(false);
  ShowRatings(*catalogue, *data->Addon);
  if (window) window->SetEnabled(true);
  // The ratings window may have brought a newer rating.
  if (m_lstView->IndexOf(&row) >= 0) m_lstView->RedrawItem(&row);
}

void TfrmXOBMain::lblSetasdefaultclick() {
  // 1.
  TBrowserAppBase* catalogue = SelectedCatalogue();
  if (!catalogue) return;
  // 2.
  const ChangeResult result = SetDefaultBrowser(*catalogue);
  SelectedTab->Invalidate();
  if (!result) {
    ShowChangeError("SetDefaultFail", result);
    return;
  }
  // 3. Only one browser is the default: the one that was loses its mark.
  for (size_t k = 0; k < TabButtons.size(); ++k) {
    TBrowserAppBase* other = tab_catalogues_[k];
    if (!other || other == catalogue || !other->IsDefault) continue;
    other->IsDefault = false;
    TabButtons[k]->Invalidate();
    break;
  }
  // 4. Also when it already was the default browser.
  ShowSuccessToast(ToastPoint(0), GetLangString("Messages", "SetAsDefault", ""));
}

void TfrmXOBMain::imgmailclick(TLumButton& sender) {
  switch (sender.Tag) {
    case 1: OpenUrl(ShareMail()); break;
    case 2: OpenUrl(SitePage(kFacebookPath)); break;
    case 3: OpenUrl(SitePage(kTwitterPath)); break;
    case 4: OpenUrl(SitePage(kHomePath)); break;
    default: break;
  }
}

void TfrmXOBMain::lbl3click() {
  // Not silent: "no newer version" is reported too. The check starts nothing while
  // another one runs.
  if (MenuChecks().StartUpdateCheck) MenuChecks().StartUpdateCheck(false);
}

// WM_RATINGRESULT.
void TfrmXOBMain::RatingResult(const TRatingResult& result) {
  switch (result.Code()) {
    case rcNotVerified:
      if (result.WParam == 0) ShowRatingError("UnVerify");
      break;
    case rcAllRatingsDelivered: m_lstView->Invalidate(); break;
    case rcUnreadableReply: ShowRatingError("GetSvrError1"); break;
    case rcAverageRatings: {
      // Only a record one of the catalogues still holds is touched: one deleted while
      // the reply was on its way is not.
      TBrowserExtensionInfo* record = result.Record();
      for (const auto& catalogue : catalogues_) {
        if (record && catalogue->Contains(record)) {
          record->Rating = result.Rating();
          break;
        }
      }
      break;
    }
    default: break;
  }
}

}  // namespace orvo
