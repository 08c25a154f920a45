// The skinned form's properties, loading, style, window hook and the caption buttons'
// actions: close, maximise to the work area, restore the saved bounds, minimise.
#include "ui/lum_form.h"

#include <stdexcept>

#include "ui/application.h"
#include "ui/desktop.h"
#include "ui/lum_popup_menu.h"
#include "ui/lum_style.h"
#include "ui/lum_ui_core.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

TForm* RequireForm(TWinControl* parent) {
  auto* form = dynamic_cast<TForm*>(parent);
  // A form that is itself inside another control is no top-level form either.
  if (!form || form->Parent()) throw std::logic_error("A Paretn control must TForm");
  return form;
}

}  // namespace

TLumForm::TLumForm(TWinControl* parent) : host_(RequireForm(parent)) {
  Color = clPurple;
  SetParent(host_);
  SetAlign(alClient);
}

TLumForm::~TLumForm() {
  // During the host's own destruction it is no form any more and has nothing to unhook.
  if (hooked_ && dynamic_cast<TForm*>(Parent()) == host_) host_->RemoveWindowHook(this);
}

void TLumForm::Loaded() {
  if (!hooked_) {
    host_->AddWindowHook(this);
    hooked_ = true;
  }
  loaded_ = true;
  if (!SkinPic.empty() && !SkinPic.image().empty()) {
    picture_bitmap_ = Bitmap32(SkinPic.width(), SkinPic.height());
    picture_bitmap_.canvas().DrawPng(0, 0, SkinPic.image());
    picture_bitmap_.ResetAlpha(255);
    if (SkinDrawMode == SmAutoAndAverage) {
      // The mean colour fills what the picture does not cover; its right edge fades out.
      uint64_t r = 0, g = 0, b = 0;
      const size_t count = static_cast<size_t>(picture_bitmap_.width()) * picture_bitmap_.height();
      for (size_t i = 0; i < count; ++i) {
        const Argb p = picture_bitmap_.pixels()[i];
        r += RedOf(p);
        g += GreenOf(p);
        b += BlueOf(p);
      }
      auto mean = [count](uint64_t sum) { return static_cast<uint32_t>(Rnd(double(sum) / count)); };
      picture_average_ = MakeArgb(255, mean(r), mean(g), mean(b));
      const int w = picture_bitmap_.width();
      FadeOutHorz(picture_bitmap_, {std::max(w - 155, 0), 0, w, picture_bitmap_.height()});
    }
  }
  CreateButtons();
  Rebuild();
  if (form_state_ == WisMax) {
    form_state_ = WisNormal;
    Maximize();
  }
  if (OnLumFormFirstShow) OnLumFormFirstShow(*this);
}

void TLumForm::SetCaption(const std::string& caption) {
  caption_ = caption;
  host_->SetCaption(caption);
  if (loaded_) Rebuild();
}

void TLumForm::SetImgForm(const PngImage& image) {
  ImgForm = image;
  if (!ImgForm.empty() && !ImgForm.has_alpha()) ImgForm.CreateAlpha();
  skin_bitmap_ = Bitmap32();
  if (loaded_) Rebuild();
}

void TLumForm::SetImgLogo(const PngImage& image) {
  ImgLogo = image;
  if (!ImgLogo.empty() && !ImgLogo.has_alpha()) ImgLogo.CreateAlpha();
  if (loaded_) Rebuild();
}

void TLumForm::SetColor(TColor color) {
  Color = color;
  if (loaded_) Rebuild();
}

void TLumForm::SetFormState(TLumFormState state) {
  if (state == form_state_ || !loaded_) {
    form_state_ = state;
    return;
  }
  if (state == WisMax)
    Maximize();
  else
    RestoreSize();
}

void TLumForm::SetTopMost(bool top_most) {
  top_most_ = top_most;
  host_->SetTopMost(top_most);
}

