// The main window's frame, controls and translated texts; its creation and end.
#include "shell/main_window.h"

#include <algorithm>
#include <string>

#include "catalogue/icon_download.h"
#include "platform/window_system.h"
#include "shell/app_config.h"
#include "shell/lang_format.h"
#include "shell/language.h"
#include "shell/main_menu.h"
#include "shell/main_window_advert.h"
#include "shell/message_form.h"
#include "shell/version_text.h"
#include "ui/image_module.h"
#include "ui/lum_message_box.h"
#include "ui/product_look.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

constexpr int kMinWidth = 500;
constexpr int kMinHeight = 400;
constexpr TColor kLinkBlue = MakeColor(22, 149, 230);
constexpr TColor kNavy = MakeColor(0, 0, 128);
constexpr TColor kCountText = MakeColor(90, 96, 106);

}  // namespace

TfrmXOBMain::TfrmXOBMain() : TfrmBase("TfrmXOBMain"), sysMenu(this) {
  int left = 0;
  int top = 0;
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    const Rect work = system->WorkAreaAt({0, 0});
    left = work.left + (work.width() - kMainWidth) / 2;
    top = work.top + (work.height() - kMainHeight) / 2;
  }
  SetBounds(left, top, kMainWidth, kMainHeight);
  KeyPreview = true;
  lmfrm1->ImgForm = SkinPng("main_form");
  lmfrm1->FormSplit = TLumUIPadding(180, 60, 700, 400);
  lmfrm1->SetCaption("Orvo Plugin Manager");
  // After the frame's, which sets the window's caption too; translating copies this one
  // into the frame.
  SetCaption("Orvo Plugin Manager Beta");
  lmfrm1->SupportReSize = true;
  lmfrm1->MinWidth = kMinWidth;
  lmfrm1->MinHeight = kMinHeight;
  lmfrm1->FormBtns = WbiMenu | WbiMinimize;
  lmfrm1->BtnPopupMenu = &sysMenu;
  SetMainMenuLook(sysMenu);
  MakeControls();
  lmfrm1->Loaded();
}

TfrmXOBMain::~TfrmXOBMain() {
  anchor_.Detach();
  advert_.reset();
  SetIconArrivedHandler(nullptr);
  FreeAllToasts();
  lmfrm1->BtnPopupMenu = nullptr;
  sysMenu.CloseMenu(false);
  TabButtons.clear();
  SaveConfig();
}

TLumLabel* TfrmXOBMain::MakeLabel(const char* name, Rect r, TAnchors anchors) {
  auto* l = lmfrm1->Make<TLumLabel>();
  l->Name = name;
  l->SetTransparent(true);
  l->SetBounds(r.left, r.top, r.width(), r.height());
  l->Anchors = anchors;
  return l;
}

TLumButton* TfrmXOBMain::MakeShareButton(const char* name, int left, int tag, const char* skin) {
  auto* b = lmfrm1->Make<TLumButton>();
  b->Name = name;
  b->Tag = tag;
  b->BtnStateCount = 3;
  b->SetImgBtn(SkinPng(skin));
  b->SetBounds(left, 479, 20, 20);
  b->Anchors = akRight | akBottom;
  b->ShowHint = true;
  b->Cursor = crHandPoint;
  b->SetTransparent(true);
  b->OnClick = [this](TControl& sender) { imgmailclick(static_cast<TLumButton&>(sender)); };
  return b;
}

void TfrmXOBMain::MakeControls() {
  lblSetasdefault = MakeLabel("lblSetasdefault", RectOfSize(592, 33, 198, 17), akTop | akRight);
  lblSetasdefault->SetAlignment(taRightJustify);
  lblSetasdefault->SetCaption("Set as default browser");
  lblSetasdefault->Cursor = crHandPoint;
  lblSetasdefault->FontOver.color = kNavy;
  lblSetasdefault->FontOver.style = fsUnderline;
  lblSetasdefault->OnClick = [this](TControl&) { lblSetasdefaultclick(); };

  lbl1 = MakeLabel("lbl1", RectOfSize(183, 33, 223, 18), akLeft | akTop);
  lbl1->font.color = lbl1->FontOver.color = lbl1->FontDown.color = kCountText;
  lbl1->SetCaption("%d plug-ins were found");
  lbl1->SetVisible(false);

  lbl2 = MakeLabel("lbl2", RectOfSize(2, 478, 174, 20), akLeft | akBottom);
  lbl2->font.color = lbl2->FontOver.color = lbl2->FontDown.color = clWhite;
  lbl2->SetCaption("Current Version:%s");

  lbl3 = MakeLabel("lbl3", RectOfSize(178, 478, 199, 20), akLeft | akBottom);
  lbl3->font.color = lbl3->FontDown.color = clWhite;
  lbl3->font.style = lbl3->FontOver.style = lbl3->FontDown.style = fsUnderline;
  lbl3->SetCaption("Check for Updates");
  lbl3->Cursor = crHandPoint;
  lbl3->OnClick = [this](TControl&) { lbl3click(); };

  imgad = lmfrm1->Make<TLumImage>();
  imgad->Name = "imgad";
  imgad->SetBounds(5, 376, 170, 100);
  imgad->Anchors = akLeft | akBottom;
  imgad->Cursor = crHandPoint;
  imgad->SetStretch(true);
  imgad->SetTransparent(true);

  btn1 = MakeShareButton("btn1", 709, 2, "share_facebook");
  btn2 = MakeShareButton("btn2", 731, 3, "share_twitter");
  btn3 = MakeShareButton("btn3", 753, 1, "share_mail");
  btn4 = MakeShareButton("btn4", 775, 4, "share_home");

  for (TLumButton** tab : {&btnB1, &btnB2, &btnB3, &btnB4}) {
    *tab = lmfrm1->Make<TLumButton>();
    (*tab)->SetVisible(false);  // BuildTabs places them
  }
  btnB1->Name = "btnB1";
  btnB2->Name = "btnB2";
  btnB3->Name = "btnB3";
  btnB4->Name = "btnB4";

  m_lstView = lmfrm1->Make<TLumListView>();
  m_lstView->Name = "m_lstView";
  m_lstView->SetBounds(178, 56, 617, 420);
  m_lstView->Anchors = akLeft | akTop | akRight | akBottom;
  m_lstView->Color = clWhite;
  m_lstView->HotTrack = true;
}

