// The libxml2 side of the page view: parse, then copy the body into our own tree.
#include "notices/html_document.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <climits>
#include <mutex>

#include "platform/text.h"

namespace orvo {
namespace {

// Elements whose whole content is left out.
constexpr std::array<std::string_view, 19> kDropped = {
    "script", "style",  "head",     "title",    "iframe", "frame", "frameset",
    "object", "applet", "noembed",  "noframes", "svg",    "math",  "template",
    "input",  "select", "textarea", "button",   "link"};

// Empty elements of HTML5 this libxml2 does not know as empty: it nests the rest of their
// parent inside them. They are left out and what was nested comes back to the parent.
constexpr std::array<std::string_view, 5> kUnwrapped = {"embed", "source", "track", "wbr",
                                                        "keygen"};

bool Unwrapped(std::string_view tag) {
  for (std::string_view u : kUnwrapped) {
    if (u == tag) return true;
  }
  return false;
}

bool Dropped(std::string_view tag) {
  for (std::string_view d : kDropped) {
    if (d == tag) return true;
  }
  return tag == "meta" || tag == "base" || tag == "canvas" || tag == "audio" || tag == "video";
}

std::string Lower(const xmlChar* name) {
  std::string out = name ? reinterpret_cast<const char*>(name) : "";
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Text as the parser hands it over, made UTF-8 for the layout. Where a page names an
// encoding libxml2 does not know, it passes the page's bytes through as they are; a byte
// that is not part of a UTF-8 sequence is then read as Windows-1252, the encoding such
// pages are in.
std::string Utf8Text(const xmlChar* text) {
  const std::string_view bytes = text ? reinterpret_cast<const char*>(text) : "";
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t start = i;
    const char32_t cp = NextUtf8CodePoint(bytes, i);
    if (cp == 0xFFFD && bytes.substr(start, i - start) != "\xEF\xBF\xBD") {
      out += Cp1252ToUtf8(bytes.substr(start, i - start));
    } else {
      out.append(bytes, start, i - start);
    }
  }
  return out;
}

struct Copier {
  size_t nodes = 0;

  std::unique_ptr<HtmlNode> Element(xmlNode* source, int depth) {
    auto node = std::make_unique<HtmlNode>();
    node->tag = Lower(source->name);
    for (xmlAttr* a = source->properties; a; a = a->next) {
      xmlChar* value = xmlNodeListGetString(source->doc, a->children, 1);
      node->attributes.emplace_back(Lower(a->name), Utf8Text(value));
      xmlFree(value);
    }
    Children(source, *node, depth + 1);
    return node;
  }

  void Children(xmlNode* source, HtmlNode& target, int depth) {
    if (depth > kMaxHtmlDepth) return;
    for (xmlNode* child = source->children; child; child = child->next) {
      if (nodes >= kMaxHtmlNodes) return;
      if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
        if (!child->content) continue;
        ++nodes;
        auto text = std::make_unique<HtmlNode>();
        text->kind = HtmlNode::Kind::kText;
        text->text = Utf8Text(child->content);
        target.children.push_back(std::move(text));
      } else if (child->type == XML_ELEMENT_NODE) {
        const std::string tag = Lower(child->name);
        if (Dropped(tag)) continue;
        if (Unwrapped(tag)) {
          Children(child, target, depth + 1);
          continue;
        }
        ++nodes;
        target.children.push_back(Element(child, depth));
      }
    }
  }
};

xmlNode* FindElement(xmlNode* first, std::string_view name) {
  for (xmlNode* n = first; n; n = n->next) {
    if (n->type == XML_ELEMENT_NODE && Lower(n->name) == name) return n;
  }
  return nullptr;
}

std::string TitleOf(xmlNode* html) {
  xmlNode* head = html ? FindElement(html->children, "head") : nullptr;
  xmlNode* title = head ? FindElement(head->children, "title") : nullptr;
  if (!title) return {};
  xmlChar* text = xmlNodeGetContent(title);
  std::string out = Utf8Text(text);
  xmlFree(text);
  return out;
}

void InitOnce() {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
}

}  // namespace

const std::string* HtmlNode::Attribute(std::string_view name) const {
  for (const auto& [key, value] : attributes) {
    if (key == name) return &value;
  }
  return nullptr;
}

std::optional<int> HtmlNode::IntegerAttribute(std::string_view name) const {
  const std::string* value = Attribute(name);
  if (!value) return std::nullopt;
  std::string_view text = *value;
  while (!text.empty() && (text.front() == ' ' || (text.front() >= '\t' && text.front() <= '\r')))
    text.remove_prefix(1);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  // A number beyond the range is no number at all (the attribute's default applies), as
  // Blink's ParseHTMLInteger has it.
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long magnitude = 0;
  for (; !text.empty() && text.front() >= '0' && text.front() <= '9'; text.remove_prefix(1)) {
    magnitude = magnitude * 10 + (text.front() - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<int>(negative ? -magnitude : magnitude);
}

HtmlDocument ParseHtmlDocument(std::string_view bytes, const std::string& url) {
  HtmlDocument out;
  if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) return out;
  InitOnce();
  // White space between inline elements matters to the layout, so blank text is kept.
  const int options =
      HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
  htmlDocPtr doc = htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()),
                                  url.empty() ? nullptr : url.c_str(), nullptr, options);
  if (!doc) return out;
  xmlNode* html = FindElement(doc->children, "html");
  xmlNode* body = html ? FindElement(html->children, "body") : nullptr;
  out.title = TitleOf(html);
  if (body) {
    Copier copier;
    out.body = copier.Element(body, 0);
  }
  xmlFreeDoc(doc);
  return out;
}

}  // namespace orvo
