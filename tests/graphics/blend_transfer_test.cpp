// The pixel combinations and the transfers built on them, against hand-computed values.
#include <gtest/gtest.h>

#include <random>

#include "graphics/blend.h"
#include "graphics/transfer.h"
#include "support/pixels.h"

namespace orvo {
namespace {

using test::Filled;

TEST(Blend, HandComputedPixels) {
  struct Case {
    Argb f, b, blend, merge;
  };
  const Case cases[] = {
      // Half-transparent red over opaque blue: both modes agree on an opaque background.
      {0x80FF0000, 0xFF0000FF, 0xFF80007F, 0xFF80007F},
      // Over a transparent pixel merge keeps the source, blend mixes with its colour.
      {0x80FF0000, 0x000000FF, 0x8080007F, 0x80FF0000},
      // Half over half: Ra = rnd(128 + 128 * 127 / 255) = 192; merge weights colours by
      // alpha: R = rnd(255 * 32640 / 48896) = 170, B = rnd(255 * 16256 / 48896) = 85.
      {0x80FF0000, 0x800000FF, 0xC080007F, 0xC0AA0055},
      // Fully transparent source leaves the background; opaque source replaces it.
      {0x00123456, 0x80ABCDEF, 0x80ABCDEF, 0x80ABCDEF},
      {0xFF123456, 0x80ABCDEF, 0xFF123456, 0xFF123456},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BlendPixel(c.f, c.b), c.blend) << std::hex << c.f << " over " << c.b;
    EXPECT_EQ(MergePixel(c.f, c.b), c.merge) << std::hex << c.f << " over " << c.b;
  }
}

TEST(Blend, RowsEqualPixelsAndMergeEqualsBlendOnOpaque) {
  std::mt19937 random(7);
  std::vector<Argb> src(997), dst(997);
  for (size_t i = 0; i < src.size(); ++i) {
    src[i] = random();
    dst[i] = random() | 0xFF000000u;
  }
  std::vector<Argb> blended = dst, merged = dst;
  CombineRow(src.data(), blended.data(), static_cast<int>(src.size()), DrawMode::kBlend,
             CombineMode::kBlend);
  CombineRow(src.data(), merged.data(), static_cast<int>(src.size()), DrawMode::kBlend,
             CombineMode::kMerge);
  for (size_t i = 0; i < src.size(); ++i) {
    ASSERT_EQ(blended[i], BlendPixel(src[i], dst[i])) << i;
    ASSERT_EQ(merged[i], blended[i]) << i;
  }
  std::vector<Argb> copied = dst;
  CombineRow(src.data(), copied.data(), 10, DrawMode::kOpaque, CombineMode::kMerge);
  EXPECT_TRUE(std::equal(src.begin(), src.begin() + 10, copied.begin()));
  EXPECT_EQ(copied[10], dst[10]);
}

TEST(Transfer, BlockTransferClipsToTargetSourceAndClip) {
  Bitmap32 target = Filled(6, 4, 0xFF000000);
  const Bitmap32 source = Filled(4, 4, 0xFFFFFFFF);
  // Placed half off the left edge, source rectangle reaching past the source, clip
  // excluding the bottom row.
  BlockTransfer(target, -2, 1, {0, 0, 6, 3}, source.view(), {0, 0, 9, 9}, DrawMode::kOpaque,
                CombineMode::kBlend);
  EXPECT_EQ(test::InkBounds(target, 0xFF000000), (Rect{0, 1, 2, 3}));
  EXPECT_EQ(test::CountPixels(target, 0xFFFFFFFF), 4);
}

// A source whose pixel in column x has the colour value x.
Bitmap32 Ramp(int width) {
  Bitmap32 b(width, 1);
  for (int x = 0; x < width; ++x) b.Row(0)[x] = 0xFF000000u | static_cast<Argb>(x);
  return b;
}

TEST(Transfer, NearestTakesThePixelUnderEachCentre) {
  const Bitmap32 source = Ramp(20);
  Bitmap32 target = Filled(5, 1, 0);
  StretchTransfer(target, {0, 0, 5, 1}, target.bounds(), source.view(), source.bounds(),
                  DrawMode::kOpaque, CombineMode::kBlend, Resampler::kNearest);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(target.Row(0)[x] & 0xFF, 2u + 4u * x) << x;
  // Enlarging repeats pixels: 2 -> 6 gives each source pixel three times.
  Bitmap32 wide = Filled(6, 1, 0);
  StretchTransfer(wide, {0, 0, 6, 1}, wide.bounds(), source.view(), {0, 0, 2, 1}, DrawMode::kOpaque,
                  CombineMode::kBlend, Resampler::kNearest);
  EXPECT_EQ(wide.Row(0)[2] & 0xFF, 0u);
  EXPECT_EQ(wide.Row(0)[3] & 0xFF, 1u);
}

TEST(Transfer, LinearInterpolatesWithoutDarkFringes) {
  Bitmap32 source(2, 1);
  source.Row(0)[0] = 0xFFFF0000;  // opaque red
  source.Row(0)[1] = 0x00000000;  // transparent black
  Bitmap32 target = Filled(8, 1, 0);
  StretchTransfer(target, {0, 0, 8, 1}, target.bounds(), source.view(), source.bounds(),
                  DrawMode::kOpaque, CombineMode::kBlend, Resampler::kLinear);
  EXPECT_EQ(target.Row(0)[0], 0xFFFF0000u);  // clamped at the edge
  int last_alpha = 256;
  for (int x = 0; x < 8; ++x) {
    const Argb p = target.Row(0)[x];
    if (AlphaOf(p) > 0) {
      EXPECT_EQ(p & 0x00FFFFFFu, 0x00FF0000u) << x;  // pure red, not darker
    }
    EXPECT_LE(AlphaOf(p), last_alpha);
    last_alpha = AlphaOf(p);
  }
  EXPECT_EQ(AlphaOf(target.Row(0)[7]), 0);
}

TEST(Transfer, StretchWithinClipAndSourceCutInProportion) {
  const Bitmap32 source = Filled(10, 10, 0xFF00FF00);
  Bitmap32 target = Filled(20, 20, 0xFF000000);
  StretchTransfer(target, {0, 0, 20, 20}, {5, 5, 15, 15}, source.view(), source.bounds(),
                  DrawMode::kOpaque, CombineMode::kBlend, Resampler::kLinear);
  EXPECT_EQ(test::InkBounds(target, 0xFF000000), (Rect{5, 5, 15, 15}));
  // A source rectangle twice the source's width fills only the left half of the target.
  Bitmap32 half = Filled(20, 10, 0xFF000000);
  StretchTransfer(half, {0, 0, 20, 10}, half.bounds(), source.view(), {0, 0, 20, 10},
                  DrawMode::kOpaque, CombineMode::kBlend, Resampler::kNearest);
  EXPECT_EQ(test::InkBounds(half, 0xFF000000), (Rect{0, 0, 10, 10}));
}

}  // namespace
}  // namespace orvo
