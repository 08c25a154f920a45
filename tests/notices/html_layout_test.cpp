// Laying out newsletter pages: line breaking, alignment, blocks and their margins, lists,
// tables as rows of blocks, pictures and links. Checked by relations between the places
// (they hold for any font), not by pixels; the golden pictures show the whole.
#include <gtest/gtest.h>

#include "notices/html_document.h"
#include "notices/html_layout.h"

namespace orvo {
namespace {

constexpr char kBase[] = "http://site.test/news/msg.html";

struct Laid {
  HtmlDocument doc;
  HtmlLayout layout;
  std::vector<const HtmlPaintItem*> Texts() const {
    std::vector<const HtmlPaintItem*> out;
    for (const auto& i : layout.items) {
      if (i.kind == HtmlPaintItem::Kind::kText) out.push_back(&i);
    }
    return out;
  }
  // The first text item holding `text`.
  const HtmlPaintItem& Text(const std::string& text) const {
    for (const auto* i : Texts()) {
      if (i->text.find(text) != std::string::npos) return *i;
    }
    ADD_FAILURE() << "no text " << text;
    static HtmlPaintItem none;
    return none;
  }
  const HtmlPaintItem* Fill(TColor color) const {
    for (const auto& i : layout.items) {
      if (i.kind == HtmlPaintItem::Kind::kFill && i.color == color) return &i;
    }
    return nullptr;
  }
  const HtmlPaintItem* Picture() const {
    for (const auto& i : layout.items) {
      if (i.kind == HtmlPaintItem::Kind::kPicture) return &i;
    }
    return nullptr;
  }
};

Laid Layout(const std::string& body, int width, const HtmlPictures& pictures = {},
            bool plain = true) {
  Laid out;
  out.doc = ParseHtmlDocument("<html><body>" + body + "</body></html>");
  HtmlLayoutOptions options;
  options.base_url = kBase;
  options.plain_body = plain;
  out.layout = LayoutHtml(out.doc, width, pictures, options);
  return out;
}

TEST(HtmlLayout, WordsWrapAtTheWidthAndLinesStackDown) {
  const Laid l = Layout(
      "<p style='margin:0'>alpha beta gamma delta epsilon zeta eta theta iota kappa</p>", 120);
  const auto texts = l.Texts();
  ASSERT_GE(texts.size(), 3u);
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_LE(texts[i]->rect.right, 120) << texts[i]->text;
    EXPECT_EQ(texts[i]->rect.left, 0);
    EXPECT_EQ(texts[i]->text.front() == ' ' || texts[i]->text.back() == ' ', false)
        << "no blank at a line's ends";
    if (i > 0) {
      EXPECT_GT(texts[i]->rect.top, texts[i - 1]->rect.top);
    }
  }
  EXPECT_EQ(l.layout.height, texts.back()->rect.bottom);
  // A word longer than the line stands alone on its line, uncut.
  const Laid longword = Layout("<p>a Pneumonoultramicroscopicsilicovolcanoconiosis b</p>", 60);
  EXPECT_EQ(longword.Text("Pneumono").text, "Pneumonoultramicroscopicsilicovolcanoconiosis");
}

TEST(HtmlLayout, BlanksCollapseAndStylesRunTogetherWithoutABreak) {
  const Laid l = Layout("<p>  one \n\t  two<b>three</b>four   </p>", 400);
  ASSERT_EQ(l.Texts().size(), 3u);
  EXPECT_EQ(l.Texts()[0]->text, "one two");
  EXPECT_EQ(l.Texts()[1]->text, "three");
  EXPECT_EQ(l.Texts()[2]->text, "four");
  EXPECT_EQ(l.Texts()[1]->rect.left, l.Texts()[0]->rect.right);
  EXPECT_EQ(l.Texts()[2]->rect.left, l.Texts()[1]->rect.right);
  // "two", "three" and "four" are one word: at a narrow width it moves as a whole.
  const Laid narrow = Layout("<p>one two<b>three</b>four</p>", l.Texts()[0]->rect.right - 1);
  EXPECT_GT(narrow.Text("two").rect.top, narrow.Text("one").rect.top);
  EXPECT_EQ(narrow.Text("three").rect.top, narrow.Text("two").rect.top);
}

TEST(HtmlLayout, ChineseBreaksBetweenCharacters) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "\xE6\x96\xB0";  // U+65B0
  const Laid l = Layout("<p>" + text + "</p>", 100);
  EXPECT_GE(l.Texts().size(), 2u);
  for (const auto* t : l.Texts()) EXPECT_LE(t->rect.right, 100);
}

