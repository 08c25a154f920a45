// Blocks and boxes of the page layout, and the entry points.
#include <algorithm>
#include <array>

#include "notices/html_document.h"
#include "notices/html_layouter.h"
#include "notices/web_address.h"

namespace orvo {
namespace html {
namespace {

constexpr std::array<std::string_view, 37> kBlockTags = {
    "address", "article", "aside", "blockquote", "body",     "center",     "dd",     "details",
    "dialog",  "div",     "dl",    "dt",         "fieldset", "figcaption", "figure", "footer",
    "form",    "h1",      "h2",    "h3",         "h4",       "h5",         "h6",     "header",
    "hr",      "li",      "main",  "nav",        "ol",       "p",          "pre",    "section",
    "summary", "table",   "ul",    "tr",         "td"};

bool IsBlockTag(std::string_view tag) {
  for (std::string_view t : kBlockTags) {
    if (t == tag) return true;
  }
  return tag == "th" || tag == "tbody" || tag == "thead" || tag == "tfoot" || tag == "caption" ||
         tag == "legend" || tag == "hgroup";
}

int Horizontal(const HtmlStyle& s) {
  return s.border[kLeft].width + s.border[kRight].width + s.padding[kLeft] + s.padding[kRight];
}
int Vertical(const HtmlStyle& s) {
  return s.border[kTop].width + s.border[kBottom].width + s.padding[kTop] + s.padding[kBottom];
}

}  // namespace

bool InlineRun::Empty() const {
  for (const Atom& a : atoms) {
    if (a.kind != Atom::Kind::kSpace) return false;
  }
  return true;
}

Layouter::Layouter(const HtmlPictures& pictures, const HtmlLayoutOptions& options)
    : pictures_(pictures), options_(options) {}

size_t Layouter::AddFill(const Rect& r, TColor color) {
  HtmlPaintItem item;
  item.kind = HtmlPaintItem::Kind::kFill;
  item.rect = r;
  item.color = color;
  out_.items.push_back(std::move(item));
  return out_.items.size() - 1;
}

bool Layouter::IsBlockLevel(const HtmlNode& node) {
  if (node.kind != HtmlNode::Kind::kElement) return false;
  if (IsBlockTag(node.tag)) return true;
  if (node.tag == "img" || node.tag == "br") return false;
  // An inline element holding a block (<a><div>...</div></a>) is laid out as a block.
  const auto known = block_level_.find(&node);
  if (known != block_level_.end()) return known->second;
  bool block = false;
  for (const auto& child : node.children) {
    if (IsBlockLevel(*child)) {
      block = true;
      break;
    }
  }
  block_level_[&node] = block;
  return block;
}

const std::string* Layouter::LinkOf(const HtmlNode& element, const std::string* outer) {
  if (element.tag != "a") return outer;
  const std::string* href = element.Attribute("href");
  if (!href) return outer;
  std::string resolved = ResolveUrl(options_.base_url, *href);
  if (resolved.empty()) return outer;
  hrefs_.push_back(std::move(resolved));
  return &hrefs_.back();
}

Box Layouter::LayoutBox(const HtmlNode& node, const HtmlStyle& style, int x, int y, int width,
                        const std::string* link) {
  Box box;
  box.items_begin = out_.items.size();
  box.links_begin = out_.links.size();
  if (style.background != clNone) box.background = AddFill({}, style.background);
  const int cx = x + style.border[kLeft].width + style.padding[kLeft];
  const int cy = y + style.border[kTop].width + style.padding[kTop];
  const int cw = std::max(0, width - Horizontal(style));
  int content = 0;
  if (node.tag == "table") {
    content = LayoutTableContent(node, style, cx, cy, cw, link);
  } else if (node.tag != "hr") {
    content = LayoutContent(node, style, cx, cy, cw, link);
  }
  if (style.height && style.height->unit != CssLength::Unit::kPercent) {
    const int wanted = style.height->Resolve(0, style.font_px) -
                       (node.tag == "td" || node.tag == "th" ? Vertical(style) : 0);
    content = std::max(content, std::min(wanted, 20000));
  }
  const int height = content + Vertical(style);
  if (box.background != kNone) out_.items[box.background].rect = RectOfSize(x, y, width, height);
  const std::array<Rect, 4> sides = {
      RectOfSize(x, y, width, style.border[kTop].width),
      RectOfSize(x + width - style.border[kRight].width, y, style.border[kRight].width, height),
      RectOfSize(x, y + height - style.border[kBottom].width, width, style.border[kBottom].width),
      RectOfSize(x, y, style.border[kLeft].width, height)};
  for (int s = 0; s < 4; ++s) {
    if (style.border[s].width > 0 && style.border[s].color != clNone) {
      box.borders[s] = AddFill(sides[s], style.border[s].color);
    }
  }
  box.height = height;
  box.items_end = out_.items.size();
  box.links_end = out_.links.size();
  return box;
}

void Layouter::Stretch(const Box& box, int height, int content_dy) {
  const int grow = height - box.height;
  for (size_t i = box.items_begin; i < box.items_end; ++i) {
    Rect& r = out_.items[i].rect;
    if (i == box.background || i == box.borders[kTop] || i == box.borders[kLeft] ||
        i == box.borders[kRight]) {
      if (i != box.borders[kTop]) r.bottom += grow;
    } else if (i == box.borders[kBottom]) {
      r = r.Offset(0, grow);
    } else {
      r = r.Offset(0, content_dy);
    }
  }
  for (size_t i = box.links_begin; i < box.links_end; ++i) {
    out_.links[i].rect = out_.links[i].rect.Offset(0, content_dy);
  }
}

int Layouter::LayoutContent(const HtmlNode& node, const HtmlStyle& style, int x, int y, int width,
                            const std::string* link) {
  int cursor = y;
  int pending_margin = 0;
  bool first_block = true;
  InlineRun run;
  const auto flush = [&] {
    if (!run.Empty()) {
      cursor += pending_margin;
      pending_margin = 0;
      cursor += LayoutLines(run, style, x, cursor, width);
      first_block = false;
    }
    run = InlineRun();
  };
  const bool ordered = node.tag == "ol";
  int number = 1;
  if (ordered) number = std::clamp(node.IntegerAttribute("start").value_or(1), -1000000, 1000000);
  for (const auto& child_ptr : node.children) {
    const HtmlNode& child = *child_ptr;
    if (!IsBlockLevel(child)) {
      CollectInline(child, style, width, link, run);
      continue;
    }
    const HtmlStyle cs = ComputeStyle(child, style);
    if (cs.hidden) continue;
    flush();
    // Sibling margins collapse into the larger one.
    cursor += first_block ? cs.margin[kTop] : std::max(pending_margin, cs.margin[kTop]);
    pending_margin = 0;
    first_block = false;
    const int avail = std::max(0, width - cs.margin[kLeft] - cs.margin[kRight]);
    int box_width = avail;
    if (cs.width) {
      const int wanted = cs.width->Resolve(width, cs.font_px);
      box_width = std::clamp(child.tag == "table" ? wanted : wanted + Horizontal(cs), 0, avail);
    }
    int box_x = x + cs.margin[kLeft];
    if (cs.center_box) box_x += (avail - box_width) / 2;
    if (cs.right_box) box_x += avail - box_width;
    std::optional<int> baseline;
    std::optional<int>* outer_probe = first_baseline;
    const bool list_item = child.tag == "li";
    if (list_item) first_baseline = &baseline;
    const Box box = LayoutBox(child, cs, box_x, cursor, box_width, LinkOf(child, link));
    first_baseline = outer_probe;
    if (list_item) {
      const std::string marker = ordered ? std::to_string(number++) + "." : "\xE2\x80\xA2";
      if (!cs.list_none) {
        const int font = FontIndex(cs);
        const FontInfo& info = Info(font);
        const int top = baseline ? *baseline - info.metrics.ascent : cursor + cs.padding[kTop];
        const int marker_width = TextWidth(font, marker);
        HtmlPaintItem item;
        item.kind = HtmlPaintItem::Kind::kText;
        item.font = font;
        item.text = marker;
        item.rect = RectOfSize(box_x - marker_width - std::max(6, cs.font_px / 2), top,
                               marker_width, info.metrics.height);
        out_.items.push_back(std::move(item));
      }
    }
    if (first_baseline && !*first_baseline && baseline) *first_baseline = baseline;
    cursor += box.height;
    pending_margin = cs.margin[kBottom];
  }
  flush();
  cursor += pending_margin;
  return std::max(0, cursor - y);
}

HtmlLayout Layouter::Run(const HtmlDocument& document, int width) {
  out_.width = width;
  if (!document.body) return std::move(out_);
  const HtmlStyle root;
  HtmlStyle style = ComputeStyle(*document.body, root);
  if (options_.plain_body) {
    style.margin = {0, 0, 0, 0};
    style.border = {};
  }
  out_.background = style.background != clNone ? style.background : clWhite;
  style.background = clNone;
  if (style.hidden) return std::move(out_);
  const int box_width = std::max(0, width - style.margin[kLeft] - style.margin[kRight]);
  const Box body =
      LayoutBox(*document.body, style, style.margin[kLeft], style.margin[kTop], box_width, nullptr);
  out_.height = body.height + style.margin[kTop] + style.margin[kBottom];
  return std::move(out_);
}

}  // namespace html

std::string HtmlLayout::LinkAt(Point p) const {
  for (auto it = links.rbegin(); it != links.rend(); ++it) {
    if (it->rect.Contains(p)) return it->href;
  }
  return {};
}

HtmlLayout LayoutHtml(const HtmlDocument& document, int width, const HtmlPictures& pictures,
                      const HtmlLayoutOptions& options) {
  html::Layouter layouter(pictures, options);
  return layouter.Run(document, std::max(0, width));
}

namespace {

void CollectPictures(const HtmlNode& node, const HtmlStyle& parent, const std::string& base,
                     std::vector<std::string>& out) {
  if (node.kind != HtmlNode::Kind::kElement) return;
  const HtmlStyle style = ComputeStyle(node, parent);
  if (style.hidden) return;
  if (node.tag == "img") {
    const std::string* src = node.Attribute("src");
    const std::string address = src ? ResolveUrl(base, *src) : std::string();
    if (!address.empty() && SameSite(address, base) &&
        std::find(out.begin(), out.end(), address) == out.end()) {
      out.push_back(address);
    }
    return;
  }
  for (const auto& child : node.children) CollectPictures(*child, style, base, out);
}

}  // namespace

std::vector<std::string> HtmlPictureAddresses(const HtmlDocument& document,
                                              const std::string& base_url) {
  std::vector<std::string> out;
  if (document.body) CollectPictures(*document.body, HtmlStyle(), base_url, out);
  return out;
}

}  // namespace orvo
