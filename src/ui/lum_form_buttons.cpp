// The caption buttons: what each one looks like and does, and where they sit, right to left
// from the close button.
#include "graphics/transfer.h"
#include "ui/application.h"
#include "ui/lum_form.h"
#include "ui/lum_popup_menu.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"

namespace orvo {

TDStdFButton::TDStdFButton(TLumForm& form) : form_(form) { ShowHint = true; }

void TDStdFButton::Paint(Canvas& canvas) {
  CopyParentErase(*this, canvas);
  const PngImage* frame = &BtnNormal;
  if (!Enabled() && !BtnDisable.empty())
    frame = &BtnDisable;
  else if (pressed_)
    frame = &BtnDown;
  else if (over_)
    frame = &BtnOver;
  if (frame->empty()) return;
  canvas.StretchDrawPng(ClientRect(), *frame);
}

void TDStdFButton::MouseEnter() {
  over_ = true;
  form_.Cursor = crDefault;
  Invalidate();
  TControl::MouseEnter();
}

void TDStdFButton::MouseLeave() {
  over_ = false;
  Invalidate();
  TControl::MouseLeave();
}

void TDStdFButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    pressed_ = true;
    Invalidate();
  }
  TControl::MouseDown(button, shift, x, y);
}

void TDStdFButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || !pressed_) return;
  pressed_ = false;
  Invalidate();
  if (over_ && ClientRect().Contains({x, y}) && OnBtnClick) {
    const auto click = OnBtnClick;  // the action may free the window and this button
    click(*this);
  }
}

namespace {

PngImage FrameOf(PngImage strip, int count, int index) {
  auto frame = StateFrameHorz(strip, count, index);
  return frame ? *frame : PngImage();
}

}  // namespace

void TLumForm::CreateButtons() {
  for (TDStdFButton** b :
       {&btn_close_, &btn_max_, &btn_restore_, &btn_min_, &btn_menu_, &btn_skin_}) {
    if (*b) Release(*b);
    *b = nullptr;
  }
  auto make = [this](const char* name, const PngImage& strip, const std::string& hint) {
    auto* b = Make<TDStdFButton>(*this);
    b->Name = name;
    b->Hint = hint;
    b->BtnNormal = FrameOf(strip, BtnCaptionStateCount, 0);
    b->BtnOver = FrameOf(strip, BtnCaptionStateCount, 1);
    b->BtnDown = FrameOf(strip, BtnCaptionStateCount, 2);
    if (BtnCaptionStateCount == 4) b->BtnDisable = FrameOf(strip, BtnCaptionStateCount, 3);
    b->SetBounds(0, 0, b->BtnNormal.width(), b->BtnNormal.height());
    b->OnBtnClick = [this](TDStdFButton& button) { ButtonClicked(button); };
    return b;
  };
  const bool single = !(FormBtns & (WbiMenu | WbiMinimize | WbiMaximize));
  if (!ImgBtnClose.empty() || !ImgBtnSingleClose.empty()) {
    const PngImage& strip = (single && !ImgBtnSingleClose.empty()) || ImgBtnClose.empty()
                                ? ImgBtnSingleClose
                                : ImgBtnClose;
    btn_close_ = make("BtnClose", strip, BtnCloseHint);
  }
  if ((FormBtns & WbiMaximize) && !ImgBtnMax.empty()) {
    btn_max_ = make("BtnMax", ImgBtnMax, BtnMaxHint);
    if (!ImgBtnRestore.empty()) btn_restore_ = make("BtnRestore", ImgBtnRestore, BtnRestoreHint);
  }
  if ((FormBtns & WbiMinimize) && !ImgBtnMin.empty()) {
    const PngImage& strip =
        (FormBtns & WbiMenu) || ImgBtnSingleMin.empty() ? ImgBtnMin : ImgBtnSingleMin;
    btn_min_ = make("BtnMin", strip, BtnMinHint);
  }
  if ((FormBtns & WbiMenu) && !ImgBtnMenu.empty()) {
    btn_menu_ = make("BtnMenu", ImgBtnMenu, BtnMenuHint);
  }
  if ((FormBtns & WbiSkin) && !ImgBtnSkin.empty()) {
    btn_skin_ = make("BtnSkin", ImgBtnSkin, BtnSkinHint);
  }
  PlaceButtons();
}

void TLumForm::PlaceButtons() {
  const int top = BtnTopFix + (BorderColor != clNone ? 3 : 0);
  int next_right = Width() + BtnRightFix - 4;  // the right edge for the next button leftwards
  auto place = [&](TDStdFButton* b) {
    if (!b) return;
    b->SetBounds(next_right - b->Width(), top, b->Width(), b->Height());
    next_right = b->Left() - BtnMargin;
  };
  place(btn_close_);
  if (btn_max_) {
    const int right = next_right;
    place(btn_max_);
    if (btn_restore_) {
      btn_restore_->SetBounds(right - btn_restore_->Width(), top, btn_restore_->Width(),
                              btn_restore_->Height());
    }
    btn_max_->SetVisible(form_state_ != WisMax || !btn_restore_);
    if (btn_restore_) btn_restore_->SetVisible(form_state_ == WisMax);
  }
  place(btn_min_);
  place(btn_menu_);
  place(btn_skin_);
}

TDStdFButton* TLumForm::CaptionButton(const std::string& name) const {
  for (TDStdFButton* b : {btn_close_, btn_max_, btn_restore_, btn_min_, btn_menu_, btn_skin_}) {
    if (b && b->Name == name) return b;
  }
  return nullptr;
}

void TLumForm::ButtonClicked(TDStdFButton& button) {
  if (&button == btn_close_) {
    CloseForm();
  } else if (&button == btn_max_) {
    Maximize();
  } else if (&button == btn_restore_) {
    RestoreSize();
  } else if (&button == btn_min_) {
    MinimizeForm();
  } else if (&button == btn_menu_) {
    if (OnLumFormBtnMenuClick) OnLumFormBtnMenuClick(button);
    if (BtnPopupMenu) {
      const Point at =
          host_->ClientToScreen({button.FormOrigin().x, button.FormOrigin().y + button.Height()});
      BtnPopupMenu->Popup(at.x, at.y);
    }
  } else if (&button == btn_skin_) {
    if (OnLumFormBtnSkinClick) OnLumFormBtnSkinClick(button);
  }
}

}  // namespace orvo
