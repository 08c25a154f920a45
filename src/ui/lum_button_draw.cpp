// Painting a button: the frame of its status (or the fade picture), the glyph and the
// caption placed by the layout switches, then OnAfterDraw.
#include "ui/lum_button.h"
#include "ui/lum_style.h"

namespace orvo {

const Font& TLumButton::StatusFont(TLumUIBtnStatus status) const {
  if (Style()) {
    const TLumButtonStyle& s = Style()->BtnStyle();
    switch (status) {
      case bsOver: return s.BtnFontOver;
      case bsDown: return s.BtnFontDown;
      case bsDisable: return s.BtnFontDisable;
      case bsSelect: return s.BtnFontSelect;
      case bsFocus: return s.BtnFontFocus;
      default: return s.BtnFontNormal;
    }
  }
  switch (status) {
    case bsOver: return FontOver;
    case bsDown: return FontDown;
    case bsDisable: return FontDisable;
    case bsSelect: return FontSelect;
    case bsFocus: return FontFocus;
    default: return FontNormal;
  }
}

void TLumButton::DrawControl(Bitmap32& bitmap) {
  const TLumUIBtnStatus status = BtnStatus();
  const PngImage* frame = nullptr;
  if (fade_picture_) {
    frame = &*fade_picture_;
  } else if (status == bsSelect) {
    frame = frames_[bsSelect] ? &*frames_[bsSelect] : Frame(bsDown);
  } else if (status == bsFocus) {
    frame = frames_[bsFocus] ? &*frames_[bsFocus] : Frame(bsNormal);
  } else {
    frame = Frame(status);
  }
  Canvas& canvas = bitmap.canvas();
  if (frame && !frame->empty()) {
    if (frame->width() == Width() && frame->height() == Height())
      canvas.DrawPng(0, 0, *frame);
    else
      canvas.StretchDrawPng(ClientRect(), *frame);
  }
  glyph_drawn_ = false;
  truncated_ = false;
  if (RightJustify) {
    DrawCaption(canvas, status);
    DrawGlyph(canvas, status, true);
  } else {
    DrawGlyph(canvas, status, false);
    DrawCaption(canvas, status);
  }
  UpdateTruncationHint();
  if (OnAfterDraw) OnAfterDraw(*this, canvas);
}

void TLumButton::DrawGlyph(Canvas& canvas, TLumUIBtnStatus status, bool caption_drawn) {
  const int w = Width(), h = Height();
  glyph_rect_ = {};
  if (ImgBtnBackList) {
    const int index = status == bsNormal ? 0 : status == bsOver ? 1 : status == bsDisable ? 3 : 2;
    ImgBtnBackList->Draw(&canvas, 0, 0, index, true);
  }
  if (Imagelist && Imgindex >= 0 && Imgindex < Imagelist->Count()) {
    int x = GraphLeftFix + 2;
    const int y = (h - Imagelist->ImgHeight) / 2 + GraphTopFix;
    int index = Imgindex;
    if (JustUseImgList) {
      x -= 2;
      index += status == bsOver ? 1 : status == bsDown ? 2 : status == bsDisable ? 3 : 0;
    }
    Imagelist->Draw(&canvas, x, y, index, JustUseImgList || status != bsDisable);
    glyph_rect_ = RectOfSize(x, y, Imagelist->ImgWidth, Imagelist->ImgHeight);
    glyph_drawn_ = true;
    return;
  }
  if (graph_.empty()) return;
  const int gw = graph_.width(), gh = graph_.height();
  const bool pressed = status == bsDown;
  int x = 0, y = 0;
  switch (Layout) {
    case wlGlphyLeft:
      y = (h - gh) / 2 + GraphTopFix + (pressed && RightLimite == 0 ? 1 : 0);
      x = RightJustify && caption_drawn ? caption_rect_.left - gw - 2 : GraphLeftFix + 2;
      break;
    case wlGlphyTop:
      x = (w - gw) / 2 + GraphLeftFix;
      y = GraphTopFix + 2 + (pressed ? 1 : 0);
      break;
    case wlGlphyRight:
      x = w + GraphLeftFix - 2 - gw;
      y = (h - gh) / 2 + (pressed ? 1 : 0);
      break;
    case wlGlphyBottom:
      x = (w - gw) / 2;
      y = h + GraphTopFix - 2 - gh + (pressed ? 1 : 0);
      break;
  }
  canvas.DrawPng(x, y, graph_);
  glyph_rect_ = RectOfSize(x, y, gw, gh);
  glyph_drawn_ = true;
}

void TLumButton::DrawCaption(Canvas& canvas, TLumUIBtnStatus status) {
  caption_rect_ = {};
  if (caption_.empty()) return;
  const int w = Width(), h = Height();
  canvas.font = StatusFont(status);
  const Size text = canvas.TextExtent(caption_);
  int x;
  if (RightJustify)
    x = w - text.cx - 2;
  else if (JustCaptionLeft || CenterJustify)
    x = CaptionLeftFix;
  else
    x = ((RightLimite != 0 ? RightLimite : w) - text.cx) / 2 + CaptionLeftFix;
  if (Layout == wlGlphyLeft && glyph_drawn_ && !RightJustify) {
    x = glyph_rect_.right + CaptionLeftFix + 2;
  }
  if (x <= 0) {
    x = 6;
    truncated_ = true;
  }
  Rect r{x, 0, CenterJustify ? w - 2 : x + text.cx, 0};
  if (r.right > w - 2) {
    r.right = w - 2;
    truncated_ = true;
  }
  r.top = (h - text.cy) / 2 + CaptionTopFix;
  r.bottom = std::min(r.top + text.cy, h - 2);
  uint32_t format = kDtEndEllipsis | (CenterJustify ? kDtCenter : kDtLeft);
  if (ShowAccelChar) format |= kDtNoPrefix;
  canvas.brush.style = BrushStyle::kClear;
  caption_rect_ = r;
  canvas.DrawText(caption_, r, format);
}

void TLumButton::UpdateTruncationHint() {
  if (truncated_) {
    truncation_hint_.Show(*this, caption_);
  } else {
    truncation_hint_.Restore(*this);
  }
}

}  // namespace orvo