TEST(HtmlLayout, AlignmentPlacesEachLine) {
  const Laid l = Layout(
      "<p style='text-align:center'>mid</p><p align=right>end</p><div style='text-align:right'>"
      "<p style='text-align:left'>start</p></div><center>c</center>",
      300);
  const Rect mid = l.Text("mid").rect, end = l.Text("end").rect;
  EXPECT_NEAR(mid.left + mid.right, 300, 1);
  EXPECT_EQ(end.right, 300);
  EXPECT_EQ(l.Text("start").rect.left, 0);
  EXPECT_NEAR(l.Text("c").rect.left + l.Text("c").rect.right, 300, 1);
}

TEST(HtmlLayout, BreaksHiddenPartsAndMargins) {
  const Laid l = Layout(
      "<div>a<br>b<br><br>c</div><div style='display:none'>hidden</div>"
      "<p style='margin:10px 0'>p1</p><p style='margin:20px 0 5px'>p2</p>",
      300);
  const int line = l.Text("b").rect.top - l.Text("a").rect.top;
  EXPECT_GT(line, 0);
  EXPECT_EQ(l.Text("c").rect.top - l.Text("b").rect.top, 2 * line) << "an empty line between";
  for (const auto* t : l.Texts()) EXPECT_EQ(t->text.find("hidden"), std::string::npos);
  // Sibling margins collapse into the larger one.
  const int p1_bottom = l.Text("p1").rect.bottom, p2_top = l.Text("p2").rect.top;
  EXPECT_NEAR(p2_top - p1_bottom, 20, 2);
}

TEST(HtmlLayout, TheWindowsBodyHasNoMarginAndNoBorder) {
  const std::string body = "<p style='margin:0'>x</p>";
  const HtmlDocument doc = ParseHtmlDocument(
      "<html><body style='margin:30px; border:5px solid red; background-color:#ff0'>" + body +
      "</body></html>");
  HtmlLayoutOptions plain;
  const HtmlLayout a = LayoutHtml(doc, 200, {}, plain);
  HtmlLayoutOptions page;
  page.plain_body = false;
  const HtmlLayout b = LayoutHtml(doc, 200, {}, page);
  const auto text_left = [](const HtmlLayout& layout) {
    for (const auto& i : layout.items) {
      if (i.kind == HtmlPaintItem::Kind::kText) return i.rect.left;
    }
    return -1;
  };
  EXPECT_EQ(text_left(a), 0);
  EXPECT_EQ(text_left(b), 35);
  EXPECT_EQ(a.background, MakeColor(255, 255, 0)) << "the body's background fills the view";
}

TEST(HtmlLayout, ListItemsGetBulletsOrNumbers) {
  const Laid l = Layout(
      "<ul><li>first</li><li>second</li></ul><ol start=4><li>four</li><li>five</li></ol>"
      "<ul style='list-style:none'><li>bare</li></ul>",
      300);
  const auto marker_left_of = [&](const std::string& text, const std::string& marker) {
    const Rect item = l.Text(text).rect;
    for (const auto* t : l.Texts()) {
      if (t->text == marker && t->rect.top == item.top && t->rect.right < item.left) return true;
    }
    return false;
  };
  EXPECT_TRUE(marker_left_of("first", "\xE2\x80\xA2"));
  EXPECT_TRUE(marker_left_of("second", "\xE2\x80\xA2"));
  EXPECT_TRUE(marker_left_of("four", "4."));
  EXPECT_TRUE(marker_left_of("five", "5."));
  EXPECT_FALSE(marker_left_of("bare", "\xE2\x80\xA2"));
  EXPECT_EQ(l.Text("first").rect.left, 40);
  // A start beyond 32 bits is no number, as one that has no digits (not 4, as 2^32 + 4
  // wrapped would be): both lists start at 1.
  const Laid far =
      Layout("<ol start=4294967300><li>far</li></ol><ol start=x><li>one</li></ol>", 300);
  std::vector<std::string> markers;
  for (const auto* t : far.Texts()) {
    if (!t->text.empty() && t->text.back() == '.') markers.push_back(t->text);
  }
  EXPECT_EQ(markers, (std::vector<std::string>{"1.", "1."}));
}

