// The portable DrawText layout with a fixed-width stand-in font (every character 6 pixels,
// a space 3, lines 10 high), so line breaks and ellipses can be checked exactly.
#include <gtest/gtest.h>

#include "platform/headless/text_layout.h"
#include "platform/text_format.h"

namespace orvo::os::headless {
namespace {

LayoutMetrics Fixed() {
  LayoutMetrics m;
  m.line_height = 10;
  m.average_width = 6;
  m.advance = [](char32_t c) { return c == U' ' ? 3 : 6; };
  return m;
}

std::string LineText(const LaidLine& line) {
  std::string s;
  for (const LaidGlyph& g : line.glyphs) s += static_cast<char>(g.c);
  return s;
}

std::vector<std::string> Lines(const std::string& text, uint32_t format, TextBox box) {
  std::vector<std::string> out;
  for (const LaidLine& l : LayoutText(DecodeUtf8(text), format, box, Fixed()).lines) {
    out.push_back(LineText(l));
  }
  return out;
}

using L = std::vector<std::string>;

TEST(TextLayout, LinesBreakAtSpacesNewlinesAndLongWords) {
  struct Case {
    const char* text;
    uint32_t format;
    int width;
    L lines;
  };
  const Case cases[] = {
      {"aa bb cc", kDtWordBreak, 30, {"aa bb", "cc"}},  // 12 + 3 + 12 = 27 fits, + cc does not
      {"aa\r\nbb\ncc", 0, 100, {"aa", "bb", "cc"}},
      {"aa\r\nbb", kDtSingleLine, 100, {"aabb"}},
      {"abcdefgh ij", kDtWordBreak, 30, {"abcdefgh", "ij"}},  // a long word overflows whole
      {"abcdefgh ij", kDtWordBreak | kDtEditControl, 30, {"abcde", "fgh", "ij"}},
      {"aa   bb", kDtWordBreak, 14, {"aa", "bb"}},  // spaces at a break are dropped
      {"", kDtWordBreak, 30, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Lines(c.text, c.format, {0, 0, c.width, 1000}), c.lines) << c.text;
  }
}

TEST(TextLayout, EllipsisCutsTheLineOrTheRestOfTheText) {
  // 10 characters of 6 pixels in 40: "aaa" + "..." = 36 fits, a fourth "a" would not.
  EXPECT_EQ(Lines("aaaaaaaaaa", kDtSingleLine | kDtEndEllipsis, {0, 0, 40, 10}), L{"aaa..."});
  EXPECT_EQ(Lines("aaaa", kDtSingleLine | kDtEndEllipsis, {0, 0, 40, 10}), L{"aaaa"});
  // Three lines fit in 32 with the edit-control rule; the third takes the rest and ends
  // in an ellipsis, nothing more is laid out.
  EXPECT_EQ(
      Lines("aa bb cc dd ee ff gg", kDtWordBreak | kDtEditControl | kDtEndEllipsis, {0, 0, 30, 32}),
      (L{"aa bb", "cc dd", "ee..."}));
  // Without the ellipsis the same box still ends with the last whole line's words.
  EXPECT_EQ(Lines("aa bb cc dd ee ff gg", kDtWordBreak | kDtEditControl, {0, 0, 30, 32}),
            (L{"aa bb", "cc dd", "ee ff"}));
}

TEST(TextLayout, PrefixesMarkOrDisappear) {
  const auto layout = LayoutText(DecodeUtf8("&Ab&&c&"), kDtSingleLine, {0, 0, 100, 10}, Fixed());
  ASSERT_EQ(layout.lines.size(), 1u);
  EXPECT_EQ(LineText(layout.lines[0]), "Ab&c");
  EXPECT_TRUE(layout.lines[0].glyphs[0].underlined);
  EXPECT_FALSE(layout.lines[0].glyphs[2].underlined);
  const auto hidden =
      LayoutText(DecodeUtf8("&Ab"), kDtSingleLine | kDtHidePrefix, {0, 0, 100, 10}, Fixed());
  EXPECT_FALSE(hidden.lines[0].glyphs[0].underlined);
  EXPECT_EQ(Lines("&Ab", kDtSingleLine | kDtNoPrefix, {0, 0, 100, 10}), L{"&Ab"});
}

TEST(TextLayout, PlacementAndCalculatedRectangle) {
  const TextBox box{10, 20, 110, 60};
  const auto centre =
      LayoutText(DecodeUtf8("abcd"), kDtSingleLine | kDtCenter | kDtVCenter, box, Fixed());
  EXPECT_EQ(centre.lines[0].x, 10 + (100 - 24) / 2);
  EXPECT_EQ(centre.lines[0].y, 20 + (40 - 10) / 2);
  const auto right =
      LayoutText(DecodeUtf8("abcd"), kDtSingleLine | kDtRight | kDtBottom, box, Fixed());
  EXPECT_EQ(right.lines[0].x, 110 - 24);
  EXPECT_EQ(right.lines[0].y, 60 - 10);
  // The measurement ignores the box's bottom and returns the widest line.
  const auto calc =
      LayoutText(DecodeUtf8("aa bb cc dd"), kDtWordBreak | kDtCalcRect, {0, 0, 30, 0}, Fixed());
  EXPECT_EQ(calc.box.right, 27);
  EXPECT_EQ(calc.box.bottom, 20);
  EXPECT_EQ(calc.height, 20);
  const auto empty = LayoutText(U"", kDtSingleLine | kDtCalcRect, {5, 5, 50, 50}, Fixed());
  EXPECT_EQ(empty.box.right, 5);
  EXPECT_EQ(empty.box.bottom, 15);
}

TEST(TextLayout, BrokenUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(DecodeUtf8("a\xC3"), (std::u32string{U'a', 0xFFFD}));
  EXPECT_EQ(DecodeUtf8("\xE6\x97\xA5"), std::u32string{0x65E5});
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80").front(), 0xFFFDu);
}

}  // namespace
}  // namespace orvo::os::headless
