// Font size arithmetic and the hand-over to the text back ends.
#include "graphics/font.h"

#include <cstdlib>

namespace orvo {

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long product = static_cast<long long>(a) * b;
  const long long half = std::llabs(c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const long long q = (std::llabs(product) + half) / std::llabs(c);
  return static_cast<int>(negative ? -q : q);
}

int Font::size() const { return -MulDiv(height, 72, 96); }

void Font::set_size(int points) { height = -MulDiv(points, 96, 72); }

os::FontSpec Font::Spec() const {
  os::FontSpec spec;
  spec.face = name;
  if (height > 0) {
    spec.em_pixels = 0;
    spec.cell_pixels = height;
  } else {
    spec.em_pixels = height == 0 ? 16 : -height;
  }
  spec.bold = (style & fsBold) != 0;
  spec.italic = (style & fsItalic) != 0;
  spec.underline = (style & fsUnderline) != 0;
  spec.strikeout = (style & fsStrikeOut) != 0;
  spec.charset = charset;
  return spec;
}

}  // namespace orvo
