#pragma once
// The newsletter page as the news window shows it: parsed by libxml2's HTML parser (which
// recovers from broken markup the way browsers do and is fuzzed upstream) and copied into
// a small tree of our own that keeps only what the page view lays out. What can run or
// fetch on its own is dropped at this point: scripts, style sheets, frames, objects,
// embeds, forms' controls, SVG, MathML, templates and the whole head.
//
// Limits, so that a hostile page costs little: at most 1 MiB of input (the download
// refuses more), 20,000 nodes and 64 levels of nesting are kept; what lies beyond is left
// out.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo {

struct HtmlNode {
  enum class Kind { kElement, kText };
  Kind kind = Kind::kElement;
  std::string tag;   // element name in lower case
  std::string text;  // a text node's characters (UTF-8), white space as in the page
  std::vector<std::pair<std::string, std::string>> attributes;  // names in lower case
  std::vector<std::unique_ptr<HtmlNode>> children;

  // The attribute's value, or null.
  const std::string* Attribute(std::string_view name) const;
  // The attribute read as browsers read integers: blanks, a sign, digits, and whatever
  // follows them ignored ("3px" is 3). Null when it is absent, no digit leads, or the
  // number is beyond 32 bits.
  std::optional<int> IntegerAttribute(std::string_view name) const;
  bool IsElement(std::string_view name) const { return kind == Kind::kElement && tag == name; }
};

struct HtmlDocument {
  // The page's body element; null when the page has none (nothing to show).
  std::unique_ptr<HtmlNode> body;
  std::string title;
};

inline constexpr size_t kMaxHtmlNodes = 20000;
inline constexpr int kMaxHtmlDepth = 64;

// Parses the page's bytes. The encoding is the page's own (byte-order mark, then a meta
// charset, else UTF-8 falling back to Latin-1 where the bytes are not UTF-8); `url` is
// only a name for the parser. Safe on any thread.
HtmlDocument ParseHtmlDocument(std::string_view bytes, const std::string& url = {});

}  // namespace orvo
