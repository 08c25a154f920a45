#pragma once
// A read-only look at 32-bit ARGB pixels (top-down rows, stride = width), so that the
// transfers take bitmaps and PNG images alike.
#include "graphics/color.h"
#include "platform/geometry.h"

namespace orvo {

struct PixelView {
  const Argb* pixels = nullptr;
  int width = 0;
  int height = 0;

  bool empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
  const Argb* Row(int y) const { return pixels + static_cast<long>(y) * width; }
  Argb At(int x, int y) const { return Row(y)[x]; }
  Rect bounds() const { return {0, 0, width, height}; }
};

}  // namespace orvo
