#pragma once
// A windowed container with a skin cut in three (left, middle, right columns, or top,
// middle, bottom rows, by ImgSplit) or stretched whole, or, with Alpha below 255 and a
// Color, a translucent layer of that colour over what lies beneath it:
//
//   columns:  +------+---------------------+-------+   left and right at their size,
//             | left |   middle, stretched | right |   the middle only when it fits
//             +------+---------------------+-------+
#include <array>

#include "graphics/png_image.h"
#include "ui/lum_ui_core.h"
#include "ui/lum_ui_type.h"

namespace orvo {

class TLumPanel : public TLumUIParentControl {
 public:
  TLumPanel();

  const PngImage& ImgBack() const { return img_back_; }
  void SetImgBack(const PngImage& image);
  const TLumUIPadding& ImgSplit() const { return img_split_; }
  void SetImgSplit(const TLumUIPadding& split);
  // Cuts the pieces again (loading, a style change, a new skin).
  void BuildPieces();
  bool HasPieces() const { return pieces_kind_ != kNoPieces; }

  void Paint(Canvas& canvas) override;
  void DrawControl(Bitmap32& bitmap) override;
  void StyleChanged() override { BuildPieces(); }

 private:
  enum PiecesKind { kNoPieces, kColumns, kRows };
  bool HasColourLayer() const { return Alpha() < 255 && Color != clNone; }
  void BlendColourLayer(Bitmap32& bitmap) const;
  const PngImage& SkinImage() const;

  PngImage img_back_;
  TLumUIPadding img_split_;
  std::array<PngImage, 3> pieces_;
  PiecesKind pieces_kind_ = kNoPieces;
};

}  // namespace orvo
