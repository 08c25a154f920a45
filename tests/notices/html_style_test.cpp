// The page view's styles: element defaults, presentational attributes and the `style`
// attribute, as the newsletter pages use them.
#include <gtest/gtest.h>

#include "notices/html_document.h"
#include "notices/html_style.h"

namespace orvo {
namespace {

// The style of the first element named `tag` in the page's body, computed down the tree.
HtmlStyle StyleOf(const std::string& body, const std::string& tag) {
  const HtmlDocument doc = ParseHtmlDocument("<html><body>" + body + "</body></html>");
  EXPECT_TRUE(doc.body);
  HtmlStyle found;
  bool seen = false;
  const std::function<void(const HtmlNode&, const HtmlStyle&)> walk = [&](const HtmlNode& n,
                                                                          const HtmlStyle& parent) {
    if (seen || n.kind != HtmlNode::Kind::kElement) return;
    const HtmlStyle s = ComputeStyle(n, parent);
    if (n.tag == tag) {
      found = s;
      seen = true;
      return;
    }
    for (const auto& c : n.children) walk(*c, s);
  };
  walk(*doc.body, HtmlStyle());
  EXPECT_TRUE(seen) << tag;
  return found;
}

TEST(HtmlStyle, HeadingsAreBoldAndLargerWithTheirOwnStyleOnTop) {
  const HtmlStyle h1 =
      StyleOf("<h1 style=\"font-size:16px; color:#1f5fbf; margin:0 0 6px 0\">T</h1>", "h1");
  EXPECT_TRUE(h1.bold);
  EXPECT_EQ(h1.font_px, 16);
  EXPECT_EQ(h1.color, MakeColor(0x1f, 0x5f, 0xbf));
  EXPECT_EQ(h1.margin[kBottom], 6);
  EXPECT_EQ(h1.margin[kTop], 0);
  const HtmlStyle plain = StyleOf("<h2>T</h2>", "h2");
  EXPECT_TRUE(plain.bold);
  EXPECT_EQ(plain.font_px, 20);  // 1.5em of 13
  EXPECT_TRUE(StyleOf("<div style=\"font-weight:bold\">x</div>", "div").bold);
  EXPECT_TRUE(StyleOf("<div style=\"font-weight:700\">x</div>", "div").bold);
  EXPECT_FALSE(StyleOf("<b><span style=\"font-weight:normal\">x</span></b>", "span").bold);
}

}  // namespace
}  // namespace orvo
