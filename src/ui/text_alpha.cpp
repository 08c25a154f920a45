// Text on 32-bit bitmaps without breaking their alpha. Text output only promises the
// colour of the pixels it touches (GDI clears their alpha byte), so the text is drawn on
// a copy of the area and every pixel that changed is made opaque before the copy goes back.
// The copies are short-lived heap pictures: the text back end draws into them as well.
#include "ui/lum_ui_drawing.h"
#include "ui/lum_ui_gaussian_blur.h"

namespace orvo {
namespace {

// Pixels of `drawn` that differ from `before` become opaque.
void OpaqueWhereChanged(Bitmap32& drawn, const Bitmap32& before) {
  const size_t count = static_cast<size_t>(drawn.width()) * drawn.height();
  Argb* d = drawn.pixels();
  const Argb* b = before.pixels();
  for (size_t i = 0; i < count; ++i) {
    if (d[i] != b[i]) d[i] |= 0xFF000000u;
  }
}

void DrawOn(Bitmap32& bitmap, const Font& font, TColor color, uint32_t format,
            std::string_view text) {
  Canvas& canvas = bitmap.canvas();
  canvas.ResetState();
  canvas.font = font;
  canvas.font.color = color;
  canvas.brush.style = BrushStyle::kClear;
  Rect r = bitmap.clip_rect();
  canvas.DrawText(text, r, format);
}

void PutBack(Bitmap32& bitmap, const Bitmap32& part, const Rect& r) {
  BlockTransfer(bitmap, r.left, r.top, bitmap.bounds(), part.view(), part.bounds(),
                DrawMode::kOpaque, CombineMode::kBlend);
}

}  // namespace

void DrawTextKeepAlpha(Bitmap32& bitmap, const Font& font, const Rect& r, uint32_t format,
                       std::string_view text) {
  if (r.empty()) return;
  Bitmap32 drawn = bitmap.CopyPart(r, PixelHome::kHeap);
  if (drawn.empty()) return;
  const Bitmap32 before = drawn;
  DrawOn(drawn, font, font.color, format, text);
  OpaqueWhereChanged(drawn, before);
  PutBack(bitmap, drawn, r);
}

void DrawGlowText(Bitmap32& bitmap, const Font& font, const Rect& r, float radius,
                  TColor glow_color, uint32_t format, std::string_view text) {
  if (r.empty()) return;
  const Bitmap32 background = bitmap.CopyPart(r, PixelHome::kHeap);
  if (background.empty()) return;
  Bitmap32 glow = background;
  DrawOn(glow, font, glow_color, format, text);
  TLumUIGaussianFilter filter(radius);
  filter.Edge = BlurEdge::kClamp;
  filter.BlurAlpha = true;
  Bitmap32 result(PixelHome::kHeap);
  filter.Apply(&glow, &result);
  if (result.empty()) return;
  DrawOn(result, font, font.color, format, text);
  OpaqueWhereChanged(result, background);
  PutBack(bitmap, result, r);
}

}  // namespace orvo
