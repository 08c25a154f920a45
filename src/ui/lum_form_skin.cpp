// Building the skinned form's picture: the background picture or colour, the skin by the
// nine-rectangle mapping, the caption, logo and title rectangles, the logo and the title,
// and the border lines.
#include <algorithm>

#include "graphics/image_codecs.h"
#include "graphics/transfer.h"
#include "ui/lum_form.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_utils.h"

namespace orvo {

std::array<std::pair<Rect, Rect>, 9> TLumForm::NineMapping(Size skin, const TLumUIPadding& split,
                                                           Size form) {
  const int L = split.Left, T = split.Top, R = split.Right, B = split.Bottom;
  const int w = skin.cx, h = skin.cy, W = form.cx, H = form.cy;
  return {{
      {{0, 0, L, T}, {0, 0, L, T}},
      {{L, 0, R, T}, {L, 0, W + R - w, T}},
      {{R, 0, w, T}, {W + R - w, 0, W, T}},
      {{0, T, L, B}, {0, T, L, H + B - h}},
      {{0, B, L, h}, {0, H + B - h, L, H}},
      {{L, B, R, h}, {L, H + B - h, W + R - w, H}},
      {{R, B, w, h}, {W + R - w, H + B - h, W, H}},
      {{R, T, w, B}, {W + R - w, T, W, H + B - h}},
      {{L, T, R, B}, {L, T, W + R - w, H + B - h}},
  }};
}

void TLumForm::BuildSkin() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  rebuilding_ = true;
  form_bitmap_.SetSize(w, h);
  const bool skinned = UseSkin && (!ImgForm.empty() || !picture_bitmap_.empty());
  if (skinned) {
    if (skin_bitmap_.empty() && !ImgForm.empty()) {
      skin_bitmap_ = Bitmap32(ImgForm.width(), ImgForm.height());
      skin_bitmap_.Clear(0);
      skin_bitmap_.canvas().DrawPng(0, 0, ImgForm);
    }
    form_bitmap_.Clear(0);
    if (!picture_bitmap_.empty()) DrawPicture();
    if (OnLumFormAfterSkinDraw) OnLumFormAfterSkinDraw(*this);
    DrawSkinOver();
  } else {
    form_bitmap_.Clear(ColorToArgb(Color));
    if (OnLumFormBackGroundPaint) OnLumFormBackGroundPaint(*this);
  }
  PlaceButtons();
  ComputeRects();
  DrawLogoAndTitle();
  if (form_state_ != WisMax) DrawBorder();
  rebuilding_ = false;
  if (!minimizing_) ApplyShape();
}

void TLumForm::DrawPicture() {
  const PixelView view = picture_bitmap_.view();
  const Rect all = picture_bitmap_.bounds();
  const bool covers = all.width() >= Width() && all.height() >= Height();
  switch (SkinDrawMode) {
    case SmStretch:
      StretchTransfer(form_bitmap_, form_bitmap_.bounds(), form_bitmap_.bounds(), view, all,
                      DrawMode::kOpaque, CombineMode::kBlend, Resampler::kLinear);
      return;
    case SmTile: TileBitmap(form_bitmap_, picture_bitmap_); return;
    case SmCrop: break;
    case SmAuto:
    case SmAutoAndAverage:
      if (!covers) form_bitmap_.Clear(picture_average_ ? picture_average_ : ColorToArgb(Color));
      break;
  }
  BlockTransfer(form_bitmap_, 0, 0, form_bitmap_.bounds(), view, all, DrawMode::kOpaque,
                CombineMode::kBlend);
}

void TLumForm::DrawSkinOver() {
  if (skin_bitmap_.empty()) return;
  const CombineMode combine = SkinMixMode == SmmMerge ? CombineMode::kMerge : CombineMode::kBlend;
  const PixelView skin = skin_bitmap_.view();
  const Rect clip = form_bitmap_.bounds();
  if (!FormSplit.ValidNine()) {
    StretchTransfer(form_bitmap_, clip, clip, skin, skin_bitmap_.bounds(), DrawMode::kBlend,
                    combine, Resampler::kLinear);
    return;
  }
  for (const auto& [from, to] :
       NineMapping({skin_bitmap_.width(), skin_bitmap_.height()}, FormSplit, {Width(), Height()})) {
    if (from.empty() || to.empty()) continue;
    StretchTransfer(form_bitmap_, to, clip, skin, from, DrawMode::kBlend, combine,
                    Resampler::kLinear);
  }
}

