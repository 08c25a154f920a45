// Element defaults, presentational attributes and the `style` attribute.
#include "notices/html_style.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "notices/html_document.h"

namespace orvo {
namespace {

constexpr TColor kLinkBlue = MakeColor(22, 149, 230);
constexpr TColor kRuleGrey = MakeColor(200, 204, 210);
constexpr int kMinFontPx = 6;
constexpr int kMaxFontPx = 96;
constexpr int kMaxBoxPx = 2000;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() &&
         (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r')) {
    s.remove_prefix(1);
  }
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

// Blank-separated tokens; a parenthesised group (rgb(1, 2, 3)) stays one token.
std::vector<std::string_view> Tokens(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
    if (i >= s.size()) break;
    const size_t start = i;
    int depth = 0;
    while (i < s.size() &&
           (depth > 0 || (s[i] != ' ' && s[i] != '\t' && s[i] != '\n' && s[i] != '\r'))) {
      if (s[i] == '(') ++depth;
      if (s[i] == ')' && depth > 0) --depth;
      ++i;
    }
    out.push_back(s.substr(start, i - start));
  }
  return out;
}

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

struct NamedColor {
  std::string_view name;
  TColor color;
};
constexpr NamedColor kNames[] = {
    {"black", MakeColor(0, 0, 0)},           {"silver", MakeColor(192, 192, 192)},
    {"gray", MakeColor(128, 128, 128)},      {"grey", MakeColor(128, 128, 128)},
    {"white", MakeColor(255, 255, 255)},     {"maroon", MakeColor(128, 0, 0)},
    {"red", MakeColor(255, 0, 0)},           {"purple", MakeColor(128, 0, 128)},
    {"fuchsia", MakeColor(255, 0, 255)},     {"green", MakeColor(0, 128, 0)},
    {"lime", MakeColor(0, 255, 0)},          {"olive", MakeColor(128, 128, 0)},
    {"yellow", MakeColor(255, 255, 0)},      {"navy", MakeColor(0, 0, 128)},
    {"blue", MakeColor(0, 0, 255)},          {"teal", MakeColor(0, 128, 128)},
    {"aqua", MakeColor(0, 255, 255)},        {"orange", MakeColor(255, 165, 0)},
    {"lightgray", MakeColor(211, 211, 211)}, {"lightgrey", MakeColor(211, 211, 211)},
    {"darkgray", MakeColor(169, 169, 169)},  {"darkgrey", MakeColor(169, 169, 169)},
    {"gainsboro", MakeColor(220, 220, 220)}, {"whitesmoke", MakeColor(245, 245, 245)},
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<double> Number(std::string_view s) {
  if (s.empty() || s.size() > 32) return std::nullopt;
  const std::string text(s);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

// An integer attribute value as browsers read it: leading digits, "px" allowed.
std::optional<int> AttributeInt(const HtmlNode& node, std::string_view name) {
  const std::string* value = node.Attribute(name);
  if (!value) return std::nullopt;
  const std::string_view v = Trim(*value);
  size_t i = 0;
  int n = 0;
  while (i < v.size() && v[i] >= '0' && v[i] <= '9' && n < 100000) n = n * 10 + (v[i++] - '0');
  if (i == 0) return std::nullopt;
  return n;
}

std::optional<CssLength> AttributeLength(const HtmlNode& node, std::string_view name) {
  const std::string* value = node.Attribute(name);
  if (!value) return std::nullopt;
  const std::string_view v = Trim(*value);
  if (!v.empty() && v.back() == '%') {
    if (auto n = Number(v.substr(0, v.size() - 1)); n && *n >= 0) {
      return CssLength{static_cast<float>(*n), CssLength::Unit::kPercent};
    }
    return std::nullopt;
  }
  if (auto n = AttributeInt(node, name))
    return CssLength{static_cast<float>(*n), CssLength::Unit::kPx};
  return std::nullopt;
}

int FontSizeKeyword(std::string_view v, int parent_px) {
  if (v == "xx-small") return 9;
  if (v == "x-small") return 10;
  if (v == "small") return 13;
  if (v == "medium") return 16;
  if (v == "large") return 18;
  if (v == "x-large") return 24;
  if (v == "xx-large") return 32;
  if (v == "smaller") return parent_px * 5 / 6;
  if (v == "larger") return parent_px * 6 / 5;
  return 0;
}

void SetFontSize(std::string_view value, HtmlStyle& style, int parent_px) {
  if (const int k = FontSizeKeyword(value, parent_px)) {
    style.font_px = Clamp(k, kMinFontPx, kMaxFontPx);
    return;
  }
  if (auto length = ParseCssLength(value)) {
    const int px = length->unit == CssLength::Unit::kPx ? length->Resolve(0, parent_px)
                                                        : length->Resolve(parent_px, parent_px);
    if (px > 0) style.font_px = Clamp(px, kMinFontPx, kMaxFontPx);
  }
}

std::string FirstFamily(std::string_view value) {
  const size_t comma = value.find(',');
  std::string_view first = Trim(value.substr(0, comma));
  if (first.size() >= 2 && (first.front() == '"' || first.front() == '\'') &&
      first.back() == first.front()) {
    first = Trim(first.substr(1, first.size() - 2));
  }
  const std::string lower = Lower(first);
  if (lower == "sans-serif") return "Tahoma";
  if (lower == "serif") return "Times New Roman";
  if (lower == "monospace") return "Courier New";
  return std::string(first);
}

void SetWeight(std::string_view v, HtmlStyle& style) {
  if (v == "bold" || v == "bolder") {
    style.bold = true;
  } else if (v == "normal" || v == "lighter") {
    style.bold = false;
  } else if (auto n = Number(v)) {
    style.bold = *n >= 600;
  }
}

// The font shorthand: [style] [weight] size[/line-height] family[, family...].
void SetFontShorthand(std::string_view value, HtmlStyle& style, int parent_px) {
  const auto tokens = Tokens(value);
  for (size_t i = 0; i < tokens.size(); ++i) {
    const std::string t = Lower(tokens[i]);
    if (t == "italic" || t == "oblique") {
      style.italic = true;
    } else if (t == "bold" || t == "bolder" || (t.size() == 3 && t[1] == '0' && t[2] == '0')) {
      SetWeight(t, style);
    } else if (t == "normal") {
      continue;
    } else {
      const size_t slash = t.find('/');
      SetFontSize(std::string_view(t).substr(0, slash), style, parent_px);
      if (i + 1 < tokens.size()) {
        const std::string_view rest =
            value.substr(static_cast<size_t>(tokens[i + 1].data() - value.data()));
        style.face = FirstFamily(rest);
      }
      return;
    }
  }
}

void SetLineHeight(std::string_view v, HtmlStyle& style) {
  style.line_height = 0;
  style.line_px = 0;
  if (v == "normal") return;
  if (auto n = Number(v); n && *n > 0) {
    style.line_height = static_cast<float>(std::min(*n, 5.0));
  } else if (auto length = ParseCssLength(v)) {
    if (length->unit == CssLength::Unit::kPx) {
      style.line_px = Clamp(length->Resolve(0, style.font_px), 0, 5 * kMaxFontPx);
    } else {
      const float times =
          length->unit == CssLength::Unit::kPercent ? length->value / 100 : length->value;
      style.line_height = std::min(std::max(times, 0.0f), 5.0f);
    }
  }
}

int BoxLength(std::string_view v, int font_px) {
  if (v == "auto") return 0;
  auto length = ParseCssLength(v);
  if (!length || length->unit == CssLength::Unit::kPercent) return 0;
  return Clamp(length->Resolve(0, font_px), -kMaxBoxPx, kMaxBoxPx);
}

// margin / padding with one to four values.
void SetBoxSides(std::string_view value, std::array<int, 4>& sides, int font_px,
                 bool allow_negative) {
  const auto t = Tokens(value);
  if (t.empty() || t.size() > 4) return;
  int v[4];
  for (size_t i = 0; i < t.size(); ++i) {
    v[i] = BoxLength(Lower(t[i]), font_px);
    if (!allow_negative) v[i] = std::max(v[i], 0);
  }
  const int top = v[0];
  const int right = t.size() > 1 ? v[1] : top;
  const int bottom = t.size() > 2 ? v[2] : top;
  const int left = t.size() > 3 ? v[3] : right;
  sides = {top, right, bottom, left};
}

int BorderWidth(std::string_view v, int font_px) {
  if (v == "thin") return 1;
  if (v == "medium") return 3;
  if (v == "thick") return 5;
  return Clamp(BoxLength(v, font_px), 0, 50);
}

// "1px solid #ccc" in any order; a style of none or hidden gives no border.
void SetBorder(std::string_view value, BorderSide& side, int font_px) {
  BorderSide out;
  out.width = 3;
  bool none = false;
  for (std::string_view token : Tokens(value)) {
    const std::string t = Lower(token);
    if (t == "none" || t == "hidden") {
      none = true;
    } else if (t == "solid" || t == "dashed" || t == "dotted" || t == "double" || t == "groove" ||
               t == "ridge" || t == "inset" || t == "outset") {
      continue;
    } else if (auto color = ParseCssColor(t)) {
      out.color = *color;
    } else {
      out.width = BorderWidth(t, font_px);
    }
  }
  if (none) out.width = 0;
  side = out;
}

constexpr std::string_view kSideNames[4] = {"top", "right", "bottom", "left"};

// Declarations of a `style` attribute in order, names in lower case, !important dropped.
std::vector<std::pair<std::string, std::string>> Declarations(std::string_view css) {
  std::vector<std::pair<std::string, std::string>> out;
  size_t start = 0;
  while (start < css.size() && out.size() < 200) {
    size_t end = css.find(';', start);
    if (end == std::string_view::npos) end = css.size();
    const std::string_view item = css.substr(start, end - start);
    start = end + 1;
    const size_t colon = item.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view value = Trim(item.substr(colon + 1));
    const std::string lower_value = Lower(value);
    const size_t important = lower_value.find("!important");
    if (important != std::string::npos) value = Trim(value.substr(0, important));
    out.emplace_back(Lower(Trim(item.substr(0, colon))), std::string(value));
  }
  return out;
}

void ApplyDeclaration(const std::string& name, const std::string& raw, HtmlStyle& style) {
  const std::string value = Lower(raw);
  const int em = style.font_px;
  if (name == "color") {
    if (auto c = ParseCssColor(value)) style.color = *c;
  } else if (name == "background-color" || name == "background") {
    for (std::string_view token : Tokens(value)) {
      if (auto c = ParseCssColor(token)) style.background = *c;
      if (token == "none" || token == "transparent") style.background = clNone;
    }
  } else if (name == "font-weight") {
    SetWeight(value, style);
  } else if (name == "font-style") {
    style.italic = value == "italic" || value == "oblique";
  } else if (name == "font-family") {
    style.face = FirstFamily(raw);
  } else if (name == "line-height") {
    SetLineHeight(value, style);
  } else if (name == "text-decoration" || name == "text-decoration-line") {
    style.underline = value.find("underline") != std::string::npos;
    style.strike = value.find("line-through") != std::string::npos;
  } else if (name == "text-align") {
    if (value == "center")
      style.align = TextAlign::kCenter;
    else if (value == "right" || value == "end")
      style.align = TextAlign::kRight;
    else if (value == "left" || value == "start" || value == "justify")
      style.align = TextAlign::kLeft;
  } else if (name == "margin") {
    SetBoxSides(value, style.margin, em, true);
    const auto t = Tokens(value);
    if ((t.size() == 2 || t.size() == 3) && t[1] == "auto") style.center_box = true;
    if (t.size() == 4 && t[1] == "auto" && t[3] == "auto") style.center_box = true;
  } else if (name == "list-style" || name == "list-style-type") {
    style.list_none = value.find("none") != std::string::npos;
  } else if (name == "padding") {
    SetBoxSides(value, style.padding, em, false);
  } else if (name == "border") {
    BorderSide side;
    SetBorder(value, side, em);
    style.border = {side, side, side, side};
  } else if (name == "border-width") {
    for (BorderSide& side : style.border) side.width = BorderWidth(value, em);
  } else if (name == "border-color") {
    if (auto c = ParseCssColor(value)) {
      for (BorderSide& side : style.border) side.color = *c;
    }
  } else if (name == "border-style") {
    if (value == "none" || value == "hidden") {
      for (BorderSide& side : style.border) side.width = 0;
    }
  } else if (name == "width") {
    if (auto l = ParseCssLength(value)) style.width = l;
  } else if (name == "height") {
    if (auto l = ParseCssLength(value)) style.height = l;
  } else if (name == "vertical-align") {
    if (value == "top")
      style.valign = VerticalAlign::kTop;
    else if (value == "middle")
      style.valign = VerticalAlign::kMiddle;
    else if (value == "bottom")
      style.valign = VerticalAlign::kBottom;
  } else if (name == "display") {
    style.hidden = value == "none";
  } else {
    for (int s = 0; s < 4; ++s) {
      const std::string side(kSideNames[s]);
      if (name == "margin-" + side) {
        style.margin[s] = BoxLength(value, em);
      } else if (name == "padding-" + side) {
        style.padding[s] = std::max(0, BoxLength(value, em));
      } else if (name == "border-" + side) {
        SetBorder(value, style.border[s], em);
      } else if (name == "border-" + side + "-width") {
        style.border[s].width = BorderWidth(value, em);
      } else if (name == "border-" + side + "-color") {
        if (auto c = ParseCssColor(value)) style.border[s].color = *c;
      }
    }
  }
}

// <font size>: 1 to 7, or relative to 3 with a sign.
int FontElementSize(std::string_view v) {
  static constexpr int kPx[] = {10, 13, 16, 18, 24, 32, 48};
  v = Trim(v);
  if (v.empty()) return 0;
  int base = 0;
  if (v.front() == '+' || v.front() == '-') base = 3;
  const auto n = Number(v);
  if (!n) return 0;
  const int size = Clamp(base + static_cast<int>(*n), 1, 7);
  return kPx[size - 1];
}

struct ElementDefaults {
  std::string_view tag;
  float font_em = 0;    // 0: inherited size
  float margin_em = 0;  // top and bottom
  bool bold = false;
};
constexpr ElementDefaults kBlockDefaults[] = {
    {"h1", 2.0f, 0.67f, true}, {"h2", 1.5f, 0.83f, true},      {"h3", 1.17f, 1.0f, true},
    {"h4", 1.0f, 1.33f, true}, {"h5", 0.83f, 1.67f, true},     {"h6", 0.67f, 2.33f, true},
    {"p", 0, 1.0f, false},     {"blockquote", 0, 1.0f, false}, {"dl", 0, 1.0f, false},
    {"pre", 0, 1.0f, false},   {"figure", 0, 1.0f, false},
};

void ApplyElementDefaults(const HtmlNode& e, HtmlStyle& style, int parent_px, int cell_padding) {
  const std::string& t = e.tag;
  for (const ElementDefaults& d : kBlockDefaults) {
    if (d.tag != t) continue;
    if (d.font_em > 0)
      style.font_px =
          Clamp(static_cast<int>(std::lround(parent_px * d.font_em)), kMinFontPx, kMaxFontPx);
    const int m = static_cast<int>(std::lround(style.font_px * d.margin_em));
    style.margin[kTop] = style.margin[kBottom] = m;
    if (d.bold) style.bold = true;
  }
  if (t == "body") {
    style.margin = {8, 8, 8, 8};
  } else if (t == "ul" || t == "ol") {
    style.margin[kTop] = style.margin[kBottom] = style.font_px;
    style.padding[kLeft] = 40;
  } else if (t == "blockquote" || t == "figure") {
    style.margin[kLeft] = style.margin[kRight] = 40;
  } else if (t == "dd") {
    style.margin[kLeft] = 40;
  } else if (t == "b" || t == "strong" || t == "th" || t == "dt") {
    style.bold = true;
  } else if (t == "i" || t == "em" || t == "cite" || t == "var" || t == "dfn") {
    style.italic = true;
  } else if (t == "u" || t == "ins") {
    style.underline = true;
  } else if (t == "s" || t == "strike" || t == "del") {
    style.strike = true;
  } else if (t == "small") {
    style.font_px = Clamp(parent_px * 5 / 6, kMinFontPx, kMaxFontPx);
  } else if (t == "big") {
    style.font_px = Clamp(parent_px * 6 / 5, kMinFontPx, kMaxFontPx);
  } else if (t == "pre" || t == "code" || t == "tt" || t == "kbd" || t == "samp") {
    style.face = "Courier New";
  } else if (t == "center") {
    style.align = TextAlign::kCenter;
  } else if (t == "a" && e.Attribute("href")) {
    style.color = kLinkBlue;
    style.underline = true;
  } else if (t == "hr") {
    style.margin[kTop] = style.margin[kBottom] = 8;
    style.border[kTop] = {1, kRuleGrey};
  }
  if (t == "th") style.align = TextAlign::kCenter;
  if ((t == "td" || t == "th") && cell_padding >= 0)
    style.padding = {cell_padding, cell_padding, cell_padding, cell_padding};
}

void ApplyAttributes(const HtmlNode& e, HtmlStyle& style) {
  const std::string& t = e.tag;
  if (const std::string* align = e.Attribute("align"); align && t == "table") {
    const std::string a = Lower(Trim(*align));
    style.center_box = a == "center";
    style.right_box = a == "right";
  } else if (align && t != "img") {
    const std::string a = Lower(Trim(*align));
    if (a == "center" || a == "middle")
      style.align = TextAlign::kCenter;
    else if (a == "right")
      style.align = TextAlign::kRight;
    else if (a == "left" || a == "justify")
      style.align = TextAlign::kLeft;
  }
  if (const std::string* bg = e.Attribute("bgcolor")) {
    if (auto c = ParseCssColor(Lower(Trim(*bg)))) style.background = *c;
  }
  if (t == "body") {
    if (const std::string* text = e.Attribute("text")) {
      if (auto c = ParseCssColor(Lower(Trim(*text)))) style.color = *c;
    }
  }
  if (t == "font") {
    if (const std::string* color = e.Attribute("color")) {
      if (auto c = ParseCssColor(Lower(Trim(*color)))) style.color = *c;
    }
    if (const std::string* size = e.Attribute("size")) {
      if (const int px = FontElementSize(*size)) style.font_px = px;
    }
    if (const std::string* face = e.Attribute("face")) style.face = FirstFamily(*face);
  }
  if (t == "td" || t == "th" || t == "tr") {
    if (const std::string* valign = e.Attribute("valign")) {
      const std::string v = Lower(Trim(*valign));
      if (v == "top")
        style.valign = VerticalAlign::kTop;
      else if (v == "bottom")
        style.valign = VerticalAlign::kBottom;
      else if (v == "middle" || v == "center")
        style.valign = VerticalAlign::kMiddle;
    }
  }
  if (t == "td" || t == "th" || t == "table" || t == "img" || t == "hr") {
    if (auto w = AttributeLength(e, "width")) style.width = w;
    if (auto h = AttributeLength(e, "height")) style.height = h;
  }
  if (t == "hr") {
    if (auto size = AttributeInt(e, "size"); size && *size > 0)
      style.border[kTop].width = std::min(*size, 50);
    if (const std::string* color = e.Attribute("color")) {
      if (auto c = ParseCssColor(Lower(Trim(*color)))) style.border[kTop].color = *c;
    }
  }
  if (t == "table") {
    if (auto border = AttributeInt(e, "border"); border && *border > 0) {
      const BorderSide side{std::min(*border, 50), MakeColor(128, 128, 128)};
      style.border = {side, side, side, side};
    }
  }
}

}  // namespace

int CssLength::Resolve(int reference, int font_px) const {
  double px = value;
  if (unit == Unit::kPercent) px = value * reference / 100.0;
  if (unit == Unit::kEm) px = value * font_px;
  px = std::max(-1e6, std::min(px, 1e6));
  return static_cast<int>(std::lround(px));
}

Font HtmlStyle::MakeFont() const {
  Font f;
  f.name = face;
  f.height = -font_px;
  f.color = color;
  f.style = static_cast<uint8_t>((bold ? fsBold : 0) | (italic ? fsItalic : 0) |
                                 (underline ? fsUnderline : 0) | (strike ? fsStrikeOut : 0));
  return f;
}

HtmlStyle HtmlStyle::Inherited() const {
  HtmlStyle child;
  child.color = color;
  child.face = face;
  child.font_px = font_px;
  child.bold = bold;
  child.italic = italic;
  child.underline = underline;
  child.strike = strike;
  child.align = align;
  child.line_height = line_height;
  child.line_px = line_px;
  child.list_none = list_none;
  return child;
}

int HtmlStyle::LineHeight(int font_line_height) const {
  if (line_px > 0) return line_px;
  if (line_height > 0) return static_cast<int>(std::lround(line_height * font_px));
  return font_line_height;
}

std::optional<TColor> ParseCssColor(std::string_view text) {
  const std::string v = Lower(Trim(text));
  if (v.empty()) return std::nullopt;
  if (v[0] == '#') {
    const std::string_view hex = std::string_view(v).substr(1);
    int d[6];
    for (size_t i = 0; i < hex.size() && i < 6; ++i) {
      d[i] = HexDigit(hex[i]);
      if (d[i] < 0) return std::nullopt;
    }
    if (hex.size() == 3) return MakeColor(d[0] * 17, d[1] * 17, d[2] * 17);
    if (hex.size() == 6) return MakeColor(d[0] * 16 + d[1], d[2] * 16 + d[3], d[4] * 16 + d[5]);
    return std::nullopt;
  }
  if (v.rfind("rgb", 0) == 0) {
    const size_t open = v.find('('), close = v.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
      return std::nullopt;
    std::string inside = v.substr(open + 1, close - open - 1);
    std::replace(inside.begin(), inside.end(), ',', ' ');
    std::replace(inside.begin(), inside.end(), '/', ' ');
    const auto parts = Tokens(inside);
    if (parts.size() < 3) return std::nullopt;
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
      std::string_view p = parts[i];
      const bool percent = !p.empty() && p.back() == '%';
      if (percent) p.remove_suffix(1);
      const auto n = Number(p);
      if (!n) return std::nullopt;
      rgb[i] = Clamp(static_cast<int>(std::lround(percent ? *n * 2.55 : *n)), 0, 255);
    }
    if (parts.size() >= 4) {
      if (auto alpha = Number(parts[3]); alpha && *alpha <= 0) return clNone;
    }
    return MakeColor(rgb[0], rgb[1], rgb[2]);
  }
  if (v == "transparent") return clNone;
  for (const NamedColor& c : kNames) {
    if (c.name == v) return c.color;
  }
  return std::nullopt;
}

std::optional<CssLength> ParseCssLength(std::string_view text) {
  const std::string v = Lower(Trim(text));
  struct Suffix {
    std::string_view text;
    CssLength::Unit unit;
    float factor;
  };
  static constexpr Suffix kSuffixes[] = {{"px", CssLength::Unit::kPx, 1.0f},
                                         {"pt", CssLength::Unit::kPx, 96.0f / 72.0f},
                                         {"em", CssLength::Unit::kEm, 1.0f},
                                         {"rem", CssLength::Unit::kPx, 16.0f},
                                         {"%", CssLength::Unit::kPercent, 1.0f}};
  for (const Suffix& s : kSuffixes) {
    if (v.size() > s.text.size() &&
        v.compare(v.size() - s.text.size(), s.text.size(), s.text) == 0) {
      const std::string_view number = std::string_view(v).substr(0, v.size() - s.text.size());
      if (s.text == "em" && !number.empty() && number.back() == 'r') continue;  // "rem"
      if (auto n = Number(number)) return CssLength{static_cast<float>(*n * s.factor), s.unit};
      return std::nullopt;
    }
  }
  if (auto n = Number(v); n && *n == 0) return CssLength{0, CssLength::Unit::kPx};
  return std::nullopt;
}

void ApplyStyleAttribute(std::string_view css, HtmlStyle& style, int parent_font_px) {
  const auto declarations = Declarations(css);
  // The font's size first: lengths in em of the other declarations depend on it.
  for (const auto& [name, value] : declarations) {
    if (name == "font-size") SetFontSize(Lower(value), style, parent_font_px);
    if (name == "font") SetFontShorthand(value, style, parent_font_px);
  }
  bool left_auto = false, right_auto = false;
  for (const auto& [name, value] : declarations) {
    if (name != "font-size" && name != "font") ApplyDeclaration(name, value, style);
    if (name == "margin-left") left_auto = Lower(value) == "auto";
    if (name == "margin-right") right_auto = Lower(value) == "auto";
  }
  if (left_auto && right_auto) style.center_box = true;
}

HtmlStyle ComputeStyle(const HtmlNode& element, const HtmlStyle& parent, int cell_padding) {
  HtmlStyle style = parent.Inherited();
  ApplyElementDefaults(element, style, parent.font_px, cell_padding);
  ApplyAttributes(element, style);
  if (const std::string* css = element.Attribute("style")) {
    ApplyStyleAttribute(*css, style, parent.font_px);
  }
  return style;
}

}  // namespace orvo
