#pragma once
// Advance widths of single characters in one font, cached, for the edit boxes: where each
// caret position falls and where a line wraps. The text back ends draw a line as the sum
// of its characters' advances (no kerning), so these sums match what DrawText draws.
#include <string_view>
#include <unordered_map>
#include <vector>

#include "graphics/font.h"

namespace orvo {

class TGlyphWidths {
 public:
  // Forgets the cache when the font differs from the last one.
  void SetFont(const Font& font);
  int LineHeight();
  int Width(char32_t c);
  // x of every caret position of a UTF-16 text, from 0 (size = units + 1; the second unit
  // of a surrogate pair gets the x of the first); with a mask character every character
  // counts `mask_width`.
  std::vector<int> CaretOffsets(std::u16string_view text, int mask_width = -1);

 private:
  Font font_;
  bool have_font_ = false;
  int line_height_ = -1;
  std::unordered_map<char32_t, int> widths_;
};

}  // namespace orvo
