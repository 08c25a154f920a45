// What the transfers accept as a PNG picture.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include "net/png_picture.h"
#include "support/png_samples.h"

namespace orvo {
namespace {

TEST(PngPicture, KeepsTheBytesOfAValidPicture) {
  const std::string png = test::MakePng(3, 5);
  const PngPicture picture = PngPicture::Decode(png);
  EXPECT_FALSE(picture.empty());
  EXPECT_EQ(picture.width(), 3u);
  EXPECT_EQ(picture.height(), 5u);
  EXPECT_EQ(picture.bytes(), png);
  EXPECT_TRUE(PngPicture().empty());
}

TEST(PngPicture, RefusesWhatIsNotAWholeValidPicture) {
  const std::string png = test::MakePng(20, 20);
  std::string bad_crc = png;
  bad_crc[png.size() / 2] ^= 0x55;  // inside the image data: its checksum no longer fits
  const std::string cases[] = {
      "",
      "<html>not found</html>",
      png.substr(0, 8),              // the signature alone
      png.substr(0, png.size() - 20),
      bad_crc,
  };
  for (const auto& bytes : cases) {
    EXPECT_THROW(PngPicture::Decode(bytes), PngDecodeError) << bytes.size();
  }
}

TEST(PngPicture, RefusesAPictureTooLargeToHold) {
  // A small file announcing a huge picture: the header is rewritten, its checksum kept
  // right, so only the size check can refuse it.
  std::string png = test::MakePng(1, 1);
  const uint32_t side = PngPicture::kMaxSide + 1;
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<char>(side >> (24 - 8 * i));
    png[20 + i] = static_cast<char>(side >> (24 - 8 * i));
  }
  const uint32_t crc = static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
  EXPECT_THROW(PngPicture::Decode(png), PngDecodeError);
}

}  // namespace
}  // namespace orvo
