// The panel: pieces, the colour layer and painting.
#include "ui/lum_panel.h"

#include "ui/lum_style.h"
#include "ui/lum_ui_utils.h"

namespace orvo {

TLumPanel::TLumPanel() {
  Color = clRed;
  SetBounds(0, 0, 300, 200);
  SetTrackHover(false);
}

void TLumPanel::SetImgBack(const PngImage& image) {
  img_back_ = image;
  BuildPieces();
  Changed();
}

void TLumPanel::SetImgSplit(const TLumUIPadding& split) {
  if (split == img_split_) return;
  img_split_ = split;
  Changed();
}

const PngImage& TLumPanel::SkinImage() const {
  return Style() ? Style()->PanelStyle().ImgPanelBack : img_back_;
}

void TLumPanel::BuildPieces() {
  pieces_kind_ = kNoPieces;
  PngImage image = SkinImage();
  const TLumUIPadding& split = Style() ? Style()->PanelStyle().PanelSplit : img_split_;
  if (image.empty()) return;
  ThreePng three;
  if (split.Left < split.Right) {
    if (CutThreeHorz(image, split.Left, split.Right, 255, clNone, three)) pieces_kind_ = kColumns;
  } else if (split.Top < split.Bottom) {
    if (CutThreeVert(image, split.Top, split.Bottom, 255, clNone, three)) pieces_kind_ = kRows;
  }
  if (pieces_kind_ != kNoPieces) pieces_ = std::move(three);
}

void TLumPanel::BlendColourLayer(Bitmap32& bitmap) const {
  const Argb layer = ColorToArgb(Color, static_cast<uint8_t>(Alpha()));
  const Rect clip = Intersect(bitmap.canvas().ClipRect(), bitmap.bounds());
  for (int y = clip.top; y < clip.bottom; ++y) {
    Argb* row = bitmap.Row(y);
    for (int x = clip.left; x < clip.right; ++x) row[x] = BlendPixel(layer, row[x]);
  }
}

void TLumPanel::Paint(Canvas& canvas) {
  if (!HasColourLayer()) {
    TLumUIParentControl::Paint(canvas);
    return;
  }
  // The colour layer replaces the fade towards black: the parent's surface shows through
  // the panel's colour at the panel's opacity.
  const int alpha = core_.alpha;
  const bool transparent = core_.transparent;
  core_.alpha = 255;
  core_.transparent = true;
  core_.Paint(*this, canvas, [this, alpha](Bitmap32& b) {
    core_.alpha = alpha;
    BlendColourLayer(b);
    DrawControl(b);
  });
  core_.alpha = alpha;
  core_.transparent = transparent;
}

void TLumPanel::DrawControl(Bitmap32& bitmap) {
  if (HasColourLayer()) {
    if (Alpha() > 0) BlendColourLayer(bitmap);
    return;
  }
  Canvas& canvas = bitmap.canvas();
  const int w = Width(), h = Height();
  const auto& [first, middle, last] = pieces_;
  switch (pieces_kind_) {
    case kRows:
      canvas.StretchDrawPng({0, 0, w, first.height()}, first);
      canvas.StretchDrawPng({0, first.height(), w, h - last.height()}, middle);
      canvas.StretchDrawPng({0, h - last.height(), w, h}, last);
      return;
    case kColumns:
      canvas.DrawPng(0, 0, first);
      if (first.width() + last.width() < w - middle.width()) {
        canvas.StretchDrawPng({first.width(), 0, w - last.width(), middle.height()}, middle);
      }
      canvas.DrawPng(w - last.width(), 0, last);
      return;
    case kNoPieces: {
      const PngImage& image = SkinImage();
      if (!image.empty()) canvas.StretchDrawPng(ClientRect(), image);
      return;
    }
  }
}

}  // namespace orvo
