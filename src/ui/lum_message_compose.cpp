// Composing the message box's picture: the size rule, the skin tiled to that size, the
// close button, logo, title, icon and message places, and the captioned button frames.
#include <algorithm>

#include "graphics/image_codecs.h"
#include "ui/lum_message_box.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

constexpr uint32_t kTitleFormat =
    kDtLeft | kDtVCenter | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;
constexpr uint32_t kMessageFormat =
    kDtLeft | kDtWordBreak | kDtEndEllipsis | kDtEditControl | kDtNoPrefix;
constexpr uint32_t kButtonFormat =
    kDtLeft | kDtVCenter | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;

void Split(PngImage strip, int count, PngImage* out) {
  for (int i = 0; i < count; ++i) {
    auto frame = StateFrameHorz(strip, count, i);
    out[i] = frame ? *frame : PngImage();
  }
}

}  // namespace

void TLumMessageBox::PrepareFrames() {
  Split(ImgMsg, 4, icon_frames_);
  Split(ImgClose, 3, close_frames_);
  Split(ImgBtn, 4, button_frames_);
}

void TLumMessageBox::Compose(const std::string& title, const std::string& message, int icon) {
  const bool have_frames = !close_frames_[0].empty() && !button_frames_[0].empty();
  const PngImage& skin = Pic.empty() ? ImgForm : Pic.image();
  if (!have_frames || skin.empty()) return;  // the window keeps the picture it had

  Bitmap32 scratch(1, 1, PixelHome::kHeap);
  scratch.canvas().font = FontMsg;
  const Size line = scratch.canvas().TextExtent(message);
  int w = skin.width(), h = skin.height();
  PngImage composed;
  if (FormSplit.ValidNine()) {
    w = std::max(ImgMsg.width() + line.cx / 3 + 2 * AlphaWidth + 10, skin.width());
    h = std::max(ImgMsg.height() + 3 * line.cy + 2 * AlphaWidth + 10, skin.height());
  }
  box_.SetSize(w, h);
  box_.Clear(0);
  const TLumUIPadding& s = FormSplit;
  NinePng pieces;
  PngImage source = skin;
  const bool resized = w != skin.width() || h != skin.height();
  const bool cut =
      resized && CutNinePng(source, {s.Left, s.Top}, {s.Right, s.Bottom}, 255, SkinColor, pieces);
  if (cut && !Pic.empty()) {
    DrawNineTiled(box_, w, h, pieces);
  } else {
    std::optional<PngImage> whole = cut ? AssembleNinePng(w, h, pieces) : std::nullopt;
    if (!whole) {
      // The skin at its own size; tinted like the cut pieces would be.
      whole = SkinColor == clNone ? std::optional<PngImage>(skin) : TintPng(skin, SkinColor, 255);
      if (!whole) whole = skin;
      box_.SetSize(whole->width(), whole->height());
      box_.Clear(0);
      w = whole->width();
      h = whole->height();
    }
    box_.canvas().ResetState();
    box_.canvas().DrawPng(0, 0, *whole);
  }

  const int aw = AlphaWidth;
  const PngImage& close = close_frames_[0];
  close_rect_ =
      RectOfSize(w - aw - BtnCloseLeft - close.width(), aw, close.width(), close.height());
  title_rect_ = {aw, aw, close_rect_.left, aw + CaptionHeight};
  Canvas& canvas = box_.canvas();
  canvas.ResetState();
  int title_left = aw + CaptionLeftFix + 4;
  if (!ImgLogo.empty()) {
    const int x = aw + 4, y = (CaptionHeight - ImgLogo.height()) / 2 + aw;
    canvas.DrawPng(x, y, ImgLogo);
    title_left = x + ImgLogo.width() + 2;
  }
  if (!title.empty()) {
    scratch.canvas().font = FontTitle;
    const int tw = scratch.canvas().TextWidth(title);
    const int right = std::min(title_left + tw, w - close.width() - aw - 4);
    const Rect r{title_left, title_rect_.top, right, title_rect_.bottom};
    DrawTextKeepAlpha(box_, FontTitle, r, kTitleFormat, title);
    title_rect_ = r;
  }
  icon_rect_ = {};
  if (!ImgMsg.empty()) {
    icon_rect_ = RectOfSize(aw + 4, aw + CaptionHeight + 4, ImgMsg.width() / 4, ImgMsg.height());
    if (icon >= 0 && icon <= 3 && !icon_frames_[icon].empty()) {
      canvas.StretchDrawPng(icon_rect_, icon_frames_[icon]);
    } else if (icon == 4 && !ImgCustom.empty()) {
      canvas.DrawPng(icon_rect_.left, icon_rect_.top, ImgCustom);
    }
  }
  message_rect_ = {};
  if (!message.empty()) {
    const int top = icon_rect_.empty() ? aw + CaptionHeight + 4 : icon_rect_.top + line.cy / 2;
    if (w != skin.width()) MsgRowCount = 3;
    const int left = icon_rect_.empty() ? aw + CaptionHeight + 4 : icon_rect_.right + 2;
    message_rect_ = {left, top, w - aw - 4, top + (line.cy + 2) * MsgRowCount};
    DrawTextKeepAlpha(box_, FontMsg, message_rect_, kMessageFormat, message);
  }
}

Bitmap32 TLumMessageBox::CaptionedFrame(const PngImage& frame, const std::string& caption) const {
  Bitmap32 out(frame.width(), frame.height());
  if (out.empty()) return out;
  out.Clear(0);
  out.canvas().DrawPng(0, 0, frame);
  out.canvas().font = FontBtn;
  const int tw = out.canvas().TextWidth(caption);
  const int left = std::max((frame.width() - tw) / 2, 2);
  const Rect r{left, 0, std::min(left + tw, frame.width() - 2), frame.height()};
  DrawTextKeepAlpha(out, FontBtn, r, kButtonFormat, caption);
  return out;
}

void TLumMessageBox::PrepareButtons() {
  has_second_ = kind_ == kMsgYesNo;
  const PngImage& frame = button_frames_[0];
  if (frame.empty() || box_.empty()) return;
  const int bw = frame.width(), bh = frame.height();
  const int w = box_.width(), h = box_.height();
  const int top = h - AlphaWidth - 10 - bh;
  for (int i = 0; i < 4; ++i) {
    first_frames_[i] = CaptionedFrame(button_frames_[i], has_second_ ? BtnCaptionNo : BtnCaptionOk);
    second_frames_[i] = has_second_ ? CaptionedFrame(button_frames_[i], BtnCaptionYes) : Bitmap32();
  }
  if (has_second_) {
    // Yes on the left, No beside it; Yes holds the focus.
    second_rect_ = RectOfSize((w - 2 * bw - 4) / 2, top, bw, bh);
    first_rect_ = RectOfSize(second_rect_.right + 4, top, bw, bh);
    first_focused_ = false;
    second_focused_ = true;
  } else {
    first_rect_ = RectOfSize((w - bw) / 2, top, bw, bh);
    second_rect_ = {};
    first_focused_ = true;
    second_focused_ = false;
  }
}

}  // namespace orvo
