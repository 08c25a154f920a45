// The edit's frames, the place of every caret position, horizontal scrolling that keeps
// the caret in view, and the painting: box, icon, selection, text (or the password mask),
// extra button, caret.
#include <algorithm>

#include "platform/text.h"
#include "ui/lum_edit.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

constexpr uint32_t kTextFormat = kDtLeft | kDtVCenter | kDtSingleLine | kDtNoPrefix;
enum { kNormal = 0, kHot = 1, kFocused = 2, kDisabled = 3 };

}  // namespace

void TLumEdit::SkinChanged() {
  for (int s = 0; s < 4; ++s) {
    has_frames_[s] = false;
    for (PngImage& piece : frames_[s]) piece = PngImage();
    extra_frames_[s] = PngImage();
  }
  const int count = std::clamp(EditStateCount, 0, 4);
  for (int s = 0; s < count && !ImgEdit.empty(); ++s) {
    PngImage strip = ImgEdit;
    auto frame = EditStateCount == 1 ? std::optional<PngImage>(strip)
                                     : StateFrameHorz(strip, EditStateCount, s);
    if (!frame) continue;
    ThreePng pieces;
    if (Imgx1 < ImgX2 && CutThreeHorz(*frame, Imgx1, ImgX2, 255, clNone, pieces)) {
      for (int p = 0; p < 3; ++p) frames_[s][p] = std::move(pieces[static_cast<size_t>(p)]);
    } else {
      frames_[s][1] = std::move(*frame);  // unsplit: stretched over the whole box
    }
    has_frames_[s] = true;
  }
  for (int s = 0; s < std::clamp(ExtraStateCount, 0, 4) && !ImgExtra.empty(); ++s) {
    PngImage strip = ImgExtra;
    auto frame = ExtraStateCount == 1 ? std::optional<PngImage>(strip)
                                      : StateFrameHorz(strip, ExtraStateCount, s);
    if (frame) extra_frames_[s] = std::move(*frame);
  }
  offsets_valid_ = false;
  Changed();
}

int TLumEdit::MaskWidth() const {
  if (!ImgPassWord.empty()) return ImgPassWord.width() + 2;
  return 0;  // measured from the mask character (see Offsets)
}

const std::vector<int>& TLumEdit::Offsets() {
  widths_.SetFont(font);
  if (!offsets_valid_) {
    int mask = -1;
    if (password_char_) {
      mask = MaskWidth() > 0 ? MaskWidth() : widths_.Width(password_char_);
    }
    offsets_ = widths_.CaretOffsets(buffer_.text(), mask);
    offsets_valid_ = true;
  }
  return offsets_;
}

Rect TLumEdit::ExtraButtonRect() const {
  const PngImage& f = extra_frames_[0];
  if (f.empty()) return {};
  return RectOfSize(Width() - f.width() - OutWidth, (Height() - f.height()) / 2, f.width(),
                    f.height());
}

Rect TLumEdit::TextArea() const {
  int left = Boxoffset + MarginText;
  if (ImageList) left += ImageList->ImgWidth + MarginImgList;
  int right = Width() - Boxoffset - MarginText;
  const Rect extra = ExtraButtonRect();
  if (!extra.empty()) right = std::min(right, extra.left - 2);
  return {left, 0, std::max(right, left), Height()};
}

int TLumEdit::PosAtX(int x) {
  const std::vector<int>& xs = Offsets();
  const int rel = x - TextArea().left + (focused_ ? scroll_x_ : 0);
  int best = 0;
  for (size_t i = 1; i < xs.size(); ++i) {
    if (xs[i] == xs[i - 1]) continue;  // the second half of a surrogate pair
    if (std::abs(xs[i] - rel) < std::abs(xs[static_cast<size_t>(best)] - rel)) {
      best = static_cast<int>(i);
    }
  }
  return best;
}

void TLumEdit::EnsureCaretVisible() {
  const std::vector<int>& xs = Offsets();
  const int width = std::max(TextArea().width() - 1, 1);
  const int total = xs.back();
  const int cx = xs[static_cast<size_t>(std::clamp(buffer_.caret(), 0, buffer_.length()))];
  if (total <= width) {
    scroll_x_ = 0;
    return;
  }
  if (cx < scroll_x_) scroll_x_ = cx;
  if (cx > scroll_x_ + width) scroll_x_ = cx - width;
  scroll_x_ = std::clamp(scroll_x_, 0, total - width);
}

