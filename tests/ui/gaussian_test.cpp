// The glow blur: kernel weights, error texts, and the two edge modes.
#include <gtest/gtest.h>

#include "support/pixels.h"
#include "ui/lum_ui_gaussian_blur.h"

namespace orvo {
namespace {

TEST(Kernel, RadiusTwoHasTheLabelWeights) {
  const TLumUIKernel k = TLumUIKernel::Gaussian(2.0f);
  ASSERT_EQ(k.Width(), 5);
  ASSERT_EQ(k.Height(), 1);
  const float expected[5] = {0.0066f, 0.1942f, 0.5983f, 0.1942f, 0.0066f};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(k.Weight(i), expected[i], 0.00006f) << i;
}

TEST(Kernel, HalfPixelRadiusOnlyKeepsTheCentre) {
  const TLumUIKernel k = TLumUIKernel::Gaussian(0.5f);
  ASSERT_EQ(k.Width(), 3);
  EXPECT_EQ(k.Weight(0), 0.0f);
  EXPECT_EQ(k.Weight(1), 1.0f);
  EXPECT_EQ(k.Weight(2), 0.0f);
  Bitmap32 picture(3, 2);
  for (int i = 0; i < 6; ++i) picture.pixels()[i] = 0x40102030u * static_cast<Argb>(i + 1);
  Bitmap32 out;
  TLumUIGaussianFilter(0.5f).Apply(&picture, &out);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(out.pixels()[i], picture.pixels()[i]) << i;
  // Radius 0 would divide by zero; it copies as well.
  EXPECT_EQ(TLumUIKernel::Gaussian(0).Width(), 1);
}

TEST(Kernel, ErrorTexts) {
  const auto text = [](auto make) -> std::string {
    try {
      make();
    } catch (const ELumKernelError& e) {
      return e.what();
    }
    return "";
  };
  EXPECT_EQ(text([] { TLumUIKernel(0, 1, {1}); }), "Kenel width is less than or equal to zero.");
  EXPECT_EQ(text([] { TLumUIKernel(1, -2, {1}); }), "Kernel height is less than or equal to zero.");
  EXPECT_EQ(text([] {
              TLumUIKernel(2, 2, {1, 2, 3});
            }),
            "The length of the data array is less than the kernel size.");
  const TLumUIKernel k(2, 1, {0.5f, 0.5f});
  EXPECT_EQ(text([&] { k.Weight(2); }), "The index is out of the range");
  EXPECT_EQ(text([&] { k.Weight(-1); }), "The index is out of the range");
}

TEST(Blur, WrapMixesOppositeEdgesAndClampRepeatsThem) {
  // One row: a white pixel at the left edge of black.
  Bitmap32 row = test::Filled(8, 1, 0xFF000000);
  row.SetPixel(0, 0, 0xFFFFFFFF);
  TLumUIGaussianFilter wrap(2.0f);
  Bitmap32 wrapped;
  wrap.Apply(&row, &wrapped);
  EXPECT_GT(RedOf(wrapped.Pixel(7, 0)), 0);  // the right edge sees the left one
  TLumUIGaussianFilter clamp(2.0f);
  clamp.Edge = BlurEdge::kClamp;
  Bitmap32 clamped;
  clamp.Apply(&row, &clamped);
  EXPECT_EQ(RedOf(clamped.Pixel(7, 0)), 0);
  // The left edge repeats the white pixel: more white stays than with wrapping.
  EXPECT_GT(RedOf(clamped.Pixel(0, 0)), RedOf(wrapped.Pixel(0, 0)));
  // A kernel wider than the picture wraps around it without leaving it.
  Bitmap32 tiny = test::Filled(1, 1, 0xFF808080);
  Bitmap32 out;
  TLumUIGaussianFilter(6.0f).Apply(&tiny, &out);
  EXPECT_EQ(out.Pixel(0, 0), 0xFF808080u);
}

TEST(Blur, AlphaFlagAndMissingPictures) {
  Bitmap32 clear = test::Filled(4, 4, 0x00FFFFFF);
  TLumUIGaussianFilter filter(1.0f);
  filter.BlurAlpha = false;
  Bitmap32 out;
  filter.Apply(&clear, &out);
  EXPECT_EQ(out.Pixel(1, 1), 0xFFFFFFFFu);
  filter.Apply(nullptr, &out);
  filter.Apply(&clear, nullptr);
  Bitmap32 empty;
  Bitmap32 untouched = test::Filled(2, 2, 7);
  filter.Apply(&empty, &untouched);
  EXPECT_EQ(untouched.Pixel(0, 0), 7u);
}

}  // namespace
}  // namespace orvo
