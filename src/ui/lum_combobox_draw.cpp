// The combobox's frames and its box: skin, extra button, drop button, image and text.
#include <algorithm>

#include "ui/lum_combobox.h"
#include "ui/lum_list_form.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

constexpr uint32_t kTextFormat =
    kDtLeft | kDtVCenter | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;

// Up to four frames of a strip in `out` (missing ones stay empty); a strip that does not
// divide by the count is cut in square frames when that works.
void CutFrames(PngImage strip, int count, PngImage (&out)[4], bool square_fallback) {
  for (PngImage& f : out) f = PngImage();
  if (strip.empty() || count < 1) return;
  if (count == 1) {
    out[0] = strip;
    return;
  }
  if (strip.width() % count != 0 && square_fallback && strip.height() > 0 &&
      strip.width() % strip.height() == 0) {
    count = strip.width() / strip.height();
  }
  for (int i = 0; i < std::min(count, 4); ++i) {
    if (auto f = StateFrameHorz(strip, count, i)) out[i] = std::move(*f);
  }
}

}  // namespace

void TLumCombobox::SkinChanged() {
  CutFrames(ImgBox, BoxStateCount, box_frames_, false);
  CutFrames(ImgBtn, BtnStateCount, button_frames_, false);
  CutFrames(ImgExtraBtn, BtnStateCount, extra_frames_, true);
  CutFrames(ImgCheck, CheckStateCount == 4 ? 4 : 0, check_frames_, false);
  // Item frames by ItemStateCount: 1 hot; 2 hot, down; 3 or 4 normal, hot, down, disabled.
  PngImage cut[4];
  CutFrames(Imgitem, ItemStateCount, cut, false);
  for (int i = 0; i < 4; ++i) {
    item_frames_[i] = PngImage();
    has_item_frame_[i] = false;
  }
  const int map1[] = {1}, map2[] = {1, 2}, map4[] = {0, 1, 2, 3};
  const int* map = ItemStateCount == 1 ? map1 : ItemStateCount == 2 ? map2 : map4;
  const int n = std::min(ItemStateCount, 4);
  for (int i = 0; i < n; ++i) {
    if (cut[i].empty()) continue;
    item_frames_[map[i]] = cut[i];
    has_item_frame_[map[i]] = true;
  }
  sliced_width_ = -1;
  PlaceEditor();
  Changed();
}

const PngImage* TLumCombobox::ItemFrame(int state) const {
  if (state < 0 || state > 3 || !has_item_frame_[state]) return nullptr;
  return &item_frames_[state];
}

const PngImage* TLumCombobox::CheckFrame(bool checked, bool hot) const {
  const PngImage& f = check_frames_[(checked ? 1 : 0) + (hot ? 2 : 0)];
  return f.empty() ? nullptr : &f;
}

Rect TLumCombobox::ButtonRect() const {
  const PngImage& f = button_frames_[0];
  if (f.empty()) return {};
  return RectOfSize(Width() - BtnOffSet - f.width(), (Height() - f.height()) / 2, f.width(),
                    f.height());
}

Rect TLumCombobox::ExtraButtonRect() const {
  const PngImage& f = extra_frames_[0];
  if (!ExtraBtn || f.empty()) return {};
  const int top = (Height() - f.height()) / 2;
  if (ExtraBtnLeft) return RectOfSize(BtnOffSet, top, f.width(), f.height());
  const Rect button = ButtonRect();
  const int right = button.empty() ? Width() - BtnOffSet : button.left - 2;
  return RectOfSize(right - f.width(), top, f.width(), f.height());
}

Rect TLumCombobox::TextRect() const {
  int x = BtnOffSet + 6;
  const Rect extra = ExtraButtonRect();
  if (!extra.empty() && ExtraBtnLeft) x = extra.right + 2;
  const int image = ImgIndex >= 0 ? ImgIndex : (selected_ ? selected_->ImageIndex : -1);
  if (Imagelist && image >= 0 && image < Imagelist->Count()) x += Imagelist->ImgWidth + 4;
  const Rect button = ButtonRect();
  int right = button.empty() ? Width() - (BtnOffSet + 1) : button.left - 2;
  if (!extra.empty() && !ExtraBtnLeft) right = extra.left - 2;
  return {x, 0, std::max(right, x), Height()};
}

void TLumCombobox::DrawControl(Bitmap32& bitmap) {
  Canvas& canvas = bitmap.canvas();
  const bool enabled = EffectivelyEnabled();
  const bool dropped = DroppedDown();

  int state = 0;
  if (!enabled)
    state = 3;
  else if (dropped || pressed_ != kNoPart)
    state = 2;
  else if (MouseOver() || hot_ != kNoPart)
    state = 1;
  if (box_frames_[state].empty()) state = 0;
  if (sliced_width_ != Width()) {
    sliced_width_ = Width();
    for (int i = 0; i < 4; ++i) {
      sliced_box_[i] = PngImage();
      if (box_frames_[i].empty()) continue;
      std::optional<PngImage> s;
      if (Boxsplit.ValidColumns() && Boxsplit.Left > 0) {
        s = SlicePngHorz(box_frames_[i], Boxsplit.Left, Boxsplit.Right, 255, clNone, Width());
      }
      sliced_box_[i] = s ? std::move(*s) : box_frames_[i];
    }
  }
  const PngImage& box = sliced_box_[state];
  if (!box.empty()) {
    if (box.width() == Width() && box.height() == Height())
      canvas.DrawPng(0, 0, box);
    else
      canvas.StretchDrawPng(ClientRect(), box);
  }

  auto button = [&](const PngImage(&frames)[4], Part part, const Rect& r) {
    if (r.empty()) return;
    int f = 0;
    if (!enabled)
      f = 3;
    else if (pressed_ == part || (part == kButton && dropped))
      f = 2;
    else if (hot_ == part)
      f = 1;
    const PngImage& frame = frames[f].empty() ? frames[0] : frames[f];
    canvas.DrawPng(r.left, r.top, frame);
  };
  button(extra_frames_, kExtra, ExtraButtonRect());
  button(button_frames_, kButton, ButtonRect());

  const Rect text = TextRect();
  const int image = ImgIndex >= 0 ? ImgIndex : (selected_ ? selected_->ImageIndex : -1);
  if (Imagelist && image >= 0 && image < Imagelist->Count()) {
    Imagelist->Draw(&canvas, text.left - Imagelist->ImgWidth - 4,
                    (Height() - Imagelist->ImgHeight) / 2, image, enabled);
  }
  if (can_input_ && editor_ && editor_->Visible()) return;  // the edit shows the text
  Font f = font;
  if (!enabled)
    f.color = FontColorDisable;
  else if (focused_)
    f.color = FontColorOver;  // NOLINT(bugprone-branch-clone): as hover, which a press outranks
  else if (pressed_ != kNoPart)
    f.color = FontColorDown;
  else if (MouseOver())
    f.color = FontColorOver;
  else
    f.color = FontColorNormal;
  canvas.font = f;
  canvas.brush.style = BrushStyle::kClear;
  Rect r = text;
  canvas.DrawText(text_, r, kTextFormat);
}

}  // namespace orvo