TEST(HtmlLayout, TableRowsShareTheWidthAndStretchTheirCells) {
  const Laid l = Layout(
      "<table width=400 cellspacing=0 cellpadding=0><tr>"
      "<td width='25%' bgcolor='#ff0000'>left</td>"
      "<td bgcolor='#00ff00' valign=bottom>mid</td>"
      "<td width=100 bgcolor='#0000ff'>a<br>b<br>c</td></tr></table>",
      500);
  const HtmlPaintItem* red = l.Fill(MakeColor(255, 0, 0));
  const HtmlPaintItem* green = l.Fill(MakeColor(0, 255, 0));
  const HtmlPaintItem* blue = l.Fill(MakeColor(0, 0, 255));
  ASSERT_TRUE(red && green && blue);
  EXPECT_EQ(red->rect.left, 0);
  EXPECT_EQ(red->rect.width(), 100);
  EXPECT_EQ(green->rect.left, 100);
  EXPECT_EQ(green->rect.width(), 200);
  EXPECT_EQ(blue->rect.width(), 100);
  EXPECT_EQ(blue->rect.right, 400);
  // Every cell is as high as the row; content sits as its cell says.
  EXPECT_EQ(red->rect.height(), blue->rect.height());
  EXPECT_EQ(green->rect.height(), blue->rect.height());
  EXPECT_EQ(l.Text("mid").rect.bottom, green->rect.bottom);
  const int middle = (red->rect.top + red->rect.bottom) / 2;
  EXPECT_NEAR((l.Text("left").rect.top + l.Text("left").rect.bottom) / 2, middle, 1);
  EXPECT_EQ(l.Text("a").rect.top, blue->rect.top);
}

TEST(HtmlLayout, TablesCentreSpacingFramesAndRowBackgrounds) {
  const Laid l = Layout(
      "<table width=200 align=center cellspacing=4 cellpadding=3 border=1>"
      "<tr bgcolor='#eeeeee'><td>x</td><td>y</td></tr></table>",
      400);
  const HtmlPaintItem* row = l.Fill(MakeColor(0xee, 0xee, 0xee));
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->rect.left, 100 + 1 + 4);  // centred, the table's frame, the spacing
  EXPECT_EQ(row->rect.right, 300 - 1 - 4);
  EXPECT_EQ(l.Text("x").rect.left, row->rect.left + 1 + 3);  // the cell's frame, the padding
  int frames = 0;
  for (const auto& i : l.layout.items) {
    if (i.kind == HtmlPaintItem::Kind::kFill && i.color == MakeColor(128, 128, 128)) ++frames;
  }
  EXPECT_EQ(frames, 4 + 2 * 4) << "the table's frame and each cell's";
}

TEST(HtmlLayout, PicturesTakeTheirSizeKeepTheirProportionsAndFitTheLine) {
  HtmlPictures pictures;
  pictures["http://site.test/news/img/a.png"] = PngImage(80, 40);
  struct Case {
    std::string img;
    int width;
    Size expected;
  };
  const Case cases[] = {
      {"<img src='img/a.png'>", 300, {80, 40}},
      {"<img src='img/a.png' width=40>", 300, {40, 20}},
      {"<img src='/news/img/a.png' height=80>", 300, {160, 80}},
      {"<img src='img/a.png' width=10 height=10>", 300, {10, 10}},
      {"<img src='img/a.png' style='width:50%'>", 300, {150, 75}},
      {"<img src='img/a.png'>", 60, {60, 30}},
      {"<img src='img/missing.png' width=30 height=20>", 300, {30, 20}},
      {"<img src='img/missing.png'>", 300, {0, 0}},
  };
  for (const Case& c : cases) {
    const Laid l = Layout("<p style='margin:0'>" + c.img + "</p>", c.width, pictures);
    const HtmlPaintItem* p = l.Picture();
    ASSERT_NE(p, nullptr) << c.img;
    EXPECT_EQ(Size({p->rect.width(), p->rect.height()}), c.expected) << c.img;
  }
}

