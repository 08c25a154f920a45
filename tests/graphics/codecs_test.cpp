// Picture files: round trips, colour types, the other formats, and hostile bytes.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "graphics/image_codecs.h"
#include "graphics/picture.h"
#include "support/pixels.h"

namespace orvo {
namespace {

std::vector<uint8_t> GrayPngBytes() {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_GRAY;
  const uint8_t pixels[2] = {0x10, 0xF0};
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr);
  std::vector<uint8_t> out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, pixels, 0, nullptr);
  return out;
}

std::vector<uint8_t> JpegBytes(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  for (int x = 0; x < width; ++x) row[x * 3] = r, row[x * 3 + 1] = g, row[x * 3 + 2] = b;
  while (info.next_scanline < info.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A 2 x 2 bottom-up 24-bit bitmap: bottom row blue, green; top row red, white.
std::vector<uint8_t> Bmp24() {
  std::vector<uint8_t> v(54 + 16, 0);
  v[0] = 'B', v[1] = 'M';
  Put32(v, 2, static_cast<uint32_t>(v.size()));
  Put32(v, 10, 54);
  Put32(v, 14, 40);
  Put32(v, 18, 2);
  Put32(v, 22, 2);
  v[26] = 1, v[28] = 24;
  const uint8_t rows[16] = {255, 0, 0,   0,   255, 0,   0, 0,   // bottom: blue, green (BGR) + pad
                            0,   0, 255, 255, 255, 255, 0, 0};  // top: red, white + pad
  std::memcpy(v.data() + 54, rows, 16);
  return v;
}

TEST(Codecs, PngRoundTripKeepsPixelsAndColourType) {
  PngImage image(3, 2);
  image.SetPixel(0, 0, 0x80FF8000);
  image.SetPixel(2, 1, 0xFF0000FF);
  const auto back = DecodePng(EncodePng(image));
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->SamePixels(image));
  EXPECT_EQ(back->color_type(), PngColorType::kRgba);

  PngImage opaque(1, 1, PngColorType::kRgb);
  opaque.SetPixel(0, 0, 0xFF102030);
  const auto rgb = DecodePng(EncodePng(opaque));
  ASSERT_TRUE(rgb);
  EXPECT_EQ(rgb->color_type(), PngColorType::kRgb);
  EXPECT_FALSE(rgb->has_alpha());
  EXPECT_EQ(rgb->Pixel(0, 0), 0xFF102030u);

  const auto gray = DecodePng(GrayPngBytes());
  ASSERT_TRUE(gray);
  EXPECT_EQ(gray->color_type(), PngColorType::kGray);
  EXPECT_EQ(gray->Pixel(1, 0), 0xFFF0F0F0u);
}

TEST(Codecs, HostileBytesGiveNothing) {
  std::vector<uint8_t> png = EncodePng(test::FilledPng(8, 8, 0xFF123456));
  for (size_t cut : {size_t{0}, size_t{7}, size_t{30}, png.size() - 13}) {
    EXPECT_FALSE(DecodePng(std::span(png.data(), cut))) << cut;
  }
  // A header announcing 100000 x 100000 pixels (with a correct checksum) is refused.
  std::vector<uint8_t> huge = png;
  const uint32_t side = 100000;
  for (size_t at : {size_t{16}, size_t{20}}) {
    huge[at] = side >> 24, huge[at + 1] = (side >> 16) & 0xFF, huge[at + 2] = (side >> 8) & 0xFF,
    huge[at + 3] = side & 0xFF;
  }
  const uLong crc = crc32(0, huge.data() + 12, 17);
  huge[29] = crc >> 24, huge[30] = (crc >> 16) & 0xFF, huge[31] = (crc >> 8) & 0xFF,
  huge[32] = crc & 0xFF;
  EXPECT_FALSE(DecodePng(huge));
  const std::vector<uint8_t> noise = {0xFF, 0xD8, 0xFF, 0x00, 0x12, 0x34};
  EXPECT_FALSE(DecodeJpeg(noise));
  EXPECT_FALSE(DecodeBmp(std::span(Bmp24().data(), 60)));
  EXPECT_FALSE(DecodeIco(std::vector<uint8_t>{0, 0, 1, 0, 5, 0}));
  EXPECT_TRUE(Picture::FromBytes(noise).empty());
}

TEST(Codecs, JpegDecodesToOpaqueRgb) {
  const auto image = DecodeJpeg(JpegBytes(16, 8, 200, 40, 90));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 16);
  EXPECT_EQ(image->color_type(), PngColorType::kRgb);
  const Argb p = image->Pixel(5, 5);
  EXPECT_EQ(AlphaOf(p), 255);
  EXPECT_NEAR(RedOf(p), 200, 4);
  EXPECT_NEAR(GreenOf(p), 40, 4);
  EXPECT_NEAR(BlueOf(p), 90, 4);
}

