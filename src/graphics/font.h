#pragma once
// A font as the toolkit's properties hold it: face name, size (points at 96 dpi, kept as a
// pixel height the way Windows fonts are), colour, style and character set. The text back
// ends turn it into a GDI font or a FreeType face.
#include <cstdint>
#include <string>

#include "graphics/color.h"
#include "platform/raster.h"

namespace orvo {

inline constexpr uint8_t fsBold = 1;
inline constexpr uint8_t fsItalic = 2;
inline constexpr uint8_t fsUnderline = 4;
inline constexpr uint8_t fsStrikeOut = 8;

inline constexpr uint8_t kDefaultCharset = 1;

struct Font {
  std::string name = "Tahoma";
  // Negative: character (em) height in pixels; positive: cell height. -11 is 8 points.
  int height = -11;
  TColor color = clWindowText;
  uint8_t style = 0;
  uint8_t charset = kDefaultCharset;

  // Points at 96 dpi, as MulDiv rounds them.
  int size() const;
  void set_size(int points);
  bool bold() const { return (style & fsBold) != 0; }

  os::FontSpec Spec() const;
  friend bool operator==(const Font&, const Font&) = default;
};

// Windows MulDiv: a * b / c rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace orvo
