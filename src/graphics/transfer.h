#pragma once
// Moving pixels between pictures: the block transfer (same size) and the stretched
// transfer (any size, through a resampler), each combining by a draw mode and a combine
// mode (graphics/blend.h). Everything is clipped to the target, to `clip` (target
// coordinates) and to the source; nothing is read or written outside.
#include "graphics/bitmap.h"
#include "graphics/pixel_view.h"

namespace orvo {

// Nearest takes, for every target pixel, the source pixel under its centre: the source
// column of target column i (of a span w drawn from s source columns) is floor((2i + 1) * s
// / 2w). Linear interpolates the four source pixels around that centre, weighting colours by
// their alpha so transparent neighbours leave no dark fringe, and clamps at the source
// rectangle's edges.
enum class Resampler { kNearest, kLinear };

void BlockTransfer(Bitmap32& target, int x, int y, const Rect& clip, const PixelView& source,
                   const Rect& source_rect, DrawMode draw, CombineMode combine);

// A target rectangle of the source rectangle's size falls back to the block transfer.
void StretchTransfer(Bitmap32& target, const Rect& target_rect, const Rect& clip,
                     const PixelView& source, const Rect& source_rect, DrawMode draw,
                     CombineMode combine, Resampler resampler);

}  // namespace orvo
