// The one picture type: what it accepts as a PNG file, the file it keeps, packing.
#include <gtest/gtest.h>
#include <zlib.h>

#include "graphics/image_codecs.h"
#include "graphics/png_image.h"

namespace orvo {
namespace {

PngImage Sample(int w, int h, PngColorType type = PngColorType::kRgba) {
  PngImage image(w, h, type);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Argb alpha =
          type == PngColorType::kRgba ? Argb((x * 37 + y) & 0xFF) << 24 : 0xFF000000u;
      image.SetPixel(x, y, alpha | Argb(x * 11) << 16 | Argb(y * 13) << 8 | Argb(x ^ y));
    }
  }
  return image;
}

std::string FileOf(const PngImage& image) {
  const std::vector<uint8_t> bytes = EncodePng(image);
  return std::string(bytes.begin(), bytes.end());
}

// A file announcing `side` x `side` pixels: the header rewritten with its checksum kept
// right, so only a size check can refuse it.
std::string Announcing(uint32_t side) {
  std::string png = FileOf(Sample(1, 1));
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<char>(side >> (24 - 8 * i));
    png[20 + i] = static_cast<char>(side >> (24 - 8 * i));
  }
  const auto crc =
      static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
  return png;
}

TEST(PngImage, AFileIsKeptByteForByteWhileThePixelsStayAsTheyWere) {
  const PngImage original = Sample(3, 5);
  const std::string file = FileOf(original);
  auto read = PngImage::FromPngFile(file);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->width(), 3);
  EXPECT_EQ(read->height(), 5);
  EXPECT_TRUE(read->SamePixels(original));
  EXPECT_EQ(read->PngFile(), file);
  const PngImage copy = *read;
  EXPECT_EQ(copy.PngFile(), file);

  read->SetPixel(0, 0, 0xFF00FF00);
  const std::string changed = read->PngFile();
  EXPECT_NE(changed, file);
  EXPECT_EQ(PngImage::FromPngFile(changed)->Pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(copy.PngFile(), file);  // the copy never shared the change

  // Giving an RGB picture alpha changes what its file must say.
  auto rgb = PngImage::FromPngFile(FileOf(Sample(2, 2, PngColorType::kRgb)));
  ASSERT_TRUE(rgb);
  EXPECT_FALSE(rgb->has_alpha());
  rgb->CreateAlpha();
  EXPECT_EQ(PngImage::FromPngFile(rgb->PngFile())->color_type(), PngColorType::kRgba);
  EXPECT_TRUE(PngImage().PngFile().empty());
}

TEST(PngImage, OnlyAWholeValidPictureWithinTheLimitIsRead) {
  const std::string png = FileOf(Sample(20, 20));
  std::string bad_crc = png;
  bad_crc[png.size() / 2] ^= 0x55;  // inside the image data: its checksum no longer fits
  const std::string cases[] = {
      "",
      "<html>not found</html>",
      "GIF89a......................................",
      png.substr(0, 8),  // the signature alone
      png.substr(0, 40),
      png.substr(0, png.size() - 20),
      bad_crc,
      Announcing(1u << 30),  // refused before anything is allocated
  };
  for (const auto& bytes : cases) EXPECT_FALSE(PngImage::FromPngFile(bytes)) << bytes.size();

  EXPECT_FALSE(PngImage::FromPngFile(Announcing(4097), 4096));
  EXPECT_TRUE(PngImage::FromPngFile(png, 20));
  EXPECT_FALSE(PngImage::FromPngFile(png, 19));
}

TEST(PngImage, APackedPictureComesBackWithTheSamePixels) {
  for (const PngColorType type : {PngColorType::kRgba, PngColorType::kRgb}) {
    const PngImage original = Sample(7, 4, type);
    PngImage packed = original;
    packed.Pack();
    EXPECT_TRUE(packed.packed());
    const PngImage& reader = packed;
    EXPECT_EQ(reader.pixels().size(), 28u);  // reading unpacks
    EXPECT_FALSE(packed.packed());
    EXPECT_TRUE(packed.SamePixels(original));
    EXPECT_EQ(packed.color_type(), type);
  }

  PngImage icon = Sample(16, 16);
  icon.Pack();
  const PngImage drawn = icon.Unpacked();
  EXPECT_TRUE(icon.packed());  // drawing once keeps it packed
  EXPECT_TRUE(drawn.SamePixels(Sample(16, 16)));
  const PngImage copy = icon;  // a copy of a packed picture unpacks on its own
  EXPECT_EQ(copy.Pixel(15, 15), Sample(16, 16).Pixel(15, 15));
  EXPECT_TRUE(icon.packed());

  // Changing a packed picture changes the picture, not the file it was packed from.
  const std::string before = icon.PngFile();
  icon.SetPixel(3, 3, 0x12345678);
  EXPECT_EQ(icon.Pixel(3, 3), 0x12345678u);
  EXPECT_NE(icon.PngFile(), before);
  icon.Pack();
  EXPECT_EQ(icon.Pixel(3, 3), 0x12345678u);

  PngImage empty;
  empty.Pack();
  EXPECT_FALSE(empty.packed());
  EXPECT_TRUE(empty.empty());
}

}  // namespace
}  // namespace orvo
