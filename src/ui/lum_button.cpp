// The button's frames, status, tab selection and hover fade. Painting is in
// lum_button_draw.cpp.
#include "ui/lum_button.h"

#include "ui/lum_style.h"
#include "ui/lum_ui_utils.h"

namespace orvo {

TLumButton::TLumButton() { Color = clRed; }

TLumButton::~TLumButton() = default;

void TLumButton::SetImgBtn(const PngImage& strip) {
  img_btn_ = strip;
  BuildFrames();
  Changed();
}

void TLumButton::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TLumButton::SetGraph(const PngImage& graph) {
  graph_ = graph;
  Changed();
}

PngImage TLumButton::SliceFrame(PngImage frame) const {
  const TLumUIPadding& split = Style() ? Style()->BtnStyle().BtnSplit : BtnSplit;
  if (split.ValidNine()) {
    NinePng pieces;
    if (CutNinePng(frame, {split.Left, split.Top}, {split.Right, split.Bottom}, 255, clNone,
                   pieces)) {
      if (auto whole = AssembleNinePng(Width(), Height(), pieces)) return *whole;
    }
    return frame;
  }
  if (split.ValidColumns()) {
    if (auto whole = SlicePngHorz(frame, split.Left, split.Right, 255, clNone, Width())) {
      return *whole;
    }
  }
  return frame;
}

void TLumButton::BuildFrames() {
  for (auto& f : frames_) f.reset();
  PngImage strip = Style() ? Style()->BtnStyle().ImgBtnBack : img_btn_;
  const int count = Style() ? Style()->BtnStyle().BtnStateCount : BtnStateCount;
  if (strip.empty() || count < 1) return;
  if (count == 1) {
    frames_[bsOver] = SliceFrame(strip);
  } else {
    for (int i = 0; i < std::min(count, 6); ++i) {
      if (auto frame = StateFrameHorz(strip, count, i)) frames_[i] = SliceFrame(*frame);
    }
  }
  const std::optional<PngImage>& sizing = count == 1 ? frames_[bsOver] : frames_[bsNormal];
  if (!sizing) return;
  const TLumUIPadding& split = Style() ? Style()->BtnStyle().BtnSplit : BtnSplit;
  if (AutoSize) {
    SetBounds(Left(), Top(), sizing->width(), sizing->height());
  } else if (!split.ValidNine() && split.ValidColumns()) {
    SetBounds(Left(), Top(), Width(), sizing->height());
  }
}

const PngImage* TLumButton::Frame(TLumUIBtnStatus status) const {
  const auto& f = frames_[status];
  return f ? &*f : nullptr;
}

TLumUIBtnStatus TLumButton::BtnStatus() const { return Enabled() ? status_ : bsDisable; }

void TLumButton::Select() {
  if (OnSelect) OnSelect(*this);
  status_ = bsSelect;
  Changed();
  if (!Parent()) return;
  for (TControl* c : Parent()->Controls()) {
    auto* other = dynamic_cast<TLumButton*>(c);
    if (!other || other == this || !other->ButtonTab || other->GroupIndex != GroupIndex ||
        other->status_ != bsSelect) {
      continue;
    }
    other->status_ = bsNormal;
    other->Changed();
  }
}

void TLumButton::MouseEnter() {
  TLumUIGraphicControl::MouseEnter();
  if (!Enabled()) return;
  if (status_ != bsSelect) status_ = MouseIsDown() ? bsDown : bsOver;
  if (FadeEffect) StartFade(+5);
  Changed();
}

void TLumButton::MouseLeave() {
  TLumUIGraphicControl::MouseLeave();
  if (status_ != bsSelect) status_ = bsNormal;
  if (FadeEffect && Enabled() && !(fade_timer_ && fade_timer_->Enabled())) StartFade(-5);
  Changed();
}

void TLumButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || status_ == bsSelect) return;
  status_ = bsDown;
  Changed();
}

void TLumButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIGraphicControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || status_ == bsSelect) return;
  status_ = MouseOver() ? bsOver : bsNormal;
  Changed();
}

void TLumButton::Click() {
  if (ButtonTab) {
    // A selected tab does nothing more; another one becomes selected by the click.
    if (status_ == bsSelect) return;
    Select();
  }
  TLumUIGraphicControl::Click();
}

void TLumButton::EnabledChanged() {
  if (Enabled() && status_ == bsDisable) status_ = bsNormal;
  if (!Enabled()) {
    fade_picture_.reset();
    if (fade_timer_) fade_timer_->SetEnabled(false);
  }
  TLumUIGraphicControl::EnabledChanged();
}

// --- fade ---

void TLumButton::StartFade(int step) {
  if (!fade_timer_) {
    fade_timer_ = std::make_unique<TTimer>();
    fade_timer_->OnTimer = [this](TTimer&) { FadeTick(); };
  }
  fade_level_ = 180;
  fade_step_ = step;
  fade_timer_->SetInterval(FadeInterVal);
  fade_timer_->Restart();
  fade_timer_->SetEnabled(true);
}

void TLumButton::FadeTick() {
  fade_level_ += fade_step_;
  if (fade_level_ >= 150 && fade_level_ <= 255 && frames_[bsOver]) {
    PngImage picture = *frames_[bsOver];
    FadePngAlpha(picture, fade_level_);
    fade_picture_ = std::move(picture);
  } else {
    fade_picture_.reset();
    fade_timer_->SetEnabled(false);
  }
  Changed();
}

}  // namespace orvo
