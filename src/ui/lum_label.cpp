// The label's painting: font by state, the picture, the text rectangle and format, plain
// or glowing text, and the truncation hint.
#include "ui/lum_label.h"

#include "ui/lum_ui_drawing.h"

namespace orvo {

TLumLabel::TLumLabel() {
  SetBounds(0, 0, 100, 25);
  FontDisable.color = 0x808080;
}

void TLumLabel::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TLumLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed();
}

void TLumLabel::SetSupportMouseOverDown(bool value) {
  if (value == support_over_down_) return;
  support_over_down_ = value;
  SetTrackHover(value);
  Changed();
}

void TLumLabel::SetBlurColor(TColor color) {
  if (color == blur_color_) return;
  blur_color_ = color;
  Changed();
}

void TLumLabel::SetBlurRadius(int radius) {
  if (radius == blur_radius_) return;
  blur_radius_ = radius;
  Changed();
}

void TLumLabel::SetGraph(const PngImage& graph) {
  graph_ = graph;
  Changed();
}

void TLumLabel::SetShowAccelChar(bool value) {
  if (value == show_accel_char_) return;
  show_accel_char_ = value;
  Changed();
}

void TLumLabel::SetWordBreak(bool value) {
  if (value == word_break_) return;
  word_break_ = value;
  Changed();
}

const Font& TLumLabel::StateFont() const {
  if (!Enabled()) return FontDisable;
  if (support_over_down_) {
    if (MouseIsDown()) return FontDown;
    if (MouseOver()) return FontOver;
  }
  return font;
}

void TLumLabel::DrawControl(Bitmap32& bitmap) {
  if (caption_.empty()) return;
  const Font& f = StateFont();
  Canvas& canvas = bitmap.canvas();
  canvas.font = f;
  const Size text = canvas.TextExtent(caption_);
  const int w = Width(), h = Height();
  bool truncated = false;
  Rect r;
  if (alignment_ == taLeftJustify) {
    int x = 2;
    if (!graph_.empty()) {
      canvas.DrawPng(2, (h - graph_.height()) / 2, graph_);
      x = 2 + graph_.width() + 2;
    }
    // The text gets the label's whole width: with some text back ends (Wine's GDI) the
    // last glyph reaches a pixel or two past the measured extent, and a rectangle cut at
    // the extent would clip it. The ellipsis still comes only where the text cannot fit.
    r.left = x;
    r.right = w - 2;
    truncated = x + text.cx > w - 2 && !word_break_;
  } else {
    // Right-aligned text keeps the same two pixels from the edge, room for that overhang.
    r.left = 0;
    r.right = alignment_ == taRightJustify ? w - 2 : w;
    truncated = text.cx > r.right && !word_break_;
  }
  r.top = (h - text.cy) / 2;
  if (r.top < 0 || word_break_) r.top = 0;
  r.bottom = r.top + text.cy;
  if (r.bottom > h || word_break_) r.bottom = h;

  uint32_t format = kDtEndEllipsis;
  if (alignment_ == taLeftJustify) format |= kDtLeft | (word_break_ ? kDtWordBreak : 0);
  // GDI clips to the rectangle it aligns to; the label's own bitmap is the clip instead,
  // so a right-aligned last glyph's overhang (Wine) keeps its pixels.
  else if (alignment_ == taRightJustify)
    format |= kDtRight | kDtNoClip;
  else
    format |= kDtCenter;
  if (show_accel_char_) format |= kDtNoPrefix;

  if (blur_color_ == clNone) {
    canvas.brush.style = BrushStyle::kClear;
    canvas.DrawText(caption_, r, format);
  } else {
    DrawGlowText(bitmap, f, r, static_cast<float>(blur_radius_), blur_color_, format, caption_);
  }
  UpdateTruncationHint(truncated);
}

void TLumLabel::UpdateTruncationHint(bool truncated) {
  truncated_ = truncated;
  if (truncated) {
    truncation_hint_.Show(*this, caption_);
  } else {
    truncation_hint_.Restore(*this);
  }
}

}  // namespace orvo
