#pragma once
// The colours of the product's look: a light window, a deep navy caption band and side
// bar, the link blue of the windows, warm gold stars and calm greys.
#include "paint.h"

namespace orvo::painter {

inline const Argb kNavy = Rgb(24, 44, 72);
inline const Argb kNavyLight = Rgb(32, 58, 94);
inline const Argb kNavyDeep = Rgb(19, 36, 60);
inline const Argb kTabHover = Rgb(36, 64, 100);
inline const Argb kTabSelected = Rgb(44, 78, 122);
inline const Argb kLinkBlue = Rgb(22, 149, 230);
inline const Argb kLinkBlueDark = Rgb(14, 118, 190);
inline const Argb kWhite = Rgb(255, 255, 255);
inline const Argb kSurface = Rgb(247, 249, 252);
inline const Argb kLine = Rgb(226, 231, 238);
inline const Argb kBorder = Rgb(200, 207, 216);
inline const Argb kTextDark = Rgb(56, 56, 56);
inline const Argb kTextGrey = Rgb(132, 132, 132);
inline const Argb kGold = Rgb(255, 184, 28);
inline const Argb kGoldDark = Rgb(226, 146, 8);
inline const Argb kStarGrey = Rgb(205, 205, 205);
inline const Argb kVoteDone = Rgb(184, 189, 197);
inline const Argb kGreen = Rgb(52, 168, 83);
inline const Argb kSwitchOff = Rgb(190, 196, 204);
inline const Argb kBin = Rgb(120, 128, 140);
inline const Argb kRed = Rgb(220, 68, 55);
inline const Argb kAmber = Rgb(245, 166, 35);
inline const Argb kRowHot = Rgb(243, 248, 254);
inline const Argb kRowSelected = Rgb(229, 241, 253);
inline const Argb kShadow = Rgb(10, 24, 44, 90);

// State looks shared by every control: hover lightens about 8%, pressed darkens about 8%.
inline Argb Hover(Argb c) { return Lighten(c, 0.08); }
inline Argb Pressed(Argb c) { return Darken(c, 0.08); }

}  // namespace orvo::painter