TEST(Codecs, JpegRefusesASideBeyondThePictureLimit) {
  // A few header bytes can announce a picture 9000 rows high on 16 columns: few pixels in
  // all, yet past the limit every decoder holds to before it allocates anything.
  std::vector<uint8_t> jpeg = JpegBytes(16, 8, 200, 40, 90);
  size_t sof = 2;
  while (sof + 9 < jpeg.size() && !(jpeg[sof] == 0xFF && jpeg[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 9, jpeg.size());
  const uint16_t rows = 9000;
  jpeg[sof + 5] = rows >> 8, jpeg[sof + 6] = rows & 0xFF;
  EXPECT_FALSE(DecodeJpeg(jpeg));
  jpeg[sof + 5] = 0, jpeg[sof + 6] = 8;
  EXPECT_TRUE(DecodeJpeg(jpeg));
}

TEST(Codecs, BitmapRowsAndIconEntries) {
  const auto bmp = DecodeBmp(Bmp24());
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->Pixel(0, 0), 0xFFFF0000u);  // the file's last row is the picture's top
  EXPECT_EQ(bmp->Pixel(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(bmp->Pixel(0, 1), 0xFF0000FFu);

  // An icon holding a PNG entry.
  const std::vector<uint8_t> png = EncodePng(test::FilledPng(4, 4, 0x80FF0000));
  std::vector<uint8_t> ico(6 + 16, 0);
  ico[2] = 1, ico[4] = 1, ico[6] = 4, ico[7] = 4;
  Put32(ico, 6 + 8, static_cast<uint32_t>(png.size()));
  Put32(ico, 6 + 12, 22);
  ico.insert(ico.end(), png.begin(), png.end());
  const Picture picture = Picture::FromBytes(ico);
  EXPECT_EQ(picture.kind(), GraphicKind::kIcon);
  EXPECT_EQ(picture.image().Pixel(3, 3), 0x80FF0000u);
}

TEST(Codecs, PictureKindsBySignature) {
  struct Case {
    std::vector<uint8_t> bytes;
    GraphicKind kind;
    int width;
  };
  const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 7, 0, 3, 0, 0, 0, 0};
  const Case cases[] = {{EncodePng(test::FilledPng(5, 2, 0xFF000000)), GraphicKind::kPng, 5},
                        {JpegBytes(6, 6, 1, 2, 3), GraphicKind::kJpeg, 6},
                        {Bmp24(), GraphicKind::kBitmap, 2},
                        {gif, GraphicKind::kGif, 7}};
  for (const Case& c : cases) {
    const Picture p = Picture::FromBytes(c.bytes);
    EXPECT_EQ(p.kind(), c.kind);
    EXPECT_EQ(p.width(), c.width);
  }
}

TEST(Codecs, FilesAreWrittenWholeOrNotAtAll) {
  const auto folder = std::filesystem::temp_directory_path() / "orvo_codecs_test";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "p.png").string();
  Bitmap32 b = test::Filled(3, 3, 0xFF336699);
  ASSERT_TRUE(SavePngFile(path, b));
  const auto back = ReadPngFile(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Pixel(2, 2), 0xFF336699u);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  EXPECT_FALSE(SavePngFile((folder / "missing" / "p.png").string(), b));
  EXPECT_FALSE(ReadPngFile((folder / "nothing.png").string()));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace orvo
