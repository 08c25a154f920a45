// Cached character advances from the installed text back end.
#include "ui/glyph_widths.h"

#include "platform/raster.h"
#include "platform/text.h"

namespace orvo {

void TGlyphWidths::SetFont(const Font& font) {
  if (have_font_ && font == font_) return;
  font_ = font;
  have_font_ = true;
  line_height_ = -1;
  widths_.clear();
}

int TGlyphWidths::LineHeight() {
  if (line_height_ < 0) {
    line_height_ =
        os::IsRasterInstalled() ? os::CurrentTextRenderer().Metrics(font_.Spec()).height : 13;
  }
  return line_height_;
}

int TGlyphWidths::Width(char32_t c) {
  const auto found = widths_.find(c);
  if (found != widths_.end()) return found->second;
  int width = 0, height = 0;
  if (os::IsRasterInstalled()) {
    std::u16string unit;
    if (c >= 0x10000) {
      unit.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      unit.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      unit.push_back(static_cast<char16_t>(c));
    }
    os::CurrentTextRenderer().Extent(font_.Spec(), Utf16ToUtf8(unit), &width, &height);
  }
  widths_.emplace(c, width);
  return width;
}

std::vector<int> TGlyphWidths::CaretOffsets(std::u16string_view text, int mask_width) {
  std::vector<int> x(text.size() + 1, 0);
  int pen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    x[i] = pen;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      x[i + 1] = pen;
      pen += mask_width >= 0 ? mask_width : Width(c);
      ++i;
      continue;
    }
    pen += mask_width >= 0 ? mask_width : Width(c);
  }
  x[text.size()] = pen;
  return x;
}

}  // namespace orvo
