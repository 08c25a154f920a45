// Parsing newsletter pages: what is kept, what is dropped before anything is laid out, and
// the limits that keep a hostile page cheap.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "notices/html_document.h"
#include "platform/text.h"

namespace orvo {
namespace {

// Every element name in the tree, in document order.
std::string Tags(const HtmlNode& node) {
  std::string out;
  std::function<void(const HtmlNode&)> walk = [&](const HtmlNode& n) {
    if (n.kind != HtmlNode::Kind::kElement) return;
    out += n.tag + " ";
    for (const auto& c : n.children) walk(*c);
  };
  walk(node);
  return out;
}

std::string Text(const HtmlNode& node) {
  if (node.kind == HtmlNode::Kind::kText) return node.text;
  std::string out;
  for (const auto& c : node.children) out += Text(*c);
  return out;
}

int Depth(const HtmlNode& node) {
  int deepest = 0;
  for (const auto& c : node.children) deepest = std::max(deepest, Depth(*c));
  return deepest + 1;
}

size_t Count(const HtmlNode& node) {
  size_t n = 1;
  for (const auto& c : node.children) n += Count(*c);
  return n;
}

TEST(HtmlDocument, APageWithoutBodyContentHasNoBody) {
  for (const char* page :
       {"", "<html><head><title>Only a head</title></head></html>", "<!DOCTYPE html>"}) {
    const HtmlDocument doc = ParseHtmlDocument(page);
    EXPECT_EQ(doc.body, nullptr) << page;
  }
  const HtmlDocument doc =
      ParseHtmlDocument("<html><head><title>News &amp; more</title></head><body></body></html>");
  ASSERT_NE(doc.body, nullptr);
  EXPECT_EQ(doc.title, "News & more");
  // Text alone gets its body, as a browser would give it one.
  EXPECT_NE(ParseHtmlDocument("Just some words").body, nullptr);
}

TEST(HtmlDocument, WhatCouldRunOrFetchIsDropped) {
  const HtmlDocument doc = ParseHtmlDocument(
      "<html><head><script>bad()</script><style>p{}</style></head><body>"
      "<p>one<script>alert(1)</script></p><iframe src='x'></iframe><object data='y'>o</object>"
      "<embed src='z'><form><input value='v'><button>b</button>kept</form>"
      "<svg><a href='x'>s</a></svg><template>t</template><p onclick='x()'>two</p></body></html>");
  ASSERT_NE(doc.body, nullptr);
  EXPECT_EQ(Tags(*doc.body), "body p form p ");
  EXPECT_EQ(Text(*doc.body), "onekepttwo");
}

TEST(HtmlDocument, NamesAreLowerCaseAndEntitiesDecoded) {
  const HtmlDocument doc = ParseHtmlDocument(
      "<HTML><BODY><P CLASS=Lead "
      "Style='COLOR:red'>Caf&eacute;&nbsp;&amp;&rsaquo;</P></BODY></HTML>");
  ASSERT_NE(doc.body, nullptr);
  const HtmlNode& p = *doc.body->children.at(0);
  EXPECT_EQ(p.tag, "p");
  ASSERT_NE(p.Attribute("class"), nullptr);
  EXPECT_EQ(*p.Attribute("class"), "Lead");
  EXPECT_EQ(*p.Attribute("style"), "COLOR:red");
  EXPECT_EQ(Text(p), "Caf\xC3\xA9\xC2\xA0&\xE2\x80\xBA");
}

// A page's numbers wrap round no more than a browser's do: a value beyond 32 bits, or
// without a leading digit, is no number (the attribute's default applies).
TEST(HtmlDocument, IntegerAttributesAreReadAsBrowsersReadThem) {
  const HtmlDocument doc = ParseHtmlDocument(
      "<html><body><p a=' 7th' b='-12' c='+3' d='4294967300' e='-99999999999' f='x1' g=''"
      " h='- 5' i='2147483647' j='-2147483648' k='2147483648'>x</p></body></html>");
  ASSERT_NE(doc.body, nullptr);
  const HtmlNode& p = *doc.body->children.at(0);
  EXPECT_EQ(p.IntegerAttribute("a"), 7);
  EXPECT_EQ(p.IntegerAttribute("b"), -12);
  EXPECT_EQ(p.IntegerAttribute("c"), 3);
  EXPECT_EQ(p.IntegerAttribute("d"), std::nullopt);
  EXPECT_EQ(p.IntegerAttribute("e"), std::nullopt);
  EXPECT_EQ(p.IntegerAttribute("i"), INT_MAX);
  EXPECT_EQ(p.IntegerAttribute("j"), INT_MIN);
  EXPECT_EQ(p.IntegerAttribute("k"), std::nullopt);
  EXPECT_EQ(p.IntegerAttribute("f"), std::nullopt);
  EXPECT_EQ(p.IntegerAttribute("g"), std::nullopt);
  EXPECT_EQ(p.IntegerAttribute("h"), std::nullopt);
  EXPECT_EQ(p.IntegerAttribute("missing"), std::nullopt);
}

TEST(HtmlDocument, ThePagesOwnEncoding) {
  // Declared Latin-1: the byte E9 is e acute.
  const HtmlDocument latin = ParseHtmlDocument(
      "<html><head><meta charset=\"iso-8859-1\"></head><body><p>Caf\xE9</p></body></html>");
  ASSERT_NE(latin.body, nullptr);
  EXPECT_EQ(Text(*latin.body), "Caf\xC3\xA9");
  // Undeclared UTF-8 with a byte-order mark.
  const HtmlDocument utf8 = ParseHtmlDocument("\xEF\xBB\xBF<p>\xE4\xBD\xA0\xE5\xA5\xBD</p>");
  ASSERT_NE(utf8.body, nullptr);
  EXPECT_EQ(Text(*utf8.body), "\xE4\xBD\xA0\xE5\xA5\xBD");
}

TEST(HtmlDocument, BytesTheParserPassesThroughBecomeUtf8) {
  // After an "&" that starts no entity, libxml2 copies bytes of the page as they are (or
  // part of a sequence it made); the layout needs UTF-8, so a byte that is not part of a
  // UTF-8 sequence is read as Windows-1252.
  const HtmlDocument page = ParseHtmlDocument(
      "<html><head><title>News &\xFF</title></head><body><p title=\"a&\xFF\">Caf&\xE9 "
      "&\xFF</p></body></html>");
  EXPECT_TRUE(IsValidUtf8(page.title));
  EXPECT_EQ(page.title.substr(0, 6), "News &");
  ASSERT_NE(page.body, nullptr);
  const std::string text = Text(*page.body);
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_EQ(text.substr(0, 6), "Caf&\xC3\xA9");
  const HtmlNode& p = *page.body->children.at(0);
  ASSERT_NE(p.Attribute("title"), nullptr);
  EXPECT_TRUE(IsValidUtf8(*p.Attribute("title")));
}

TEST(HtmlDocument, DepthAndSizeAreBounded) {
  std::string deep;
  for (int i = 0; i < 300; ++i) deep += "<div>";
  deep += "bottom";
  const HtmlDocument nested = ParseHtmlDocument("<html><body>" + deep + "</body></html>");
  ASSERT_NE(nested.body, nullptr);
  EXPECT_LE(Depth(*nested.body), kMaxHtmlDepth + 2);

  std::string wide;
  for (int i = 0; i < 30000; ++i) wide += "<span>x</span>";
  const HtmlDocument many = ParseHtmlDocument("<html><body>" + wide + "</body></html>");
  ASSERT_NE(many.body, nullptr);
  EXPECT_LE(Count(*many.body), kMaxHtmlNodes + 1);
  EXPECT_GT(Count(*many.body), kMaxHtmlNodes / 2);
}

TEST(HtmlDocument, BrokenMarkupIsRecoveredNotRefused) {
  const HtmlDocument doc = ParseHtmlDocument("<body><p>open <b>bold <i>both</p><p>next</body>");
  ASSERT_NE(doc.body, nullptr);
  EXPECT_EQ(Text(*doc.body), "open bold bothnext");
  const std::string garbage("\x00\xff\xfe<<<>>>&&&;;\x01", 14);
  EXPECT_NO_THROW(ParseHtmlDocument(garbage));
}

}  // namespace
}  // namespace orvo
