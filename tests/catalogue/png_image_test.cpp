// Pictures as the catalogues keep them: checked headers, lazy decoding, round trips.
#include <gtest/gtest.h>

#include "catalogue/png_image.h"
#include "platform/png_codec.h"

namespace orvo {
namespace {

TEST(PngImage, RoundTripsPixelsWithAlpha) {
  ArgbPixels p{3, 2, {0xFF112233, 0x80FFFFFF, 0x00000000, 0x01020304, 0xFFFF0000, 0x7F00FF00}};
  auto image = TPngImage::FromPixels(p);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 3);
  EXPECT_EQ(image->height(), 2);
  const auto back = image->Decode();
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->argb, p.argb);
  EXPECT_EQ(image->Clone()->bytes(), image->bytes());
}

TEST(PngImage, RefusesWhatIsNoPngAndSurvivesDamage) {
  EXPECT_EQ(TPngImage::FromBytes(""), nullptr);
  EXPECT_EQ(TPngImage::FromBytes("GIF89a......................................"), nullptr);
  const std::string good = TPngImage::FromPixels({8, 8, std::vector<uint32_t>(64, 0xFF336699)})->bytes();
  std::string huge = good;
  huge[16] = '\x7F';  // width 2^30: refused before anything is allocated
  EXPECT_EQ(TPngImage::FromBytes(huge), nullptr);
  // A damaged body passes the header check but never decodes into garbage.
  auto cut = TPngImage::FromBytes(good.substr(0, good.size() - 20));
  ASSERT_NE(cut, nullptr);
  EXPECT_FALSE(cut->Decode().has_value());
  std::string flipped = good;
  flipped[good.size() - 30] ^= 0x55;
  EXPECT_FALSE(os::DecodePng(flipped).has_value());
}

}  // namespace
}  // namespace orvo
