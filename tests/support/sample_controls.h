#pragma once
// Small skinned controls built on the two bases, standing in for the real buttons, labels
// and panels of later work in pipeline tests, golden pictures and the raster benchmark.
#include <string>

#include "ui/lum_ui_core.h"
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_type.h"
#include "ui/lum_ui_utils.h"

namespace orvo::test {

// A windowed panel drawing a nine-sliced skin (tiled by AssembleNinePng) at its size.
class SkinPanel : public TLumUIParentControl {
 public:
  PngImage skin;
  TLumUIPadding split;
  void DrawControl(Bitmap32& bitmap) override {
    if (skin.empty()) return;
    if (assembled_.width() != bitmap.width() || assembled_.height() != bitmap.height()) {
      NinePng pieces;
      PngImage source = skin;
      if (CutNinePng(source, {split.Left, split.Top}, {split.Right, split.Bottom}, 255, clNone,
                     pieces)) {
        auto whole = AssembleNinePng(bitmap.width(), bitmap.height(), pieces);
        assembled_ = whole ? *whole : skin;
      } else {
        assembled_ = skin;
      }
    }
    bitmap.canvas().DrawPng(0, 0, assembled_);
  }

 private:
  PngImage assembled_;
};

// A windowless label: text kept opaque on its bitmap, or with a glow.
class TextLabel : public TLumUIGraphicControl {
 public:
  std::string caption;
  TColor glow = clNone;
  uint32_t format = kDtLeft | kDtVCenter | kDtSingleLine | kDtEndEllipsis | kDtNoPrefix;
  void DrawControl(Bitmap32& bitmap) override {
    if (glow == clNone) {
      DrawTextKeepAlpha(bitmap, font, bitmap.bounds(), format, caption);
    } else {
      DrawGlowText(bitmap, font, bitmap.bounds(), 2, glow, format, caption);
    }
  }
};

// A windowless picture drawn at its natural size with its alpha.
class PictureBox : public TLumUIGraphicControl {
 public:
  PngImage picture;
  void DrawControl(Bitmap32& bitmap) override { bitmap.canvas().DrawPng(0, 0, picture); }
};

}  // namespace orvo::test
