// Text through the installed back end, checked by properties that hold for GDI and for the
// portable renderer alike: measured sizes, where the ink lands, and what the format bits
// change. (Pixel-exact pictures of the portable renderer are in text_golden_test.cpp.)
#include <gtest/gtest.h>

#include "graphics/canvas.h"
#include "support/pixels.h"
#include "ui/lum_ui_drawing.h"

namespace orvo {
namespace {

constexpr Argb kPaper = 0xFFFFFFFF;

struct Drawn {
  Bitmap32 bitmap;
  Rect ink;
  int height = 0;
};

Drawn Draw(std::string_view text, const Rect& box, uint32_t format, int width = 200,
           int height = 60, uint8_t style = 0) {
  Drawn d{test::Filled(width, height, kPaper), {}, 0};
  Canvas& c = d.bitmap.canvas();
  c.font.color = clBlack;
  c.font.style = style;
  Rect r = box;
  d.height = c.DrawText(text, r, format);
  d.ink = test::InkBoundsRgb(d.bitmap, kPaper);
  return d;
}

int LineHeight() {
  Bitmap32 b(1, 1);
  return b.canvas().TextHeight("Wg");
}

TEST(Text, MeasuresLikeTheLineItDraws) {
  Bitmap32 b(1, 1);
  Canvas& c = b.canvas();
  const Size empty = c.TextExtent("");
  const Size word = c.TextExtent("Plug-ins");
  EXPECT_EQ(empty.cx, 0);
  EXPECT_GT(empty.cy, 8);
  EXPECT_EQ(word.cy, empty.cy);
  EXPECT_GT(word.cx, 20);
  EXPECT_LT(word.cx, 80);
  Rect r{10, 10, 10, 10};
  const int h = c.DrawText("Plug-ins", r, kDtCalcRect | kDtSingleLine | kDtNoPrefix);
  EXPECT_EQ(h, word.cy);
  EXPECT_EQ(r, (Rect{10, 10, 10 + word.cx, 10 + word.cy}));
  // Bold is wider.
  c.font.style = fsBold;
  EXPECT_GT(c.TextWidth("Plug-ins"), word.cx);
}

TEST(Text, AlignmentPlacesTheInk) {
  const Rect box{20, 10, 180, 50};
  const uint32_t line = kDtSingleLine | kDtNoPrefix;
  const Drawn left = Draw("Manager", box, line | kDtLeft);
  const Drawn centre = Draw("Manager", box, line | kDtCenter | kDtVCenter);
  const Drawn right = Draw("Manager", box, line | kDtRight | kDtBottom);
  EXPECT_LE(std::abs(left.ink.left - box.left), 2);
  EXPECT_LE(std::abs((centre.ink.left - box.left) - (box.right - centre.ink.right)), 3);
  EXPECT_LE(std::abs((centre.ink.top - box.top) - (box.bottom - centre.ink.bottom)), 4);
  EXPECT_LE(std::abs(right.ink.right - box.right), 2);
  EXPECT_GT(right.ink.top, centre.ink.top);
  EXPECT_EQ(left.ink.width(), right.ink.width());
}

TEST(Text, WordBreakWrapsAndCalcRectCountsTheLines) {
  const int lh = LineHeight();
  const std::string text = "one two three four five six";
  Bitmap32 b(1, 1);
  const auto measure = [&](int width, Rect* out) {
    Rect r{0, 0, width, 0};
    const int h = b.canvas().DrawText(text, r, kDtCalcRect | kDtWordBreak | kDtNoPrefix);
    *out = r;
    return h;
  };
  Rect narrow, wide, whole;
  const int h_narrow = measure(45, &narrow), h_wide = measure(90, &wide);
  const int h_whole = measure(1000, &whole);
  EXPECT_EQ(h_whole, lh);
  EXPECT_EQ(whole.width(), b.canvas().TextWidth(text));
  EXPECT_GE(h_narrow, 3 * lh);
  EXPECT_GT(h_narrow, h_wide);
  EXPECT_GE(h_wide, 2 * lh);
  EXPECT_EQ(h_narrow % lh, 0);
  EXPECT_LE(narrow.width(), 45);
  const Drawn wrapped = Draw(text, {0, 0, 45, 200}, kDtWordBreak | kDtNoPrefix, 200, 200);
  EXPECT_LE(wrapped.ink.right, 45);
  EXPECT_GT(wrapped.ink.height(), 2 * lh);
}

TEST(Text, EndEllipsisKeepsInkInsideTheBox) {
  const Rect box{0, 0, 60, 20};
  const std::string text = "A description far too long for its cell";
  const Drawn clipped = Draw(text, box, kDtSingleLine | kDtNoPrefix);
  const Drawn ellipsis = Draw(text, box, kDtSingleLine | kDtNoPrefix | kDtEndEllipsis);
  const Drawn free = Draw(text, box, kDtSingleLine | kDtNoPrefix | kDtNoClip, 400);
  EXPECT_LE(clipped.ink.right, box.right);
  EXPECT_LE(ellipsis.ink.right, box.right);
  EXPECT_GT(free.ink.right, box.right);  // without clipping the text runs on
  // The ellipsis replaces characters: the two pictures differ inside the box.
  EXPECT_NE(test::InkBoundsRgb(ellipsis.bitmap, kPaper), Rect{});
  bool differs = false;
  for (int x = 0; x < 60 && !differs; ++x) {
    for (int y = 0; y < 20 && !differs; ++y)
      differs = clipped.bitmap.Pixel(x, y) != ellipsis.bitmap.Pixel(x, y);
  }
  EXPECT_TRUE(differs);
}

TEST(Text, EditControlEndsWithTheLastWholeLine) {
  const int lh = LineHeight();
  const Rect box{0, 0, 120, 3 * (lh + 2)};
  const std::string text =
      "A long message that goes on and on, over more lines than the box can show, and on.";
  const Drawn d =
      Draw(text, box, kDtWordBreak | kDtEditControl | kDtEndEllipsis | kDtNoPrefix, 200, 100);
  EXPECT_LE(d.ink.bottom, 3 * lh);
  EXPECT_GT(d.ink.bottom, 2 * lh);
  EXPECT_LE(d.ink.right, 120);
}

TEST(Text, PrefixesUnderlineTheMarkedLetter) {
  const Rect box{0, 0, 100, 30};
  const Drawn plain = Draw("File", box, kDtSingleLine | kDtNoPrefix);
  const Drawn prefixed = Draw("&File", box, kDtSingleLine);
  const Drawn literal = Draw("&File", box, kDtSingleLine | kDtNoPrefix);
  EXPECT_EQ(prefixed.ink.left, plain.ink.left);
  EXPECT_GT(prefixed.ink.bottom, plain.ink.bottom);  // the underline below "F"
  EXPECT_LT(prefixed.ink.right, plain.ink.right + 2);
  EXPECT_GT(literal.ink.width(), plain.ink.width());  // "&" drawn as itself
}

TEST(Text, CanvasOriginAndClipApply) {
  Bitmap32 b = test::Filled(100, 40, kPaper);
  Canvas& c = b.canvas();
  c.font.color = clBlack;
  c.SetOrigin({30, 10});
  c.IntersectClip({0, 0, 20, 20});
  Rect r{0, 0, 200, 20};
  c.DrawText("Clipped text here", r, kDtSingleLine | kDtNoPrefix);
  const Rect ink = test::InkBoundsRgb(b, kPaper);
  EXPECT_GE(ink.left, 30);
  EXPECT_LE(ink.right, 50);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 30);
}

TEST(Text, KeepAlphaMakesOnlyTheTextOpaque) {
  Bitmap32 b = test::Filled(80, 20, 0x00FFFFFF);  // transparent white, as in a layered window
  Font font;
  font.color = clBlack;
  DrawTextKeepAlpha(b, font, {5, 2, 75, 18}, kDtSingleLine | kDtNoPrefix, "Submit");
  int opaque = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 80; ++x) {
      const Argb p = b.Pixel(x, y);
      if (AlphaOf(p) == 255) {
        ++opaque;
        EXPECT_TRUE(Rect({5, 2, 75, 18}).Contains({x, y}));
      } else {
        EXPECT_EQ(p, 0x00FFFFFFu);
      }
    }
  }
  EXPECT_GT(opaque, 20);
  // An empty rectangle draws nothing.
  Bitmap32 untouched = test::Filled(10, 10, 0x00FFFFFF);
  DrawTextKeepAlpha(untouched, font, {5, 5, 5, 9}, kDtSingleLine, "x");
  EXPECT_EQ(test::CountPixels(untouched, 0x00FFFFFF), 100);
}

TEST(Text, GlowSurroundsTheText) {
  Bitmap32 plain = test::Filled(120, 30, 0xFF202020);
  Bitmap32 glow = plain;
  Font font;
  font.color = clWhite;
  DrawTextKeepAlpha(plain, font, {0, 0, 120, 30}, kDtCenter | kDtVCenter | kDtSingleLine, "Glow");
  DrawGlowText(glow, font, {0, 0, 120, 30}, 2, MakeColor(255, 200, 0),
               kDtCenter | kDtVCenter | kDtSingleLine, "Glow");
  const Rect text_ink = test::InkBoundsRgb(plain, 0xFF202020);
  const Rect glow_ink = test::InkBoundsRgb(glow, 0xFF202020);
  EXPECT_LT(glow_ink.left, text_ink.left);
  EXPECT_GT(glow_ink.right, text_ink.right);
  // The halo is the glow colour's hue: yellowish pixels next to the text.
  const Argb beside = glow.Pixel(text_ink.left - 1, (text_ink.top + text_ink.bottom) / 2);
  EXPECT_GT(RedOf(beside), BlueOf(beside));
}

}  // namespace
}  // namespace orvo
