// Inline runs: words, blanks, breaks and pictures gathered from the inline content of a
// block, broken into lines and placed on their baselines.
#include <algorithm>
#include <cmath>

#include "notices/html_document.h"
#include "notices/html_layouter.h"
#include "notices/web_address.h"

namespace orvo::html {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// The code point starting at s[i] and its length in bytes (a broken sequence is one byte).
char32_t CodePoint(std::string_view s, size_t i, size_t* length) {
  const auto b = static_cast<unsigned char>(s[i]);
  size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
  if (i + n > s.size()) n = 1;
  char32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
  for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  *length = n;
  return cp;
}

// Scripts written without blanks between words: a line may break around each character.
bool BreaksAround(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0x20000 && c <= 0x2FFFF);
}

// The size of a picture box: the width and height asked for (attributes or style), the
// picture's own where they are missing (keeping its proportions), never wider than the
// space the run has.
void PictureSize(const HtmlStyle& style, int container, const PngImage* natural, int* w, int* h) {
  const bool has_w = style.width.has_value();
  const bool has_h = style.height && style.height->unit != CssLength::Unit::kPercent;
  int width = has_w ? std::max(0, style.width->Resolve(container, style.font_px)) : 0;
  int height = has_h ? std::max(0, style.height->Resolve(0, style.font_px)) : 0;
  const bool known = natural && !natural->empty();
  if (known) {
    if (!has_w && !has_h) {
      width = natural->width();
      height = natural->height();
    } else if (!has_w) {
      width = static_cast<int>(std::lround(double(height) * natural->width() / natural->height()));
    } else if (!has_h) {
      height = static_cast<int>(std::lround(double(width) * natural->height() / natural->width()));
    }
  }
  width = std::min(width, 4096);
  height = std::min(height, 4096);
  if (container > 0 && width > container) {
    height = static_cast<int>(std::lround(double(height) * container / width));
    width = container;
  }
  *w = width;
  *h = height;
}

}  // namespace

int Layouter::FontIndex(const HtmlStyle& style) {
  const Font font = style.MakeFont();
  for (size_t i = 0; i < out_.fonts.size(); ++i) {
    if (out_.fonts[i] == font) return static_cast<int>(i);
  }
  out_.fonts.push_back(font);
  FontInfo info;
  info.spec = font.Spec();
  info.metrics = os::CurrentTextRenderer().Metrics(info.spec);
  fonts_.push_back(std::move(info));
  return static_cast<int>(out_.fonts.size() - 1);
}

int Layouter::TextWidth(int font, std::string_view text) {
  FontInfo& info = fonts_[static_cast<size_t>(font)];
  const auto known = info.widths.find(std::string(text));
  if (known != info.widths.end()) return known->second;
  int w = 0, h = 0;
  os::CurrentTextRenderer().Extent(info.spec, text, &w, &h);
  info.widths.emplace(std::string(text), w);
  return w;
}

void Layouter::AddText(const HtmlNode& text, const HtmlStyle& style, const std::string* link,
                       InlineRun& run) {
  const int font = FontIndex(style);
  const int line_height = style.LineHeight(Info(font).metrics.height);
  const std::string_view s = text.text;
  std::string word;
  bool word_breaks_before = run.can_break;
  const auto push_word = [&](bool breaks_after) {
    if (word.empty()) return;
    Atom a;
    a.kind = Atom::Kind::kWord;
    a.font = font;
    a.width = TextWidth(font, word);
    a.line_height = line_height;
    a.break_before = word_breaks_before;
    a.link = link;
    a.text = std::move(word);
    run.atoms.push_back(std::move(a));
    word.clear();
    word_breaks_before = breaks_after;
    run.after_blank = false;
  };
  for (size_t i = 0; i < s.size();) {
    if (IsBlank(s[i])) {
      push_word(true);
      if (!run.after_blank) {
        Atom a;
        a.kind = Atom::Kind::kSpace;
        a.font = font;
        a.text = " ";
        a.width = TextWidth(font, " ");
        a.line_height = line_height;
        a.link = link;
        run.atoms.push_back(std::move(a));
        run.after_blank = true;
      }
      word_breaks_before = true;
      ++i;
      continue;
    }
    size_t n = 1;
    const char32_t cp = CodePoint(s, i, &n);
    if (BreaksAround(cp)) {
      push_word(true);
      word.assign(s.substr(i, n));
      word_breaks_before = true;
      push_word(true);
    } else {
      word.append(s.substr(i, n));
    }
    i += n;
  }
  // A word that ends the text may go on in the next element ("<b>bold</b>er").
  push_word(false);
  run.can_break = word_breaks_before;
}

void Layouter::AddPicture(const HtmlNode& img, const HtmlStyle& style, int width,
                          const std::string* link, InlineRun& run) {
  Atom a;
  a.kind = Atom::Kind::kPicture;
  if (const std::string* src = img.Attribute("src"))
    a.picture = ResolveUrl(options_.base_url, *src);
  const auto found = pictures_.find(a.picture);
  PictureSize(style, width, found == pictures_.end() ? nullptr : &found->second, &a.width,
              &a.height);
  a.link = link;
  a.break_before = true;
  run.atoms.push_back(std::move(a));
  run.after_blank = false;
  run.can_break = true;
}