void TLumForm::ComputeRects() {
  caption_rect_ = {0, 0, Width(), CaptionHeight};
  logo_rect_ = {-1, -1, -1, -1};
  title_rect_ = {-1, -1, -1, -1};
  if (!ImgLogo.empty()) {
    logo_rect_ = RectOfSize(LogoLeftFix + 4, (CaptionHeight - ImgLogo.height()) / 2 + LogoTopFix,
                            ImgLogo.width(), ImgLogo.height());
  }
  const int left = (ImgLogo.empty() ? 0 : logo_rect_.right) + TitleLeftFix + 4;
  if (!ImgCaption.empty()) {
    title_rect_ = RectOfSize(left, (CaptionHeight - ImgCaption.height()) / 2 + TitleTopFix,
                             ImgCaption.width(), ImgCaption.height());
  } else if (!caption_.empty()) {
    int right = Width() - 4;
    for (TDStdFButton* b : {btn_close_, btn_max_, btn_restore_, btn_min_, btn_menu_, btn_skin_}) {
      if (b && b->Visible()) right = std::min(right, b->Left());
    }
    Canvas& canvas = form_bitmap_.canvas();
    canvas.font = CaptionFont;
    const int text_height = canvas.TextHeight(caption_);
    const int top = (CaptionHeight - text_height) / 2 + TitleTopFix;
    title_rect_ = {left, top, right, top + text_height};
  }
}

void TLumForm::DrawLogoAndTitle() {
  Canvas& canvas = form_bitmap_.canvas();
  canvas.ResetState();
  if (!ImgLogo.empty()) canvas.DrawPng(logo_rect_.left, logo_rect_.top, ImgLogo);
  if (!ImgCaption.empty()) {
    canvas.DrawPng(title_rect_.left, title_rect_.top, ImgCaption);
  } else if (!caption_.empty() && !title_rect_.empty()) {
    DrawTextKeepAlpha(form_bitmap_, CaptionFont, title_rect_,
                      kDtLeft | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix, caption_);
  }
}

void TLumForm::DrawBorder() {
  if (BorderColor == clNone || CutMode == CmMask || form_bitmap_.empty()) return;
  Canvas& canvas = form_bitmap_.canvas();
  canvas.ResetState();
  const int W = Width(), H = Height();
  if (CutMode == CmNone || form_state_ == WisMax) {
    canvas.brush.style = BrushStyle::kSolid;
    canvas.brush.color = BorderColor;
    canvas.FrameRect({0, 0, W, H});
    if (InBorderColor != clNone) {
      canvas.brush.color = InBorderColor;
      canvas.FrameRect({1, 1, W - 1, H - 1});
    }
    return;
  }
  canvas.brush.style = BrushStyle::kClear;
  canvas.pen.style = PenStyle::kSolid;
  canvas.pen.color = BorderColor;
  for (const Rect& r : {Rect{0, 0, W, H}, Rect{0, 0, W - 1, H - 1}, Rect{0, 1, W, H},
                        Rect{1, 0, W, H}, Rect{1, 0, W - 1, H}, Rect{0, 1, W, H - 1}}) {
    canvas.RoundRect(r, CutRound, CutRound);
  }
  if (InBorderColor != clNone) {
    canvas.pen.color = InBorderColor;
    canvas.RoundRect({1, 1, W - 1, H - 1}, CutRound, CutRound);
  }
}

void TLumForm::Paint(Canvas& canvas) {
  if (form_bitmap_.empty() || form_bitmap_.width() != Width() ||
      form_bitmap_.height() != Height()) {
    BuildSkin();
  }
  if (OnLumFormPaint) OnLumFormPaint(*this, form_bitmap_);
  canvas.Draw(0, 0, form_bitmap_.view(), DrawMode::kOpaque);
  TWinControl::Paint(canvas);
}

}  // namespace orvo
