#pragma once
// The skin routines every control shares: cutting a skin into nine or three pieces,
// picking one state out of a state strip, rebuilding a skin at a new size by tiling or
// stretching, recolouring and fading. Invalid input never raises: the routines return
// nothing (an empty optional, or false) and callers fall back to the unsplit skin.
//
// The alpha factor (0..255) scales every piece pixel's alpha as alpha * factor div 255 and
// is skipped at 255; the tint (a colour, or clNone for none) recolours every piece pixel
// with TintPixel. rnd is rounding to the nearest integer with ties to even.
#include <array>
#include <optional>

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/png_image.h"

namespace orvo {

// Nine pieces in the order top-left, top, top-right, left, centre, right, bottom-left,
// bottom, bottom-right; three pieces left/top, middle, right/bottom.
using NinePng = std::array<PngImage, 9>;
using ThreePng = std::array<PngImage, 3>;
using NineBitmaps = std::array<Bitmap32, 9>;

// --- cutting (colour_type of every piece is RGBA) ---
// False (and `pieces` untouched) when the source is empty, the factor is outside 0..255,
// x1 >= x2, y1 >= y2, or a coordinate is below 0 or not below the width or height. The
// source gets an alpha channel if it has none.
bool CutNinePng(PngImage& source, Point p1, Point p2, int alpha_factor, TColor tint,
                NinePng& pieces);
bool CutNineBitmap(const Bitmap32& source, Point p1, Point p2, NineBitmaps& pieces);
// Columns [0, x1), [x1, x2), [x2, width). Nothing when the source is empty, the factor is
// outside 0..255, x1 = 0, x2 = 0, x2 < x1, or x1 or x2 lies beyond the width.
bool CutThreeHorz(PngImage& source, int x1, int x2, int alpha_factor, TColor tint,
                  ThreePng& pieces);
bool CutThreeVert(PngImage& source, int y1, int y2, int alpha_factor, TColor tint,
                  ThreePng& pieces);
// Frame k of an N-frame strip: nothing when the strip is empty, N < 1, k is outside
// 0..N - 1, or the strip's width (height) is not a multiple of N.
std::optional<PngImage> StateFrameHorz(PngImage& strip, int count, int index);
std::optional<PngImage> StateFrameVert(PngImage& strip, int count, int index);

// --- rebuilding at a new size ---
// Corners at natural size, edges and centre tiled pixel by pixel (the last repetition cut
// off), no blending. Nothing when width < left + right widths + 1 or height < top + bottom
// heights + 1.
std::optional<PngImage> AssembleNinePng(int width, int height, const NinePng& pieces);
// The bitmap resized, its alpha reset to 0, corners drawn at natural size with their own
// alpha, and edges and centre covered by whole copies of their piece, the last one drawn
// squeezed into the remaining space.
void DrawNineTiled(Bitmap32& bitmap, int width, int height, const NinePng& pieces);
// Corners at natural size, edges and centre stretched (nearest pixel), opaque.
void DrawNineStretched(Bitmap32& bitmap, int width, int height, const NineBitmaps& pieces);
// The source at a new width: columns [0, x1) at the left, [x2, width) flush right, [x1, x2)
// tiled between. Validity as CutThreeHorz, and a new width of at least 1. A new width
// smaller than the two ends leaves the right end drawn over the left one.
std::optional<PngImage> SlicePngHorz(PngImage& source, int x1, int x2, int alpha_factor,
                                     TColor tint, int new_width);
std::optional<PngImage> SlicePngVert(PngImage& source, int y1, int y2, int alpha_factor,
                                     TColor tint, int new_height);
// The tile drawn at every multiple of its size until the target is covered.
void TileBitmap(Bitmap32& target, const Bitmap32& tile);

// --- colour ---
struct Hsl {
  double h = 0;  // degrees 0..360
  double s = 0;  // 0..100
  double l = 0;  // 0..100
};
Hsl RgbToHsl(TColor color);
// The toolkit's own mapping (pure hue in steps of 4.25 per degree, then saturation pulls
// towards 128, then lightness towards white or black); outside its domain, black.
TColor HslToRgb(double h, double s, double l);
// Hue and saturation of the tint, lightness of the pixel.
TColor TintPixel(TColor pixel, TColor tint);
// Desaturates in place by `amount` (0..255); grey pictures are left as they are.
void GrayPng(PngImage& png, int amount);
// Alphas times factor div 255 (an alpha channel added first); nothing for an empty picture
// or a factor outside 0..255.
void FadePngAlpha(PngImage& png, int factor);
// A recoloured copy (tint clNone keeps colours) with alpha scaled by the factor.
std::optional<PngImage> TintPng(const PngImage& png, TColor tint, int alpha_factor);
PngImage SolidPng(int width, int height, TColor color);
// R, G, B = rnd(factor * c / 255) and A = factor * A div 255 inside the rectangle.
void FadeRectAlpha(Bitmap32& bitmap, const Rect& rect, int factor);
// Column i of a rectangle w wide takes x = 255 - (255 / w) * i: R, G, B = rnd(x * c / 255),
// A = rnd(x) * A div 255.
void FadeOutHorz(Bitmap32& bitmap, const Rect& rect);

// --- input timing, from the system keyboard settings ---
int KeyboardRepeatDelay();
int KeyboardRepeatInterval();

// rnd: nearest integer, ties to even.
int Rnd(double x);

}  // namespace orvo
