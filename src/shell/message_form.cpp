// The toast windows: layout, sliding in, the one-second life and the fade.
#include "shell/message_form.h"

#include <algorithm>
#include <utility>

#include "platform/ui_dispatcher.h"
#include "shell/language_fonts.h"
#include "ui/desktop.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

// The skins' rounded corners stay whole; their flat middles stretch to any toast size.
//
//   toast_*_back, 211 x 40:   +--8--+------ ... ------+--8--+
//                             |     |                 |     |  8
//                             +-----+------ ... ------+-----+
//                             |     |   flat colour   |     |
//                             +-----+------ ... ------+-----+  8
constexpr int kBackCorner = 8;
constexpr int kSlideSteps = 5;
constexpr int kSlideStepMs = 20;  // five steps: 100 ms
constexpr int kLifeMs = 1000;
constexpr int kFadeStepMs = 50;
constexpr int kFadeSteps = 15;  // opacity n x 17 for n = 15 .. 0
constexpr uint32_t kTextFormat = kDtLeft | kDtTop | kDtWordBreak | kDtNoPrefix;

std::vector<std::unique_ptr<TfrmMessage>>& Toasts() {
  static std::vector<std::unique_ptr<TfrmMessage>> toasts;
  return toasts;
}

void FreeToast(uint64_t serial) {
  auto& toasts = Toasts();
  auto it = std::find_if(toasts.begin(), toasts.end(),
                         [serial](const auto& t) { return t->Serial() == serial; });
  if (it == toasts.end()) return;
  std::unique_ptr<TfrmMessage> gone = std::move(*it);
  toasts.erase(it);
}

Bitmap32 NineSliced(PngImage skin, int width, int height) {
  Bitmap32 out;
  NinePng pieces;
  const Point p1{kBackCorner, kBackCorner};
  const Point p2{skin.width() - kBackCorner, skin.height() - kBackCorner};
  if (width > 2 * kBackCorner && height > 2 * kBackCorner &&
      CutNinePng(skin, p1, p2, 255, clNone, pieces)) {
    DrawNineTiled(out, width, height, pieces);
  } else {
    out.SetSize(width, height);
    out.Clear(0);
    out.canvas().StretchDrawPng(out.bounds(), skin);
  }
  return out;
}

// The rectangle moved and cut so that it lies on the work area.
Rect FitOnto(Rect r, const Rect& work) {
  const int width = std::min(r.width(), work.width());
  const int height = std::min(r.height(), work.height());
  r = RectOfSize(r.left, r.top, width, height);
  if (r.right > work.right) r = r.Offset(work.right - r.right, 0);
  if (r.bottom > work.bottom) r = r.Offset(0, work.bottom - r.bottom);
  if (r.left < work.left) r = r.Offset(work.left - r.left, 0);
  if (r.bottom <= work.top) r = r.Offset(0, work.top - r.top);
  return r;
}

void ShowToast(ToastKind kind, Point screen, const std::string& text) {
  auto toast = std::make_unique<TfrmMessage>(kind);
  toast->Layout(screen, 200, text);
  TfrmMessage& shown = *toast;
  Toasts().push_back(std::move(toast));
  shown.Popup();
}

}  // namespace

TfrmMessage::TfrmMessage(ToastKind kind) : kind_(kind) {
  static uint64_t next_serial = 0;
  serial_ = ++next_serial;
  Layered = true;
  ToolWindow = true;
  ActivateOnClick = false;
  SetTopMost(true);
  SetBounds(0, 0, 211, 40);
  const bool ok = kind == ToastKind::kSuccess;
  icon_ = SkinPng(ok ? "toast_success_icon" : "toast_error_icon");
  text_font_.name = GetLangFontName();
  text_font_.charset = GetLangCharset();
  text_font_.set_size(GetLangFontSize());
  text_font_.color = clWhite;
  slide_timer_.SetInterval(kSlideStepMs);
  slide_timer_.OnTimer = [this](TTimer&) { SlideTick(); };
  life_timer_.SetInterval(kLifeMs);
  life_timer_.OnTimer = [this](TTimer&) { LifeTick(); };
}

TfrmMessage::~TfrmMessage() = default;