void TfrmXOBMain::FormCreate() {
  // 1. Translation (and the main menu with the online checks it starts).
  TfrmBase::FormCreate();
  // 2.
  TabButtons = {btnB1, btnB2, btnB3, btnB4};
  // 3. The advert presenter hangs itself on imgad when the notices are built in.
  if (const AdvertPresenterMaker& make = MainWindowAdvert()) advert_ = make(*imgad);
  // 4, 5.
  SetupList();
  SetupColumns();
  // Firefox icons that arrive later repaint their row.
  SetIconArrivedHandler([this](TBrowserExtensionInfo& addon) { IconArrived(addon); });
  // 6.
  BuildTabs();
}

void TfrmXOBMain::ApplyLanguage() {
  TfrmBase::ApplyLanguage();
  BuildMainMenu(sysMenu, *this);
  UpdateCountText();
  for (TLumButton* b : {btn1, btn2, btn3, btn4}) {
    b->Hint = GetLangString("Translation", "TfrmXOBMain." + b->Name + ".hint", "");
  }
  // The caption buttons exist already: they take their hints now, and the frame keeps
  // them for when it makes its buttons again.
  const auto hint = [this](const char* button, std::string& kept, const char* key) {
    kept = GetLangString("Translation", key, "");
    if (TDStdFButton* b = lmfrm1->CaptionButton(button)) b->Hint = kept;
  };
  hint("BtnClose", lmfrm1->BtnCloseHint, "TfrmXOBMain.CloseHint");
  hint("BtnMenu", lmfrm1->BtnMenuHint, "TfrmXOBMain.MenuHint");
  hint("BtnMin", lmfrm1->BtnMinHint, "TfrmXOBMain.MinHint");
  if (imgModule) {
    TLumMessageBox& box = imgModule->msgdlg;
    box.BtnCaptionNo = GetLangString("Translation", "msgdlg.btnNO", "");
    box.BtnCaptionYes = GetLangString("Translation", "msgdlg.btnYes", "");
    box.BtnCaptionOk = GetLangString("Translation", "msgdlg.btnOk", "");
  }
  lbl2->SetCaption(FormatLangText(lbl2->Caption(), {VersionText()}));
  lbl3->FontOver.color = kLinkBlue;
  lblSetasdefault->font.color = kLinkBlue;
  lblSetasdefault->FontDown.color = kLinkBlue;
  // The rows' texts use the language's font too.
  if (m_lstView) {
    CopyFontMetrics(m_lstView->font, font);
    m_lstView->Invalidate();
  }
}

void TfrmXOBMain::Resize() {
  // The window keeps at least 500 x 400, however it is sized.
  if (Width() < kMinWidth || Height() < kMinHeight) {
    SetBounds(Left(), Top(), std::max(Width(), kMinWidth), std::max(Height(), kMinHeight));
    return;
  }
  TfrmBase::Resize();
}

void TfrmXOBMain::KeyDown(uint16_t& key, TShiftState shift) {
  // Shortcuts of the main menu (F1: online help) work while the menu is closed.
  TShortCut shortcut = key;
  if (shift & ssShift) shortcut |= scShift;
  if (shift & ssCtrl) shortcut |= scCtrl;
  if (shift & ssAlt) shortcut |= scAlt;
  if (TLumMenuItem* item = sysMenu.FindShortCut(shortcut); item && !sysMenu.IsOpen()) {
    key = 0;
    if (item->OnClick) item->OnClick(*item);
    return;
  }
  TfrmBase::KeyDown(key, shift);
}

}  // namespace orvo
