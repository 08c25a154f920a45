// The toolkit's colour arithmetic against hand-computed values: its own HSL mapping,
// tinting, desaturation and the fades.
#include <gtest/gtest.h>

#include "support/pixels.h"
#include "support/test_machine.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

TEST(HslToRgb, HandComputedExamples) {
  struct Case {
    double h, s, l;
    TColor rgb;
  };
  const Case cases[] = {
      {0, 100, 50, MakeColor(255, 0, 0)},
      {30, 100, 50, MakeColor(255, 128, 0)},  // 4.25 * 30 = 127.5, a tie: 128 is even
      {90, 100, 50, MakeColor(128, 255, 0)},  // 255 - 127.5 = 127.5 -> 128
      {0, 0, 50, MakeColor(128, 128, 128)},   // no saturation pulls every channel to 128
      // (0, 255, 0) at S 50: 0 -> 64, 255 -> rnd(191.5) = 192; at L 75 (f = 0.5):
      // 64 -> rnd(159.5) = 160, 192 -> rnd(223.5) = 224.
      {120, 50, 75, MakeColor(160, 224, 160)},
      {240, 100, 25, MakeColor(0, 0, 128)},  // f = -0.5: 255 -> rnd(127.5) = 128
      {300, 100, 50, MakeColor(255, 0, 255)},
      {330, 100, 50, MakeColor(255, 0, 128)},
      {200, 100, 100, MakeColor(255, 255, 255)},  // full lightness is white, not black
      {360, 50, 50, clBlack},                     // outside the domain
      {-1, 50, 50, clBlack},
      {10, 100.5, 50, clBlack},
      {10, 50, -0.1, clBlack},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HslToRgb(c.h, c.s, c.l), c.rgb) << c.h << " " << c.s << " " << c.l;
  }
}

TEST(RgbToHsl, StandardValues) {
  const Hsl red = RgbToHsl(MakeColor(255, 0, 0));
  EXPECT_DOUBLE_EQ(red.h, 0);
  EXPECT_DOUBLE_EQ(red.s, 100);
  EXPECT_DOUBLE_EQ(red.l, 50);
  const Hsl blue = RgbToHsl(MakeColor(0, 0, 255));
  EXPECT_DOUBLE_EQ(blue.h, 240);
  const Hsl grey = RgbToHsl(MakeColor(51, 51, 51));
  EXPECT_DOUBLE_EQ(grey.s, 0);
  EXPECT_DOUBLE_EQ(grey.l, 20);
  EXPECT_GT(RgbToHsl(MakeColor(255, 0, 1)).h, 359);  // just below the wrap
}

TEST(TintPixel, TakesHueAndSaturationOfTheTintAndLightnessOfThePixel) {
  // A pure colour tint keeps its colour at mid lightness (this once came out black).
  EXPECT_EQ(TintPixel(MakeColor(128, 128, 128), MakeColor(255, 0, 0)), MakeColor(255, 1, 1));
  EXPECT_EQ(TintPixel(clWhite, MakeColor(0, 0, 255)), clWhite);
  // A grey tint gives each pixel the grey of its own lightness.
  const TColor g = TintPixel(MakeColor(200, 100, 50), MakeColor(90, 90, 90));
  EXPECT_EQ(ColorRed(g), ColorGreen(g));
  EXPECT_EQ(ColorGreen(g), ColorBlue(g));
  auto kept = TintPng(test::FilledPng(2, 2, 0x80123456), clNone, 255);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->Pixel(1, 1), 0x80123456u);
  auto faded = TintPng(test::FilledPng(1, 1, 0xFF123456), clNone, 51);
  ASSERT_TRUE(faded);
  EXPECT_EQ(faded->Pixel(0, 0), 0x33123456u);
  EXPECT_FALSE(TintPng(PngImage(), clNone, 255));
}

