// The main window's frame, menu and translated texts.
#include "shell/main_window.h"

#include <algorithm>
#include <string>

#include "platform/window_system.h"
#include "shell/app_config.h"
#include "shell/language.h"
#include "shell/main_menu.h"
#include "ui/image_module.h"
#include "ui/lum_message_box.h"
#include "ui/product_look.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

constexpr int kMinWidth = 500;
constexpr int kMinHeight = 400;

}  // namespace

TfrmXOBMain::TfrmXOBMain() : TfrmBase("TfrmXOBMain"), sysMenu(this) {
  int left = 0;
  int top = 0;
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    const os::WinRect work = system->WorkAreaAt({0, 0});
    left = work.left + (work.width() - kMainWidth) / 2;
    top = work.top + (work.height() - kMainHeight) / 2;
  }
  SetBounds(left, top, kMainWidth, kMainHeight);
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
  lmfrm1->Loaded();
}

TfrmXOBMain::~TfrmXOBMain() {
  lmfrm1->BtnPopupMenu = nullptr;
  sysMenu.CloseMenu(false);
  SaveConfig();
}

void TfrmXOBMain::ApplyLanguage() {
  TfrmBase::ApplyLanguage();
  BuildMainMenu(sysMenu, *this);
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
}

void TfrmXOBMain::Resize() {
  // The window keeps at least 500 x 400, however it is sized.
  if (Width() < kMinWidth || Height() < kMinHeight) {
    SetBounds(Left(), Top(), std::max(Width(), kMinWidth), std::max(Height(), kMinHeight));
    return;
  }
  TfrmBase::Resize();
}

}  // namespace orvo
