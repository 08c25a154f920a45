#pragma once
// Add-on and browser icons as the windows draw them: the catalogue keeps each icon packed;
// a window decodes one when it first paints it and keeps it at the size it draws.
//
// Icons come in every size: Chrome's 128-pixel pictures, Firefox's 32 and 64, and the
// system's icons, which the catalogue draws from the top-left corner of a 48 x 48 canvas
// whatever their own size. An icon is fitted into its square keeping its proportions and
// centred; one drawn on a larger canvas is taken at its own size first (so a 32-pixel
// icon does not shrink into a corner); one much smaller than the square is doubled
// rather than left tiny.
#include "catalogue/png_image.h"
#include "graphics/png_image.h"

namespace orvo {

// The picture fitted into size x size; a packed one stays packed.
PngImage FittedPicture(const TPngImage& image, int size);
// The same for a picture whose pixels are at hand.
PngImage FitPicture(const PngImage& picture, int size);

}  // namespace orvo
