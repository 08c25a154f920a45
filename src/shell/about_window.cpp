// The about window's layout and its two links.
#include "shell/about_window.h"

#include "catalogue/shell_helpers.h"
#include "shell/site_pages.h"
#include "shell/version_text.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

constexpr TColor kDarkGrey = MakeColor(56, 56, 56);
constexpr TColor kLink = MakeColor(26, 102, 162);
constexpr TColor kLinkHover = MakeColor(13, 162, 231);
constexpr int kWidth = 500;
constexpr int kHeight = 289;

TLumLabel* AddLabel(TWinControl& parent, const char* name, const std::string& caption, Rect r) {
  return AddFormLabel(parent, name, caption, r, kDarkGrey);
}

void MakeLink(TLumLabel& label, std::function<void()> open) {
  label.font.color = kLink;
  label.FontDown.color = kLink;
  label.FontOver.color = kLinkHover;
  label.FontOver.style |= fsUnderline;
  label.Cursor = crHandPoint;
  label.OnClick = [open = std::move(open)](TControl&) { open(); };
}

}  // namespace

TfrmAbout::TfrmAbout(TForm* owner) : TfrmBase("TfrmAbout") {
  int left = 0;
  int top = 0;
  if (owner) {
    left = owner->Left() + (owner->Width() - kWidth) / 2;
    top = owner->Top() + (owner->Height() - kHeight) / 2;
    PopupParent = owner;
  }
  SetBounds(left, top, kWidth, kHeight);
  SetCaption("About");
  lmfrm1->ImgForm = SkinPng("about_form");
  lmfrm1->FormSplit = TLumUIPadding(40, 40, 460, 249);
  lmfrm1->FormBtns = 0;

  lblver = AddLabel(*lmfrm1, "lblver", "Current Version:", {137, 84, 237, 100});
  lblverinfo = AddLabel(*lmfrm1, "lblverinfo", "", {243, 84, 460, 100});
  lblemail = AddLabel(*lmfrm1, "lblemail", "Email Support:", {137, 102, 237, 118});
  lblsupport = AddLabel(*lmfrm1, "lblsupport", kSupportMail, {243, 102, 460, 118});
  lblhome = AddLabel(*lmfrm1, "lblhome", "Official Homepage:", {137, 120, 237, 136});
  lblweb = AddLabel(*lmfrm1, "lblweb", SitePage(kHomePath), {243, 120, 460, 136});
  lblthanks =
      AddLabel(*lmfrm1, "lblthanks", "Acknowledgements to the following:", {22, 147, 473, 167});
  MakeLink(*lblsupport, [this] { OpenUrl("mailto:" + lblsupport->Caption()); });
  MakeLink(*lblweb, [this] { OpenUrl(lblweb->Caption()); });

  btnOk = AddFormButton(*lmfrm1, "btnOk", "OK", RectOfSize(394, 250, 82, 25), kDarkGrey);
  btnOk->OnClick = [this](TControl&) { Close(); };
  lmfrm1->Loaded();
}

void TfrmAbout::FormCreate() {
  TfrmBase::FormCreate();
  lblverinfo->SetCaption(VersionText());
}

void ShowAbout(TfrmBase& owner) {
  std::unique_ptr<TfrmAbout> about = TfrmBase::Create<TfrmAbout>(&owner);
  about->ShowModal();
}

}  // namespace orvo
