#pragma once
// The styles the page view understands, and how an element gets its style: the built-in
// defaults of each element (what a browser's own style sheet gives headings, paragraphs,
// lists, links, tables), then the element's presentational attributes (bgcolor, align,
// width, <font color size face>, ...), then its `style` attribute. There are no style
// sheets: <style> elements are dropped with the page's head, <link> is never fetched.
//
// The `style` attribute is read for these properties (anything else is ignored):
//
//   color, background-color, background (its colour only; never a picture)
//   font-size (px, pt, em, %, the keywords xx-small .. xx-large), font-weight, font-style,
//   font-family (the first family; serif, sans-serif and monospace map to Times New Roman,
//   Tahoma and Courier New), the font shorthand, line-height, text-decoration, text-align
//   margin, padding, border, border-width, border-color, border-style and the -top,
//   -right, -bottom, -left forms of all of them (lengths in px, pt or em; auto is 0)
//   width, height (px or %; a table cell's, a table's or a picture's), vertical-align
//   (top, middle, bottom in a table cell), display (none hides the element),
//   list-style and list-style-type (none: list items without a marker)
//
// Colours: #rgb, #rrggbb, rgb(), rgba() (fully transparent is no colour) and the CSS
// colour names of HTML 4 plus orange, the greys and transparent.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "graphics/color.h"
#include "graphics/font.h"

namespace orvo {

struct HtmlNode;

enum class TextAlign { kLeft, kCenter, kRight };
enum class VerticalAlign { kTop, kMiddle, kBottom };

// A length as written: pixels, a percentage of the containing width, or ems of the font.
struct CssLength {
  enum class Unit { kPx, kPercent, kEm };
  float value = 0;
  Unit unit = Unit::kPx;
  // Pixels, rounded, for a containing width and a font size in pixels.
  int Resolve(int reference, int font_px) const;
};

struct BorderSide {
  int width = 0;
  TColor color = clBlack;
};

// Sides in the order top, right, bottom, left.
enum Side { kTop, kRight, kBottom, kLeft };

struct HtmlStyle {
  // --- inherited by the element's content ---
  TColor color = clBlack;
  std::string face = "Tahoma";
  int font_px = 13;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  TextAlign align = TextAlign::kLeft;
  float line_height = 0;   // times the font size; 0: the font's own line height
  int line_px = 0;         // or a fixed line height in pixels when not 0
  bool list_none = false;  // list items without a marker

  // --- the element's own ---
  TColor background = clNone;
  std::array<int, 4> margin{};
  std::array<int, 4> padding{};
  std::array<BorderSide, 4> border{};
  std::optional<CssLength> width;
  std::optional<CssLength> height;
  VerticalAlign valign = VerticalAlign::kMiddle;
  bool hidden = false;
  // The box sits centred (margin-left and -right auto, <table align=center>) or at the
  // right (<table align=right>) of the space it is given, when it is narrower.
  bool center_box = false;
  bool right_box = false;

  Font MakeFont() const;
  // A style for the element's children: the inherited part, the rest at its defaults.
  HtmlStyle Inherited() const;
  int LineHeight(int font_line_height) const;
};

// The element's style, given its parent's (the root's parent is a default HtmlStyle).
// `cell_padding` is the padding the enclosing table gives its cells (-1: none given).
HtmlStyle ComputeStyle(const HtmlNode& element, const HtmlStyle& parent, int cell_padding = -1);

// Applies one `style` attribute to a style (exposed for the tests).
void ApplyStyleAttribute(std::string_view css, HtmlStyle& style, int parent_font_px);

std::optional<TColor> ParseCssColor(std::string_view text);
std::optional<CssLength> ParseCssLength(std::string_view text);

}  // namespace orvo
