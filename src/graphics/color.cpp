// System colours of the classic Windows scheme, so that colour properties defaulting to
// them (a form's button-face colour, the window text colour of fonts) mean the same on
// every build.
#include "graphics/color.h"

#include <array>

namespace orvo {

TColor ColorToRGB(TColor color) {
  if (color == clNone || color == clDefault) return clBlack;
  if ((color & 0x80000000u) == 0) return color & 0x00FFFFFFu;
  // COLOR_* indexes 0..30 in the Windows 7 "classic" defaults (as GetSysColor returns them
  // without a theme).
  static constexpr std::array<TColor, 31> kSystem = {
      MakeColor(200, 200, 200), MakeColor(0, 0, 0),       MakeColor(153, 180, 209),
      MakeColor(191, 205, 219), MakeColor(240, 240, 240), MakeColor(255, 255, 255),
      MakeColor(100, 100, 100), MakeColor(0, 0, 0),       MakeColor(0, 0, 0),
      MakeColor(0, 0, 0),       MakeColor(180, 180, 180), MakeColor(244, 247, 252),
      MakeColor(171, 171, 171), MakeColor(51, 153, 255),  MakeColor(255, 255, 255),
      MakeColor(240, 240, 240), MakeColor(160, 160, 160), MakeColor(109, 109, 109),
      MakeColor(0, 0, 0),       MakeColor(67, 78, 84),    MakeColor(255, 255, 255),
      MakeColor(105, 105, 105), MakeColor(227, 227, 227), MakeColor(0, 0, 0),
      MakeColor(255, 255, 225), MakeColor(0, 0, 0),       MakeColor(0, 102, 204),
      MakeColor(185, 209, 234), MakeColor(215, 228, 242), MakeColor(51, 153, 255),
      MakeColor(240, 240, 240)};
  const uint32_t index = color & 0xFFu;
  return index < kSystem.size() ? kSystem[index] : clBlack;
}

Argb ColorToArgb(TColor color, uint8_t alpha) {
  const TColor c = ColorToRGB(color);
  return MakeArgb(alpha, ColorRed(c), ColorGreen(c), ColorBlue(c));
}

}  // namespace orvo