TEST(GrayPng, AmountsZeroAndFull) {
  // L = rnd((30 * 200 + 59 * 100 + 11 * 50) / 100) = rnd(124.5) = 124.
  PngImage full = test::FilledPng(1, 1, 0x80C86432);
  GrayPng(full, 255);
  EXPECT_EQ(full.Pixel(0, 0), 0x807C7C7Cu);
  // Amount 0: rnd(c * 255 / 256) + rnd(124 / 256): 199, 100, 50.
  PngImage none = test::FilledPng(1, 1, 0xFFC86432);
  GrayPng(none, 0);
  EXPECT_EQ(none.Pixel(0, 0), 0xFFC76432u);
  // White at amount 127: 127.5 and 127.5 both round up; the channel stays 255.
  PngImage white = test::FilledPng(1, 1, 0xFFFFFFFF);
  GrayPng(white, 127);
  EXPECT_EQ(white.Pixel(0, 0), 0xFFFFFFFFu);
  PngImage grey_picture = test::FilledPng(1, 1, 0xFFC86432);
  grey_picture.set_color_type(PngColorType::kGrayAlpha);
  GrayPng(grey_picture, 255);
  EXPECT_EQ(grey_picture.Pixel(0, 0), 0xFFC86432u);  // grey pictures are left alone
}

TEST(Fades, PngAlphaAndRectangles) {
  PngImage rgb = test::FilledPng(1, 1, 0xFF102030);
  rgb.set_color_type(PngColorType::kRgb);
  FadePngAlpha(rgb, 100);
  EXPECT_EQ(rgb.color_type(), PngColorType::kRgba);
  EXPECT_EQ(rgb.Pixel(0, 0), 0x64102030u);
  FadePngAlpha(rgb, 300);  // out of range: nothing
  EXPECT_EQ(rgb.Pixel(0, 0), 0x64102030u);

  // R, G, B = rnd(100 * c / 255), A = 100 * A div 255: c = 51 -> 20, 255 -> 100, 1 -> 0
  // (0.392); alpha 200 -> 78.
  Bitmap32 b = test::Filled(3, 2, MakeArgb(200, 51, 255, 1));
  FadeRectAlpha(b, {1, 0, 9, 1}, 100);
  EXPECT_EQ(b.Pixel(0, 0), MakeArgb(200, 51, 255, 1));
  EXPECT_EQ(b.Pixel(1, 0), MakeArgb(78, 20, 100, 0));
  EXPECT_EQ(b.Pixel(2, 1), MakeArgb(200, 51, 255, 1));
  FadeRectAlpha(b, b.bounds(), 0);
  EXPECT_EQ(test::CountPixels(b, 0), 6);

  // Over 4 columns: x = 255, 191.25, 127.5, 63.75.
  Bitmap32 out = test::Filled(4, 1, 0xFFFFFFFF);
  FadeOutHorz(out, out.bounds());
  EXPECT_EQ(out.Pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(out.Pixel(1, 0), MakeArgb(191, 191, 191, 191));
  EXPECT_EQ(out.Pixel(2, 0), MakeArgb(128, 128, 128, 128));
  EXPECT_EQ(out.Pixel(3, 0), MakeArgb(64, 64, 64, 64));
}

TEST(SolidPng, IsOpaqueColour) {
  const PngImage solid = SolidPng(3, 2, MakeColor(1, 2, 3));
  EXPECT_EQ(solid.color_type(), PngColorType::kRgb);
  EXPECT_EQ(solid.Pixel(2, 1), 0xFF010203u);
}

TEST(KeyboardRepeat, FollowsTheSystemSettings) {
  test::TestMachine machine;
  const int delay = static_cast<int>(machine.platform().system().KeyboardDelay());
  const int speed = static_cast<int>(machine.platform().system().KeyboardSpeed());
  EXPECT_EQ(KeyboardRepeatDelay(), delay * 200 + 200);
  EXPECT_EQ(KeyboardRepeatInterval(), Rnd(1000 / ((speed + 1) * 2.3)));
  if (machine.sandbox()) {
    // The sandbox's defaults are Windows' own: delay 1, speed 31: 400 ms and 14 ms.
    EXPECT_EQ(KeyboardRepeatDelay(), 400);
    EXPECT_EQ(KeyboardRepeatInterval(), 14);
  }
}

}  // namespace
}  // namespace orvo