TEST(HtmlLayout, LinksCoverTheirTextAndPicturesAndAreAbsolute) {
  HtmlPictures pictures;
  pictures["http://site.test/img/b.png"] = PngImage(20, 20);
  const Laid l = Layout(
      "<p>see <a href='../help.html'>the help</a> or "
      "<a href='mailto:hi@site.test'><img src='/img/b.png'></a> "
      "<a href='javascript:go()'>js</a> <a name='top'>anchor</a></p>",
      400, pictures);
  const Rect help = l.Text("the help").rect;
  EXPECT_EQ(l.layout.LinkAt({help.left + 1, help.top + 1}), "http://site.test/help.html");
  EXPECT_EQ(l.layout.LinkAt({help.left - 3, help.top + 1}), "");
  const Rect pic = l.Picture()->rect;
  EXPECT_EQ(l.layout.LinkAt({pic.left + 5, pic.top + 5}), "mailto:hi@site.test");
  const Rect js = l.Text("js").rect;
  EXPECT_EQ(l.layout.LinkAt({js.left + 1, js.top + 1}), "javascript:go()") << "kept; never opened";
  const Rect anchor = l.Text("anchor").rect;
  EXPECT_EQ(l.layout.LinkAt({anchor.left + 1, anchor.top + 1}), "");
  EXPECT_NE(l.layout.fonts[static_cast<size_t>(l.Text("the help").font)].style & fsUnderline, 0);
}

TEST(HtmlLayout, OnlyTheSitesOwnVisiblePicturesAreFetched) {
  const HtmlDocument doc = ParseHtmlDocument(
      "<html><body><img src='img/a.png'><img src='http://site.test/news/img/a.png'>"
      "<img src='https://site.test/b.png'><img src='http://elsewhere.test/c.png'>"
      "<img src='file:///C:/d.png'><div style='display:none'><img src='img/e.png'></div>"
      "<img src='../f.png'></body></html>");
  EXPECT_EQ(
      HtmlPictureAddresses(doc, kBase),
      (std::vector<std::string>{"http://site.test/news/img/a.png", "http://site.test/f.png"}));
}

}  // namespace
}  // namespace orvo

namespace orvo {
namespace {

// Tag soup from a fixed seed: every page parses, lays out within its width's reach and
// paints without a fault (the sanitizer builds watch the memory).
TEST(HtmlLayout, TagSoupNeverBreaksTheLayout) {
  static const char* const kPieces[] = {
      "<p>",
      "</p>",
      "<div style='margin:-20px 3em; padding:5%; border:9999px solid red'>",
      "</div>",
      "<table width=150% cellspacing=-3 cellpadding=99999>",
      "<tr>",
      "<td colspan=999 width=300%>",
      "<td width=-5>",
      "</td>",
      "</tr>",
      "</table>",
      "<ul>",
      "<ol start=-2147483648>",
      "<li>",
      "</li>",
      "<img src='img/a.png' width=99999 height=0>",
      "<img>",
      "<img src='/b.png' style='width:-1px'>",
      "<br>",
      "<hr size=100000>",
      "<b>",
      "</b>",
      "<a href='x'>",
      "</a>",
      "<font size=+99 color=#zzz>",
      "<span style='font-size:100000px; line-height:-5; font:bold'>",
      "</span>",
      "<center>",
      "word ",
      "\xE4\xBD\xA0\xE5\xA5\xBD",
      "  ",
      "\xC2\xA0",
      "&amp;",
      "<h1>",
      "</h1>",
      "<div style='display:none'>",
      "<td valign=bottom style='height:3000px'>",
      "<p style='text-align:right'>"};
  HtmlPictures pictures;
  pictures["http://site.test/news/img/a.png"] = PngImage(3, 4096);
  uint32_t seed = 12345;
  const auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  Bitmap32 target(300, 200);
  for (int page = 0; page < 150; ++page) {
    std::string html;
    const int count = 20 + static_cast<int>(next() % 200);
    for (int i = 0; i < count; ++i)
      html += kPieces[next() % (sizeof(kPieces) / sizeof(kPieces[0]))];
    const Laid l = Layout(html, static_cast<int>(next() % 400), pictures);
    EXPECT_GE(l.layout.height, 0);
    EXPECT_LT(l.layout.height, 50000000);
    Canvas& canvas = target.canvas();
    canvas.ResetState();
    PaintHtml(l.layout, pictures, canvas, {0, -static_cast<int>(next() % 500)});
  }
}

}  // namespace
}  // namespace orvo