Rect TLumEdit::CaretRect() {
  const std::vector<int>& xs = Offsets();
  const Rect area = TextArea();
  const int cx = area.left +
                 xs[static_cast<size_t>(std::clamp(buffer_.caret(), 0, buffer_.length()))] -
                 (focused_ ? scroll_x_ : 0);
  const int h = ImgInput.empty() ? widths_.LineHeight() : ImgInput.height();
  const int w = ImgInput.empty() ? 1 : ImgInput.width();
  const int top = (Height() - h) / 2;
  return {cx, top, cx + w, top + h};
}

void TLumEdit::DrawControl(Bitmap32& bitmap) {
  Canvas& canvas = bitmap.canvas();
  const int w = Width(), h = Height();

  // The box: disabled, focused (else normal), hot, normal.
  int state = kNormal;
  if (!EffectivelyEnabled())
    state = has_frames_[kDisabled] ? kDisabled : kNormal;
  else if (focused_)
    state = has_frames_[kFocused] ? kFocused : kNormal;
  else if (MouseOver())
    state = has_frames_[kHot] ? kHot : kNormal;
  if (has_frames_[state]) {
    const PngImage* p = frames_[state];
    if (p[0].empty() && p[2].empty()) {
      canvas.StretchDrawPng(ClientRect(), p[1]);
    } else {
      canvas.DrawPng(0, 0, p[0]);
      canvas.DrawPng(w - p[2].width(), 0, p[2]);
      if (w - p[2].width() > p[0].width()) {
        canvas.StretchDrawPng({p[0].width(), 0, w - p[2].width(), p[1].height()}, p[1]);
      }
    }
  }

  if (ImageList && Imgindex >= 0 && Imgindex < ImageList->Count()) {
    ImageList->Draw(&canvas, Boxoffset + MarginText, (h - ImageList->ImgHeight) / 2, Imgindex,
                    EffectivelyEnabled());
  }

  const Rect area = TextArea();
  const std::vector<int>& xs = Offsets();
  const int scroll = focused_ ? scroll_x_ : 0;
  canvas.Save();
  canvas.IntersectClip(area);
  if (buffer_.HasSelection()) {
    canvas.brush.style = BrushStyle::kSolid;
    canvas.brush.color = SelColor;
    canvas.FillRect({area.left + xs[static_cast<size_t>(buffer_.SelMin())] - scroll, OutWidth,
                     area.left + xs[static_cast<size_t>(buffer_.SelMax())] - scroll, h - OutWidth});
  }
  if (password_char_) {
    const int step = xs.size() > 1 ? xs[1] - xs[0] : 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      if (xs[i + 1] == xs[i]) continue;
      const int x = area.left + xs[i] - scroll;
      if (!ImgPassWord.empty()) {
        canvas.DrawPng(x, (h - ImgPassWord.height()) / 2, ImgPassWord);
      } else {
        canvas.font = font;
        canvas.brush.style = BrushStyle::kClear;
        Rect r{x, 0, x + step, h};
        canvas.DrawText(Utf16ToUtf8(std::u16string(1, password_char_)), r, kTextFormat);
      }
    }
  } else if (!buffer_.text().empty()) {
    canvas.font = font;
    if (!EffectivelyEnabled()) canvas.font.color = clGray;
    canvas.brush.style = BrushStyle::kClear;
    const std::string text = Utf16ToUtf8(buffer_.text());
    if (scroll == 0) {
      Rect r = area;
      canvas.DrawText(text, r, kTextFormat | kDtEndEllipsis);
    } else {
      Rect r{area.left - scroll, 0, area.left - scroll + xs.back() + 4, h};
      canvas.DrawText(text, r, kTextFormat);
    }
  }
  canvas.Restore();

  const Rect extra = ExtraButtonRect();
  if (!extra.empty()) {
    int f = kNormal;
    if (!EffectivelyEnabled())
      f = 3;
    else if (extra_pressed_)
      f = 2;
    else if (extra_hot_)
      f = 1;
    const PngImage& frame = extra_frames_[f].empty() ? extra_frames_[0] : extra_frames_[f];
    canvas.DrawPng(extra.left, extra.top, frame);
  }

  if (CaretShown()) {
    const Rect caret = CaretRect();
    if (caret.left >= area.left - 1 && caret.left <= area.right) {
      if (!ImgInput.empty()) {
        canvas.DrawPng(caret.left, caret.top, ImgInput);
      } else {
        canvas.brush.style = BrushStyle::kSolid;
        canvas.brush.color = font.color;
        canvas.FillRect(caret);
      }
    }
  }
}

}  // namespace orvo