void TfrmMessage::Layout(Point screen, int max_text_width, const std::string& text) {
  text_ = text;
  Bitmap32 measure(1, 1);
  Canvas& c = measure.canvas();
  c.font = text_font_;
  Rect box{0, 0, max_text_width, 0};
  c.DrawText(text, box, kTextFormat | kDtCalcRect);
  const int w = box.width(), h = box.height();
  const int icon_w = icon_.width(), icon_h = icon_.height();
  const int height = std::max(h, icon_h) + 20;
  const int width = w + icon_w + 30;
  icon_rect_ = RectOfSize(15, (height - icon_h) / 2, icon_w, icon_h);
  text_rect_ = RectOfSize(icon_rect_.right + 2, (height - h) / 2, w, h);
  const Point corner{screen.x + 1, screen.y + 1};
  const Rect r = FitOnto(RectOfSize(corner.x, corner.y, width, height), WorkAreaAt(corner));
  SetBounds(r.left, r.top, r.width(), r.height());
  const bool ok = kind_ == ToastKind::kSuccess;
  background_ =
      NineSliced(SkinPng(ok ? "toast_success_back" : "toast_error_back"), r.width(), r.height());
  InvalidateRect(ClientRect());
}

void TfrmMessage::Paint(Canvas& canvas) {
  canvas.Draw(0, 0, background_.view(), DrawMode::kOpaque);
  canvas.DrawPng(icon_rect_.left, icon_rect_.top, icon_);
  // A few pixels of the right margin too: with some text back ends (Wine's GDI) the last
  // glyph of a line reaches past the width the text was measured at.
  const Point o = canvas.origin();
  Rect r = text_rect_.Offset(o.x, o.y);
  r.right += 4;
  DrawTextKeepAlpha(canvas.target(), text_font_, r, kTextFormat, text_);
}

void TfrmMessage::Popup() {
  PaintAll();
  slide_step_ = 0;
  PresentSlid(0);
  ShowNoActivate();
  slide_timer_.SetEnabled(true);
  life_timer_.SetEnabled(true);
}

// Sliding in from top to bottom: the toast's lower rows appear first at its top edge and
// move down until the whole toast shows.
void TfrmMessage::PresentSlid(int revealed_rows) {
  const Bitmap32& whole = Screen();
  if (whole.empty()) return;
  if (revealed_rows >= whole.height()) {
    UpdateLayered(whole, opacity_);
    return;
  }
  slide_.SetSize(whole.width(), whole.height());
  slide_.Clear(0);
  const int from = whole.height() - revealed_rows;
  for (int y = 0; y < revealed_rows; ++y) {
    std::copy_n(whole.Row(from + y), whole.width(), slide_.Row(y));
  }
  UpdateLayered(slide_, opacity_);
}

void TfrmMessage::SlideTick() {
  ++slide_step_;
  PresentSlid(Height() * slide_step_ / kSlideSteps);
  if (slide_step_ >= kSlideSteps) slide_timer_.SetEnabled(false);
}

void TfrmMessage::LifeTick() {
  if (fade_step_ < 0) {
    const Point p = CursorScreenPos();
    if (BoundsRect().Contains(p)) return;
    // A fade that starts before the slide has finished shows the whole toast.
    slide_timer_.SetEnabled(false);
    fade_step_ = kFadeSteps;
    life_timer_.SetInterval(kFadeStepMs);
  } else if (fade_step_ == 0) {
    Finish();
    return;
  } else {
    --fade_step_;
  }
  opacity_ = static_cast<uint8_t>(fade_step_ * 17);
  UpdateLayered(Screen(), opacity_);
}

void TfrmMessage::Finish() {
  life_timer_.SetEnabled(false);
  slide_timer_.SetEnabled(false);
  Hide();
  // Freed once the current message is done: this runs inside its own timer's tick. By
  // serial, not address: FreeAllToasts may have come first and a new toast live there.
  const uint64_t serial = serial_;
  if (auto ui = os::CurrentUiDispatcher()) {
    ui->Post([serial] { FreeToast(serial); });
  } else {
    FreeToast(serial);
  }
}

void ShowSuccessToast(Point screen, const std::string& text) {
  ShowToast(ToastKind::kSuccess, screen, text);
}

void ShowErrorToast(Point screen, const std::string& text) {
  ShowToast(ToastKind::kError, screen, text);
}

std::vector<TfrmMessage*> LiveToasts() {
  std::vector<TfrmMessage*> out;
  for (const auto& t : Toasts()) out.push_back(t.get());
  return out;
}

void FreeAllToasts() { Toasts().clear(); }

}  // namespace orvo
