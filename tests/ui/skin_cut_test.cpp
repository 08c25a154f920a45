// Split records, nine- and three-slice cuts and state frames: which pixels each piece
// holds, and every invalid input giving nothing.
#include <gtest/gtest.h>

#include "support/pixels.h"
#include "ui/lum_ui_type.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

// Each pixel tells where it came from: red = x, green = y.
PngImage Coords(int w, int h, PngColorType type = PngColorType::kRgba) {
  PngImage png(w, h, type);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) png.SetPixel(x, y, MakeArgb(200, x, y, 0));
  }
  return png;
}

TEST(Padding, SetterByIndexAndAssign) {
  TLumUIPadding p;
  int changes = 0;
  p.OnChange = [&] { ++changes; };
  p.SetValue(2, 700);
  p.SetValue(2, 700);  // same value: no change
  p.SetValue(4, 9);    // no such index
  p.SetValue(-1, 9);
  EXPECT_EQ(p.Right, 700);
  EXPECT_EQ(changes, 1);
  TLumUIPadding other(180, 60, 700, 400);
  p = other;
  EXPECT_EQ(p, other);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(p.GetValue(1), 60);
  EXPECT_FALSE(TLumUIPadding(5, 5, 5, 9).ValidNine());
}

TEST(CutNinePng, PiecesHoldTheirPartOfTheSkin) {
  PngImage skin = Coords(10, 8);
  NinePng pieces;
  ASSERT_TRUE(CutNinePng(skin, {3, 2}, {7, 5}, 255, clNone, pieces));
  const Size sizes[9] = {{3, 2}, {4, 2}, {3, 2}, {3, 3}, {4, 3}, {3, 3}, {3, 3}, {4, 3}, {3, 3}};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(pieces[i].width(), sizes[i].cx) << i;
    EXPECT_EQ(pieces[i].height(), sizes[i].cy) << i;
    EXPECT_EQ(pieces[i].color_type(), PngColorType::kRgba);
  }
  EXPECT_EQ(pieces[4].Pixel(0, 0), MakeArgb(200, 3, 2, 0));  // centre starts at the cut
  EXPECT_EQ(pieces[8].Pixel(2, 2), MakeArgb(200, 9, 7, 0));  // bottom-right ends at the corner
}

TEST(CutNinePng, AlphaFactorAndTintApplyToEveryPiece) {
  PngImage skin = Coords(4, 4);
  NinePng pieces;
  ASSERT_TRUE(CutNinePng(skin, {1, 1}, {2, 2}, 128, clNone, pieces));
  EXPECT_EQ(AlphaOf(pieces[0].Pixel(0, 0)), 200 * 128 / 255);
  PngImage grey = test::FilledPng(4, 4, 0xFF804020);
  ASSERT_TRUE(CutNinePng(grey, {1, 1}, {2, 2}, 255, MakeColor(128, 128, 128), pieces));
  const Argb tinted = pieces[4].Pixel(0, 0);
  EXPECT_EQ(RedOf(tinted), GreenOf(tinted));  // a grey tint leaves grey of the pixel's lightness
  EXPECT_EQ(GreenOf(tinted), BlueOf(tinted));
}

TEST(CutNinePng, InvalidSplitsCutNothing) {
  struct Case {
    Point p1, p2;
    int factor;
  };
  const Case cases[] = {
      {{3, 2}, {3, 5}, 255},   // x1 = x2
      {{3, 5}, {7, 5}, 255},   // y1 = y2
      {{7, 2}, {3, 5}, 255},   // x1 > x2
      {{3, 2}, {10, 5}, 255},  // x2 on the right edge
      {{3, 2}, {7, 8}, 255},   // y2 on the bottom edge
      {{-1, 2}, {7, 5}, 255},  // below 0
      {{3, 2}, {7, 5}, 256},   // factor out of range
      {{3, 2}, {7, 5}, -1},
  };
  for (const Case& c : cases) {
    PngImage skin = Coords(10, 8);
    NinePng pieces;
    pieces[0] = test::FilledPng(1, 1, 0x12345678);
    EXPECT_FALSE(CutNinePng(skin, c.p1, c.p2, c.factor, clNone, pieces));
    EXPECT_EQ(pieces[0].Pixel(0, 0), 0x12345678u);  // untouched
  }
  PngImage empty;
  NinePng pieces;
  EXPECT_FALSE(CutNinePng(empty, {0, 0}, {1, 1}, 255, clNone, pieces));
}

TEST(CutNinePng, GivesAnAlphaChannelToSkinsWithoutOne) {
  PngImage rgb = Coords(4, 4, PngColorType::kRgb);
  NinePng pieces;
  ASSERT_TRUE(CutNinePng(rgb, {1, 1}, {2, 2}, 255, clNone, pieces));
  EXPECT_EQ(rgb.color_type(), PngColorType::kRgba);
}

TEST(CutThree, ValidityOfTheCutPoints) {
  struct Case {
    int a1, a2;
    bool valid;
  };
  const Case cases[] = {
      {3, 7, true},  {3, 3, true},    {3, 10, true}, {0, 5, false}, {3, 0, false},
      {7, 3, false}, {11, 12, false}, {3, 11, false}};  // beyond the skin: refused rather than read
                                                        // past it
  for (const Case& c : cases) {
    PngImage skin = Coords(10, 10);
    ThreePng horizontal, vertical;
    EXPECT_EQ(CutThreeHorz(skin, c.a1, c.a2, 255, clNone, horizontal), c.valid) << c.a1 << c.a2;
    EXPECT_EQ(CutThreeVert(skin, c.a1, c.a2, 255, clNone, vertical), c.valid) << c.a1 << c.a2;
    if (!c.valid) continue;
    EXPECT_EQ(horizontal[1].width(), c.a2 - c.a1);
    EXPECT_EQ(horizontal[2].width(), 10 - c.a2);
    EXPECT_EQ(vertical[0].height(), c.a1);
  }
}

TEST(StateFrame, PicksFrameKOfAnEvenStrip) {
  PngImage strip = Coords(12, 3);
  for (int k = 0; k < 4; ++k) {
    const auto frame = StateFrameHorz(strip, 4, k);
    ASSERT_TRUE(frame) << k;
    EXPECT_EQ(frame->width(), 3);
    EXPECT_EQ(frame->Pixel(0, 0), MakeArgb(200, 3 * k, 0, 0));
  }
  EXPECT_FALSE(StateFrameHorz(strip, 4, 4));  // index beyond N - 1
  EXPECT_FALSE(StateFrameHorz(strip, 5, 0));  // 12 is not a multiple of 5
  EXPECT_FALSE(StateFrameHorz(strip, 0, 0));
  EXPECT_FALSE(StateFrameHorz(strip, 3, -1));
  PngImage column = Coords(2, 9);
  const auto last = StateFrameVert(column, 3, 2);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->Pixel(1, 2), MakeArgb(200, 1, 8, 0));
  PngImage empty;
  EXPECT_FALSE(StateFrameVert(empty, 1, 0));
}

}  // namespace
}  // namespace orvo
