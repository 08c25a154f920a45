#pragma once
// The layout engine behind LayoutHtml, shared by its three files: blocks and boxes
// (html_layout.cpp), inline runs and line breaking (html_inline.cpp) and tables
// (html_table.cpp). Not for use outside the page view.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "notices/html_layout.h"
#include "notices/html_style.h"
#include "platform/raster.h"

namespace orvo::html {

inline constexpr size_t kNone = static_cast<size_t>(-1);

// What a laid-out box left in the layout, so that a table row can stretch its cells to
// the row's height and move their content for vertical alignment.
struct Box {
  int height = 0;
  size_t items_begin = 0, items_end = 0;
  size_t links_begin = 0, links_end = 0;
  size_t background = kNone;
  size_t borders[4] = {kNone, kNone, kNone, kNone};  // top, right, bottom, left
};

// One piece of an inline run: a word (no break inside), a collapsed blank, a forced line
// break or a picture.
struct Atom {
  enum class Kind { kWord, kSpace, kBreak, kPicture };
  Kind kind = Kind::kWord;
  std::string text;
  int font = -1;
  int width = 0;
  int height = 0;            // pictures
  int line_height = 0;       // texts: the style's line height for this font
  bool break_before = true;  // a line may end just before this atom
  std::string picture;
  const std::string* link = nullptr;
};

struct InlineRun {
  std::vector<Atom> atoms;
  bool after_blank = true;  // collapses blanks, and drops them at the run's start
  bool can_break = true;    // a line may end before the next word
  bool Empty() const;
};

struct FontInfo {
  os::FontSpec spec;
  os::FontMetrics metrics;
  std::unordered_map<std::string, int> widths;
};

class Layouter {
 public:
  Layouter(const HtmlPictures& pictures, const HtmlLayoutOptions& options);
  HtmlLayout Run(const HtmlDocument& document, int width);

  // --- blocks (html_layout.cpp) ---
  Box LayoutBox(const HtmlNode& node, const HtmlStyle& style, int x, int y, int width,
                const std::string* link);
  int LayoutContent(const HtmlNode& node, const HtmlStyle& style, int x, int y, int width,
                    const std::string* link);
  // Makes a laid-out box `height` high and moves its content down by `content_dy`.
  void Stretch(const Box& box, int height, int content_dy);
  bool IsBlockLevel(const HtmlNode& node);
  // The link an <a href> starts, else the one it is inside of.
  const std::string* LinkOf(const HtmlNode& element, const std::string* outer);
  size_t AddFill(const Rect& r, TColor color);

  // --- inline (html_inline.cpp) ---
  void CollectInline(const HtmlNode& node, const HtmlStyle& style, int width,
                     const std::string* link, InlineRun& run);
  // Lays the run's lines out from y; returns their height.
  int LayoutLines(InlineRun& run, const HtmlStyle& block_style, int x, int y, int width);
  int FontIndex(const HtmlStyle& style);
  const FontInfo& Info(int font) const { return fonts_[static_cast<size_t>(font)]; }
  int TextWidth(int font, std::string_view text);

  // --- tables (html_table.cpp) ---
  int LayoutTableContent(const HtmlNode& table, const HtmlStyle& style, int x, int y, int width,
                         const std::string* link);

  HtmlLayout& out() { return out_; }
  // Set while a list item is laid out: the first line's baseline lands here.
  std::optional<int>* first_baseline = nullptr;

 private:
  void AddText(const HtmlNode& text, const HtmlStyle& style, const std::string* link,
               InlineRun& run);
  void AddPicture(const HtmlNode& img, const HtmlStyle& style, int width, const std::string* link,
                  InlineRun& run);
  void EmitLine(const std::vector<Atom*>& line, const HtmlStyle& block_style, int x, int y,
                int width, int& height);

  const HtmlPictures& pictures_;
  const HtmlLayoutOptions& options_;
  HtmlLayout out_;
  std::vector<FontInfo> fonts_;
  std::deque<std::string> hrefs_;  // stable addresses for Atom::link
  std::unordered_map<const HtmlNode*, bool> block_level_;
};

}  // namespace orvo::html
