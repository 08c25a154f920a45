#pragma once
// The two colour forms of the program. Pixels are 32-bit ARGB with straight (not
// premultiplied) alpha, 0xAARRGGBB. Colour values of the toolkit (TColor) keep the Windows
// layout 0x00BBGGRR; clNone (0x1FFFFFFF) means "no colour" for every colour property, and
// values with the high bit set name a system colour (0x80000000 + COLOR_* index).
#include <cstdint>

namespace orvo {

using Argb = uint32_t;
using TColor = uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clGrayText = 0x80000011;

constexpr uint8_t AlphaOf(Argb c) { return static_cast<uint8_t>(c >> 24); }
constexpr uint8_t RedOf(Argb c) { return static_cast<uint8_t>(c >> 16); }
constexpr uint8_t GreenOf(Argb c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t BlueOf(Argb c) { return static_cast<uint8_t>(c); }

constexpr Argb MakeArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr Argb WithAlpha(Argb c, uint32_t a) { return (c & 0x00FFFFFFu) | (a << 24); }

constexpr TColor MakeColor(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr uint8_t ColorRed(TColor c) { return static_cast<uint8_t>(c); }
constexpr uint8_t ColorGreen(TColor c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t ColorBlue(TColor c) { return static_cast<uint8_t>(c >> 16); }

// A system colour becomes its value in the classic Windows scheme (the toolkit's windows
// paint everything else themselves); clNone and clDefault become black.
TColor ColorToRGB(TColor color);

// A colour value as a pixel of the given opacity.
Argb ColorToArgb(TColor color, uint8_t alpha = 255);
// A pixel's colour as a colour value (alpha dropped).
constexpr TColor ArgbToColor(Argb c) { return MakeColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace orvo
