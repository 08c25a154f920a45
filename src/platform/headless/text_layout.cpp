// The portable DrawText layout. One pass over the paragraphs places each line as soon as
// it is broken, because the rule for the last visible line (it takes the rest of its
// paragraph and ends in an ellipsis) depends on where the line falls.
#include "platform/headless/text_layout.h"

#include <algorithm>

#include "platform/text_format.h"

namespace orvo::os::headless {
namespace {

struct Char {
  char32_t c;
  bool underlined;
};
using Run = std::vector<Char>;

Run ApplyPrefixes(const std::u32string& text, uint32_t format) {
  Run out;
  out.reserve(text.size());
  const bool prefixes = (format & kDtNoPrefix) == 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c == U'\t' && (format & kDtExpandTabs) == 0) {
      out.push_back({U' ', false});
    } else if (prefixes && c == U'&') {
      if (i + 1 >= text.size()) break;  // a lone trailing "&" shows nothing
      const char32_t next = text[++i];
      out.push_back({next, next != U'&' && (format & kDtHidePrefix) == 0});
    } else {
      out.push_back({c, false});
    }
  }
  return out;
}

std::vector<Run> Paragraphs(const Run& chars, uint32_t format) {
  std::vector<Run> paragraphs(1);
  const bool single = (format & kDtSingleLine) != 0;
  for (size_t i = 0; i < chars.size(); ++i) {
    const char32_t c = chars[i].c;
    if (c == U'\r' || c == U'\n') {
      if (single) continue;
      if (c == U'\r' && i + 1 < chars.size() && chars[i + 1].c == U'\n') ++i;
      paragraphs.emplace_back();
      continue;
    }
    paragraphs.back().push_back(chars[i]);
  }
  return paragraphs;
}

class Measure {
 public:
  Measure(const LayoutMetrics& metrics, uint32_t format)
      : metrics_(metrics),
        tab_((format & kDtExpandTabs) ? 8 * std::max(1, metrics.average_width) : 0) {}
  int Advance(char32_t c, int x) const {
    if (c == U'\t' && tab_ > 0) return (x / tab_ + 1) * tab_ - x;
    return metrics_.advance(c);
  }
  int Width(const Run& run, size_t from, size_t to) const {
    int x = 0;
    for (size_t i = from; i < to; ++i) x += Advance(run[i].c, x);
    return x;
  }

 private:
  const LayoutMetrics& metrics_;
  int tab_;
};

bool IsSpace(char32_t c) { return c == U' ' || c == U'\t'; }

// The end of the next line of `run` starting at `start` within `width`, and where the line
// after it starts.
void BreakLine(const Run& run, size_t start, int width, bool edit_control, const Measure& m,
               size_t* end, size_t* next) {
  int x = 0;
  size_t last_break = start;  // start of the word after the last space run
  size_t word_end = start;    // end of the line if broken at last_break
  size_t i = start;
  while (i < run.size()) {
    const char32_t c = run[i].c;
    if (IsSpace(c)) {
      word_end = i;
      while (i < run.size() && IsSpace(run[i].c)) x += m.Advance(run[i++].c, x);
      last_break = i;
      continue;
    }
    const int advance = m.Advance(c, x);
    if (x + advance > width && i > start) {
      if (last_break > start) {
        *end = word_end;
        *next = last_break;
        return;
      }
      if (edit_control) {
        *end = *next = i;
        return;
      }
      // One word longer than the line: it stays whole and overflows.
      while (i < run.size() && !IsSpace(run[i].c)) ++i;
      *end = i;
      while (i < run.size() && IsSpace(run[i].c)) ++i;
      *next = i;
      return;
    }
    x += advance;
    ++i;
  }
  *end = *next = run.size();
}

// The run cut so that it and "..." fit `width`.
Run Ellipsize(const Run& run, int width, const Measure& m) {
  if (m.Width(run, 0, run.size()) <= width) return run;
  const Run dots(3, Char{U'.', false});
  const int dots_width = m.Width(dots, 0, 3);
  Run out;
  int x = 0;
  for (const Char& ch : run) {
    const int advance = m.Advance(ch.c, x);
    if (x + advance + dots_width > width) break;
    out.push_back(ch);
    x += advance;
  }
  out.insert(out.end(), dots.begin(), dots.end());
  return out;
}

}  // namespace

std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    char32_t c = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
    bool ok = extra >= 0 && i + extra < s.size() + (extra == 0 ? 1 : 0);
    for (int k = 1; ok && k <= extra; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      ok = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    if (!ok || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(c);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

TextLayout LayoutText(const std::u32string& text, uint32_t format, const TextBox& box,
                      const LayoutMetrics& metrics) {
  TextLayout layout;
  layout.box = box;
  const int lh = metrics.line_height;
  const bool single = (format & kDtSingleLine) != 0;
  const bool calc = (format & kDtCalcRect) != 0;
  if (text.empty()) {
    if (calc) {
      layout.box.right = box.left;
      layout.box.bottom = box.top + (single ? lh : 0);
    }
    layout.height = single ? lh : 0;
    return layout;
  }
  const bool wrap = !single && (format & kDtWordBreak) != 0;
  const bool edit = (format & kDtEditControl) != 0;
  const bool ellipsis = (format & kDtEndEllipsis) != 0;
  // A measurement is not limited by the box's bottom.
  const bool clipped = (format & kDtNoClip) == 0 && !calc;
  const int width = box.right - box.left;
  const Measure m(metrics, format);

  int y = box.top;
  int max_width = 0;
  bool stop = false;
  for (const Run& paragraph : Paragraphs(ApplyPrefixes(text, format), format)) {
    size_t start = 0;
    do {
      const bool last_line = clipped && y + (edit ? 2 * lh - 1 : lh) > box.bottom;
      Run line;
      if (wrap && !(last_line && ellipsis)) {
        size_t end = 0, next = 0;
        BreakLine(paragraph, start, width, edit, m, &end, &next);
        line.assign(paragraph.begin() + static_cast<long>(start),
                    paragraph.begin() + static_cast<long>(end));
        start = next;
      } else {
        line.assign(paragraph.begin() + static_cast<long>(start), paragraph.end());
        start = paragraph.size();
        if (ellipsis) line = Ellipsize(line, width, m);
      }
      LaidLine laid;
      laid.width = m.Width(line, 0, line.size());
      max_width = std::max(max_width, laid.width);
      laid.x = box.left;
      if (format & kDtCenter) laid.x = (box.left + box.right - laid.width) / 2;
      if (format & kDtRight) laid.x = box.right - laid.width;
      if (single && (format & kDtVCenter)) y = box.top + (box.bottom - box.top - lh) / 2;
      if (single && (format & kDtBottom)) y = box.bottom - lh;
      laid.y = y;
      int x = 0;
      for (const Char& ch : line) {
        laid.glyphs.push_back({ch.c, x, ch.underlined});
        x += m.Advance(ch.c, x);
      }
      layout.lines.push_back(std::move(laid));
      y += lh;
      stop = last_line;
    } while (!stop && start < paragraph.size());
    if (stop) break;
  }
  layout.height = y - box.top;
  if (calc) {
    layout.box.right = box.left + max_width;
    layout.box.bottom = y;
  }
  return layout;
}

}  // namespace orvo::os::headless
