#pragma once
// DrawText's layout rules for the portable back end, apart from any font: "&" prefixes,
// line breaks, word wrapping (and the edit-control rule that breaks words too long for a
// line and hides a partly visible last line), end ellipsis (on the last visible line also
// standing for the text that no longer fits), alignment and the calculated rectangle. The
// rules follow what GDI does, as Wine documents it.
#include <functional>
#include <string>
#include <vector>

#include "platform/raster.h"

namespace orvo::os::headless {

struct LaidGlyph {
  char32_t c = 0;
  int x = 0;                // pen position relative to the line's left
  bool underlined = false;  // a "&" prefix marked it
};

struct LaidLine {
  int x = 0;  // left of the line in surface coordinates
  int y = 0;  // top of the line
  int width = 0;
  std::vector<LaidGlyph> glyphs;
};

struct TextLayout {
  std::vector<LaidLine> lines;
  TextBox box;     // the calculated rectangle (DT_CALCRECT)
  int height = 0;  // what DrawText returns
};

struct LayoutMetrics {
  int line_height = 0;
  int average_width = 0;
  std::function<int(char32_t)> advance;
};

TextLayout LayoutText(const std::u32string& text, uint32_t format, const TextBox& box,
                      const LayoutMetrics& metrics);

std::u32string DecodeUtf8(std::string_view utf8);

}  // namespace orvo::os::headless