void TLumForm::SetStyle(TLumStyle* style) {
  style_ = style;
  if (!style) return;
  const TLumFormStyle& s = style->FormStyle();
  ImgBtnClose = s.ImgBtnClose;
  ImgBtnSingleClose = s.ImgBtnSingleClose;
  ImgBtnMax = s.ImgBtnMax;
  ImgBtnRestore = s.ImgBtnRestore;
  ImgBtnMin = s.ImgBtnMin;
  ImgBtnSingleMin = s.ImgBtnSingleMin;
  ImgBtnMenu = s.ImgBtnMenu;
  ImgBtnSkin = s.ImgBtnSkin;
  ImgForm = s.ImgForm;
  skin_bitmap_ = Bitmap32();
  FormSplit = s.FormSplit;
  SkinPic = s.SkinPic;
  SkinDrawMode = static_cast<TSkinDrawMode>(s.SkinDrawMode);
  Color = s.FormColor;
  CaptionHeight = s.CaptionHeight;
  CaptionFont = s.CaptionFont;
  BtnRightFix = s.BtnRightFix;
  BtnTopFix = s.BtnTopFix;
  TitleLeftFix = s.TitleLeftFix;
  TitleTopFix = s.TitleTopFix;
  LogoLeftFix = s.LogoLeftFix;
  LogoTopFix = s.LogoTopFix;
  if (loaded_) {
    CreateButtons();
    Rebuild();
  }
  // Every toolkit control of the window that does not keep its own look.
  std::vector<TControl*> pending(host_->Controls().begin(), host_->Controls().end());
  while (!pending.empty()) {
    TControl* c = pending.back();
    pending.pop_back();
    if (auto* windowed = dynamic_cast<TLumUIParentControl*>(c);
        windowed && !windowed->OwnerStyle()) {
      windowed->SetStyle(style);
    } else if (auto* graphic = dynamic_cast<TLumUIGraphicControl*>(c);
               graphic && !graphic->OwnerStyle()) {
      graphic->SetStyle(style);
    }
    if (auto* parent = dynamic_cast<TWinControl*>(c)) {
      pending.insert(pending.end(), parent->Controls().begin(), parent->Controls().end());
    }
  }
  RefreshChildren();
}

void TLumForm::Rebuild() {
  BuildSkin();
  Invalidate();
}

void TLumForm::Resize() {
  TWinControl::Resize();
  if (loaded_ && !rebuilding_) Rebuild();
}

void TLumForm::RefreshChildren() {
  std::vector<TControl*> pending(Controls().begin(), Controls().end());
  while (!pending.empty()) {
    TControl* c = pending.back();
    pending.pop_back();
    if (!c->Visible()) continue;
    if (auto* windowed = dynamic_cast<TLumUIParentControl*>(c)) {
      windowed->Changed();
      pending.insert(pending.end(), windowed->Controls().begin(), windowed->Controls().end());
    } else if (auto* graphic = dynamic_cast<TLumUIGraphicControl*>(c)) {
      graphic->Changed();
    }
  }
  host_->Update();
}

// --- the host's window messages ---

bool TLumForm::SysCommand(os::SysCommand command) {
  switch (command) {
    case os::SysCommand::kMinimize: minimizing_ = true; return false;
    case os::SysCommand::kMaximize:
      if (form_state_ != WisMax && (FormBtns & WbiMaximize) && btn_max_) Maximize();
      return true;
    case os::SysCommand::kRestore: return false;
  }
  return false;
}

void TLumForm::Activated(bool active) {
  if (!active || !minimizing_) return;
  minimizing_ = false;
  Rebuild();
  if (OnLumFormMintoNormal) OnLumFormMintoNormal(*this);
}

// --- actions ---

void TLumForm::Maximize() {
  if (form_state_ == WisMax) return;
  saved_bounds_ = RectOfSize(host_->Left(), host_->Top(), host_->Width(), host_->Height());
  form_state_ = WisMax;
  const Point centre{host_->Left() + host_->Width() / 2, host_->Top() + host_->Height() / 2};
  const Rect work = WorkAreaAt(centre);
  host_->SetBounds(work.left, work.top, work.width(), work.height());
  Rebuild();
  PlaceButtons();
  host_->Update();
  ApplyShape();
  if (OnLumFormMax) OnLumFormMax(*this);
}

void TLumForm::RestoreSize() {
  if (form_state_ != WisMax) return;
  form_state_ = WisNormal;
  if (saved_bounds_.left != -1 || saved_bounds_.width() > 0) {
    host_->SetBounds(saved_bounds_.left, saved_bounds_.top, saved_bounds_.width(),
                     saved_bounds_.height());
  }
  Rebuild();
  PlaceButtons();
  ApplyShape();
  if (OnLumFormRestore) OnLumFormRestore(*this);
}

void TLumForm::MinimizeForm() {
  if (minimizing_) return;
  if (Application().MainForm != host_) {
    host_->Close();
    return;
  }
  minimizing_ = true;
  Application().Minimize();
  if (OnLumFormMinimize) OnLumFormMinimize(*this);
}

void TLumForm::CloseForm() {
  if (Application().MainForm != host_) {
    host_->Close();
    return;
  }
  bool can_close = true;
  if (OnLumFormCloseQuery) OnLumFormCloseQuery(*this, can_close);
  if (!can_close) return;
  host_->Close();
  Application().Terminate();
}

}  // namespace orvo
