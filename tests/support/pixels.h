#pragma once
// Pixel helpers for raster and painting tests: filled pictures, where ink landed, and
// comparison against golden PNGs kept in tests/golden/. A golden that does not match
// writes <name>.actual.png and <name>.diff.png next to it (differing pixels red over a
// faded copy); ORVO_UPDATE_GOLDEN=1 rewrites the goldens instead.
#include <gtest/gtest.h>

#include <string>

#include "graphics/bitmap.h"
#include "graphics/png_image.h"

namespace orvo::test {

Bitmap32 Filled(int width, int height, Argb color);
PngImage FilledPng(int width, int height, Argb color);

// The smallest rectangle holding every pixel that differs from `background` (empty when
// none does).
Rect InkBounds(const Bitmap32& bitmap, Argb background);
// Compares colours only (alpha ignored), for text back ends that write the alpha byte.
Rect InkBoundsRgb(const Bitmap32& bitmap, Argb background);
int CountPixels(const Bitmap32& bitmap, Argb color);

::testing::AssertionResult MatchesGolden(const Bitmap32& actual, const std::string& name);

}  // namespace orvo::test
