#pragma once
// Drawing routines every skinned control uses: its parent's surface (and the windowless
// siblings below it) painted into the control's own bitmap, so controls look transparent
// without layered child windows; and text that leaves the bitmap's alpha right, plain or
// with a blurred halo.
#include <string_view>

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "ui/control.h"

namespace orvo {

// Paints the parent's own surface and, when the control has a component name, the
// visible windowless siblings below it that it overlaps, into `canvas` in the control's
// coordinates. Nothing without a parent or for an empty control.
void CopyParentBackground(TControl& control, Canvas& canvas);
// The same for the part `rect` (control coordinates) only, whatever the name: the list
// view restores one row this way.
void CopyParentBackgroundRect(TControl& control, Canvas& canvas, const Rect& rect);
// The parent's erase and paint into `canvas`, the parent marked as painting a copy
// meanwhile (caption buttons of the skinned form).
void CopyParentErase(TControl& control, Canvas& canvas);

// Text drawn into r of the bitmap with the window system's text output; the pixels it
// changed become opaque, the others keep their alpha.
void DrawTextKeepAlpha(Bitmap32& bitmap, const Font& font, const Rect& r, uint32_t format,
                       std::string_view text);
// Text over a halo: r's background is replaced by its blur with the text drawn in the glow
// colour, the sharp text drawn on top, and every changed pixel made opaque.
void DrawGlowText(Bitmap32& bitmap, const Font& font, const Rect& r, float radius,
                  TColor glow_color, uint32_t format, std::string_view text);

}  // namespace orvo
