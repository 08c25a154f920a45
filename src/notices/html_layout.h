#pragma once
// Laying out and painting the newsletter page: the document (html_document.h) with its
// styles (html_style.h) becomes a list of things to paint at places in page coordinates
// (0, 0 is the page's top-left corner, x to the right, y down), plus the link areas.
//
// What is laid out:
//   blocks    body, div, p, h1-h6, ul, ol, li (a bullet, or the number for <ol start>),
//             blockquote, center, hr, dl/dt/dd, section and the other HTML5 sections, each
//             with margin, border, padding, background, width (centred with margin auto)
//             and text-align; adjacent vertical margins of siblings collapse
//   inline    text (white space collapsed; lines broken at blanks and between CJK
//             characters), b/strong, i/em, u, s, small, big, span, font, a, br, img
//   tables    a table is laid out as rows of blocks: each row's cells share the table's
//             width (a cell's own width, in px or %, first; colspan counts as that many
//             shares), cellspacing and cellpadding, the row as high as its highest cell,
//             valign top, middle or bottom, backgrounds of table, row and cell, and a
//             grey frame around each cell with <table border>; columns are not lined up
//             across rows
//   pictures  <img> at its width and height (attributes or style), else at the picture's
//             own size once it has arrived; never wider than the space it is in
//
// Not laid out: floats and positioning, <pre>'s own line breaks, column alignment across
// table rows, background pictures, and everything html_document.h drops.
#include <map>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/font.h"
#include "platform/geometry.h"
#include "graphics/png_image.h"

namespace orvo {

struct HtmlDocument;
struct HtmlNode;

struct HtmlPaintItem {
  enum class Kind { kFill, kText, kPicture };
  Kind kind = Kind::kFill;
  Rect rect;              // page coordinates; a text's top-left is where its cell starts
  TColor color = clNone;  // fills
  int font = -1;          // texts: index into HtmlLayout::fonts
  std::string text;
  std::string picture;  // pictures: the absolute address
};

struct HtmlLink {
  Rect rect;
  std::string href;  // absolute (resolved against the page's address)
};

struct HtmlLayout {
  int width = 0;                // the width laid out for
  int height = 0;               // the page's height
  TColor background = clWhite;  // the body's, filling the whole view
  std::vector<Font> fonts;
  std::vector<HtmlPaintItem> items;  // in painting order
  std::vector<HtmlLink> links;

  // The link under a point (page coordinates); empty when none.
  std::string LinkAt(Point p) const;
};

// The pictures the page shows, by absolute address: the decoded picture once it has
// arrived (an empty one until then, and for good when it failed).
using HtmlPictures = std::map<std::string, PngImage>;

struct HtmlLayoutOptions {
  // The page's own address: links and pictures are resolved against it.
  std::string base_url;
  // The news window's preparation of the body: margin 0 and no border, whatever the page
  // says (the page area scrolls with the toolkit's bar, not the body's own).
  bool plain_body = true;
};

// Lays the body out at `width` pixels. Needs the text back end (platform/raster.h). A
// document without a body gives an empty layout.
HtmlLayout LayoutHtml(const HtmlDocument& document, int width, const HtmlPictures& pictures,
                      const HtmlLayoutOptions& options);

// The absolute addresses of the pictures the body shows (hidden parts left out), once
// each, in page order.
std::vector<std::string> HtmlPictureAddresses(const HtmlDocument& document,
                                              const std::string& base_url);

// Paints the part of the page that falls into `canvas`'s clip, the page's top-left at
// `origin` (canvas coordinates): the background, then the items.
void PaintHtml(const HtmlLayout& layout, const HtmlPictures& pictures, Canvas& canvas,
               Point origin);

}  // namespace orvo
