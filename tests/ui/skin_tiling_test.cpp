// Rebuilding skins at new sizes: the tiling rule of AssembleNinePng against the squeezing
// rule of DrawNineTiled, stretched drawing, three-slice resizing and whole-bitmap tiling.
#include <gtest/gtest.h>

#include "support/pixels.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

// A nine-slice skin whose top edge piece is 20 columns wide, column c coloured c + 1, so
// the target's columns show which source column they took.
NinePng EdgeSkin() {
  PngImage skin(2 + 20 + 2, 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < skin.width(); ++x) {
      const bool edge = x >= 2 && x < 22;
      skin.SetPixel(x, y, edge ? MakeArgb(255, static_cast<uint32_t>(x - 1), 0, 0) : 0xFF00FF00u);
    }
  }
  NinePng pieces;
  EXPECT_TRUE(CutNinePng(skin, {2, 2}, {22, 4}, 255, clNone, pieces));
  return pieces;
}

TEST(Tiling, AssembleRepeatsColumnsWhereDrawingSqueezesTheLastCopy) {
  const NinePng pieces = EdgeSkin();
  // 45 columns between the corners: two whole copies and 5 more.
  const auto assembled = AssembleNinePng(2 + 45 + 2, 6, pieces);
  ASSERT_TRUE(assembled);
  for (int i = 0; i < 45; ++i) {
    EXPECT_EQ(RedOf(assembled->Pixel(2 + i, 0)), static_cast<uint32_t>(i % 20 + 1)) << i;
  }
  Bitmap32 drawn;
  DrawNineTiled(drawn, 2 + 45 + 2, 6, pieces);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(RedOf(drawn.Pixel(2 + i, 0)), static_cast<uint32_t>(i % 20 + 1)) << i;
  }
  // The third copy: the whole 20-column piece squeezed into 5 (columns 2, 6, 10, 14, 18).
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(RedOf(drawn.Pixel(42 + i, 0)), static_cast<uint32_t>(4 * i + 3)) << i;
  }
}

TEST(Tiling, TooSmallTargetsGiveNoPicture) {
  const NinePng pieces = EdgeSkin();
  EXPECT_FALSE(AssembleNinePng(4, 6, pieces));   // corners 2 + 2 and not one more column
  EXPECT_FALSE(AssembleNinePng(10, 4, pieces));  // rows 2 + 2
  EXPECT_TRUE(AssembleNinePng(5, 5, pieces));
}

TEST(Tiling, DrawNineTiledStartsFromTransparency) {
  NinePng pieces;
  PngImage skin = test::FilledPng(6, 6, 0x80FFFFFF);
  ASSERT_TRUE(CutNinePng(skin, {2, 2}, {4, 4}, 255, clNone, pieces));
  Bitmap32 target = test::Filled(10, 10, 0xFF0000FF);
  DrawNineTiled(target, 10, 10, pieces);
  // Merged onto alpha 0 the skin's pixels arrive unchanged.
  EXPECT_EQ(test::CountPixels(target, 0x80FFFFFF), 100);
}

TEST(Tiling, StretchedNineKeepsCorners) {
  Bitmap32 mask = test::Filled(6, 6, 0xFFFFFFFF);
  mask.SetPixel(0, 0, 0xFF000000);
  mask.SetPixel(5, 5, 0xFF000000);
  NineBitmaps pieces;
  ASSERT_TRUE(CutNineBitmap(mask, {1, 1}, {5, 5}, pieces));
  Bitmap32 big;
  DrawNineStretched(big, 20, 12, pieces);
  EXPECT_EQ(big.Pixel(0, 0), 0xFF000000u);
  EXPECT_EQ(big.Pixel(19, 11), 0xFF000000u);
  EXPECT_EQ(test::CountPixels(big, 0xFF000000), 2);
  EXPECT_FALSE(CutNineBitmap(mask, {1, 1}, {6, 5}, pieces));
}

TEST(Slice, EndsStayAndTheMiddleRepeats) {
  PngImage skin(10, 1);
  for (int x = 0; x < 10; ++x) skin.SetPixel(x, 0, MakeArgb(255, static_cast<uint32_t>(x), 0, 0));
  const auto wide = SlicePngHorz(skin, 3, 6, 255, clNone, 16);
  ASSERT_TRUE(wide);
  const int expected[16] = {0, 1, 2, 3, 4, 5, 3, 4, 5, 3, 4, 5, 6, 7, 8, 9};
  for (int x = 0; x < 16; ++x) EXPECT_EQ(RedOf(wide->Pixel(x, 0)), expected[x]) << x;
  // Narrower than both ends: the right end is drawn over the left one.
  const auto narrow = SlicePngHorz(skin, 3, 6, 255, clNone, 5);
  ASSERT_TRUE(narrow);
  const int squeezed[5] = {0, 6, 7, 8, 9};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(RedOf(narrow->Pixel(x, 0)), squeezed[x]) << x;
  EXPECT_FALSE(SlicePngHorz(skin, 3, 6, 255, clNone, 0));
  EXPECT_FALSE(SlicePngHorz(skin, 0, 6, 255, clNone, 20));
  // An empty middle leaves the span between the ends transparent.
  const auto gap = SlicePngHorz(skin, 4, 4, 255, clNone, 12);
  ASSERT_TRUE(gap);
  EXPECT_EQ(AlphaOf(gap->Pixel(5, 0)), 0);
  EXPECT_EQ(RedOf(gap->Pixel(11, 0)), 9);
  PngImage column(1, 10);
  const auto tall = SlicePngVert(column, 2, 8, 255, clNone, 30);
  ASSERT_TRUE(tall);
  EXPECT_EQ(tall->height(), 30);
}

TEST(Tiling, TileBitmapCoversTheTarget) {
  Bitmap32 tile = test::Filled(3, 2, 0xFF00FF00);
  Bitmap32 target = test::Filled(8, 5, 0);
  TileBitmap(target, tile);
  EXPECT_EQ(test::CountPixels(target, 0xFF00FF00), 40);
}

}  // namespace
}  // namespace orvo
