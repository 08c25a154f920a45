#pragma once
// A list of named PNG images that buttons, list views and menus draw glyphs from. The
// cell size (ImgWidth x ImgHeight) is what controls reserve for an image; the list itself
// draws every image at its natural size.
#include <string>
#include <deque>

#include "graphics/canvas.h"
#include "graphics/png_image.h"

namespace orvo {

class TLumPngImageItem {
 public:
  std::string Name;
  PngImage Png;  // owned; setting it copies
  // Name, or the empty text when there is none.
  const std::string& DisplayName() const { return Name; }
};

class TLumImageList {
 public:
  int ImgHeight = 16;
  int ImgWidth = 16;

  // A new item named "PngImage<index>".
  TLumPngImageItem& Add();
  TLumPngImageItem& Add(const PngImage& png);
  int Count() const { return static_cast<int>(items_.size()); }
  // Null outside 0 .. Count - 1.
  TLumPngImageItem* Item(int index);
  const TLumPngImageItem* Item(int index) const;
  void Clear() { items_.clear(); }

  // Nothing for an index beyond the list or without a canvas; a disabled image is drawn
  // desaturated (GrayPng amount 255).
  void Draw(Canvas* canvas, int x, int y, int index, bool enabled) const;

 private:
  std::deque<TLumPngImageItem> items_;  // references stay valid as items are added
};

}  // namespace orvo
