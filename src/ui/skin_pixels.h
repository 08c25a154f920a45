#pragma once
// What happens to every pixel a skin routine copies out of a skin: recoloured by the tint
// and its alpha scaled by the factor. Shared by the cutting and the slicing routines.
#include "graphics/color.h"
#include "platform/geometry.h"
#include "graphics/png_image.h"

namespace orvo {

Argb PiecePixel(Argb pixel, int alpha_factor, TColor tint);
// The rectangle r of the source as a new RGBA picture, every pixel through PiecePixel.
PngImage CopyPiece(const PngImage& source, const Rect& r, int alpha_factor, TColor tint);

}  // namespace orvo