void Layouter::CollectInline(const HtmlNode& node, const HtmlStyle& style, int width,
                             const std::string* link, InlineRun& run) {
  if (node.kind == HtmlNode::Kind::kText) {
    AddText(node, style, link, run);
    return;
  }
  const HtmlStyle own = ComputeStyle(node, style);
  if (own.hidden) return;
  if (node.tag == "br") {
    Atom a;
    a.kind = Atom::Kind::kBreak;
    run.atoms.push_back(std::move(a));
    run.after_blank = true;
    run.can_break = true;
    return;
  }
  if (node.tag == "img") {
    AddPicture(node, own, width, link, run);
    return;
  }
  const std::string* inner = LinkOf(node, link);
  for (const auto& child : node.children) CollectInline(*child, own, width, inner, run);
}

int Layouter::LayoutLines(InlineRun& run, const HtmlStyle& block_style, int x, int y, int width) {
  int height = 0;
  std::vector<Atom*> line;
  auto& atoms = run.atoms;
  size_t i = 0;
  while (i < atoms.size()) {
    line.clear();
    int used = 0;
    bool forced = false;
    while (i < atoms.size() && atoms[i].kind == Atom::Kind::kSpace) ++i;
    while (i < atoms.size()) {
      Atom& a = atoms[i];
      if (a.kind == Atom::Kind::kBreak) {
        ++i;
        forced = true;
        break;
      }
      if (a.kind == Atom::Kind::kSpace) {
        line.push_back(&a);
        used += a.width;
        ++i;
        continue;
      }
      // A segment: atoms with no break opportunity between them.
      size_t j = i + 1;
      int segment = a.width;
      while (j < atoms.size() &&
             (atoms[j].kind == Atom::Kind::kWord || atoms[j].kind == Atom::Kind::kPicture) &&
             !atoms[j].break_before) {
        segment += atoms[j].width;
        ++j;
      }
      const bool has_content = std::any_of(
          line.begin(), line.end(), [](const Atom* p) { return p->kind != Atom::Kind::kSpace; });
      if (has_content && used + segment > width) break;
      for (size_t k = i; k < j; ++k) line.push_back(&atoms[k]);
      used += segment;
      i = j;
    }
    while (!line.empty() && line.back()->kind == Atom::Kind::kSpace) line.pop_back();
    if (line.empty() && !forced) continue;
    EmitLine(line, block_style, x, y + height, width, height);
  }
  return height;
}

void Layouter::EmitLine(const std::vector<Atom*>& line, const HtmlStyle& block_style, int x, int y,
                        int width, int& height) {
  // Every line holds the block's own font (the strut), so empty lines and lines of small
  // text keep the block's line height.
  const int strut_font = FontIndex(block_style);
  const os::FontMetrics& strut = Info(strut_font).metrics;
  const auto half_leading = [](int line_height, const os::FontMetrics& m) {
    return (line_height - m.height) / 2;
  };
  const int strut_height = block_style.LineHeight(strut.height);
  int above = strut.ascent + half_leading(strut_height, strut);
  int below = strut_height - above;
  int line_width = 0;
  for (const Atom* a : line) {
    line_width += a->width;
    if (a->kind == Atom::Kind::kPicture) {
      above = std::max(above, a->height);
      continue;
    }
    const os::FontMetrics& m = Info(a->font).metrics;
    const int top = m.ascent + half_leading(a->line_height, m);
    above = std::max(above, top);
    below = std::max(below, a->line_height - top);
  }
  const int baseline = y + above;
  const int line_height = above + below;
  if (first_baseline && !*first_baseline) *first_baseline = baseline;
  int pen = x;
  const int free = width - line_width;
  if (free > 0 && block_style.align == TextAlign::kCenter) pen += free / 2;
  if (free > 0 && block_style.align == TextAlign::kRight) pen += free;
  for (size_t k = 0; k < line.size();) {
    const Atom& a = *line[k];
    if (a.kind == Atom::Kind::kPicture) {
      HtmlPaintItem item;
      item.kind = HtmlPaintItem::Kind::kPicture;
      item.rect = RectOfSize(pen, baseline - a.height, a.width, a.height);
      item.picture = a.picture;
      if (a.link) out_.links.push_back({item.rect, *a.link});
      out_.items.push_back(std::move(item));
      pen += a.width;
      ++k;
      continue;
    }
    // Words and blanks of one font and one link are drawn as one text.
    HtmlPaintItem item;
    item.kind = HtmlPaintItem::Kind::kText;
    item.font = a.font;
    int run_width = 0;
    size_t e = k;
    while (e < line.size() && line[e]->kind != Atom::Kind::kPicture && line[e]->font == a.font &&
           line[e]->link == a.link) {
      item.text += line[e]->text;
      run_width += line[e]->width;
      ++e;
    }
    const os::FontMetrics& m = Info(a.font).metrics;
    item.rect = RectOfSize(pen, baseline - m.ascent, run_width, m.height);
    if (a.link) out_.links.push_back({RectOfSize(pen, y, run_width, line_height), *a.link});
    out_.items.push_back(std::move(item));
    pen += run_width;
    k = e;
  }
  height += line_height;
}

}  // namespace orvo::html
