#pragma once
// The picture a catalogue hands out: a browser's `Icon` and an add-on record's `Image`
// are the program's one picture type under the toolkit's name. The catalogues keep them
// packed (see graphics/png_image.h): hundreds of icons stay compressed until drawn.
#include "graphics/png_image.h"

namespace orvo {

using TPngImage = PngImage;

}  // namespace orvo
