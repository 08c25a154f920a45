// Icons the sandbox decodes from files in an image: .ico with bitmap and PNG entries,
// program files with icon groups, and damaged data.
#include <gtest/gtest.h>

#include "icon_painter.h"
#include "platform/png_codec.h"
#include "platform/sandbox/icon_file.h"

namespace orvo::os::sandbox {
namespace {

Pixels Square(int size, uint32_t argb) {
  return {size, size, std::vector<uint32_t>(size_t(size) * size, argb)};
}

// A picture whose left half is opaque red and right half transparent.
Pixels Half(int size) {
  Pixels p = Square(size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size / 2; ++x) p.argb[size_t(y) * size + x] = 0xFFFF0000;
  }
  return p;
}

TEST(IconFile, TakesThe32PixelEntryOfAnIcoFile) {
  const std::string ico =
      tools::WriteIcoFile({Square(16, 0xFF00FF00), Half(32), Square(48, 0xFF0000FF)});
  const auto icon = DecodeLargeIcon(ico);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->width, 32);
  EXPECT_EQ(icon->argb[5 * 32 + 2], 0xFFFF0000u);
  EXPECT_EQ(icon->argb[5 * 32 + 30] >> 24, 0u);  // the mask made it transparent
}

TEST(IconFile, ScalesTheNearestLargerEntryWhenThereIsNo32) {
  const auto from_png_entry =
      DecodeLargeIcon(tools::WriteIcoFile({Square(16, 0xFF00FF00), Square(64, 0xFF0000FF)}));
  ASSERT_TRUE(from_png_entry.has_value());
  EXPECT_EQ(from_png_entry->width, 32);
  EXPECT_EQ(from_png_entry->argb[0], 0xFF0000FFu);
  const auto only_small = DecodeLargeIcon(tools::WriteIcoFile({Square(16, 0xFF00FF00)}));
  ASSERT_TRUE(only_small.has_value());
  EXPECT_EQ(only_small->argb[31 * 32 + 31], 0xFF00FF00u);
  const auto png = DecodeLargeIcon(*EncodePng(Half(48)));
  ASSERT_TRUE(png.has_value());
  EXPECT_EQ(png->width, 32);
}

TEST(IconFile, ReadsTheIconGroupsOfAProgramFile) {
  const std::string exe =
      tools::WriteIconProgram({Square(16, 0xFF00FF00), Half(32), Square(48, 0xFF0000FF)});
  const auto icon = DecodeProgramIcon(exe, 0);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->argb[0], 0xFFFF0000u);
  EXPECT_TRUE(DecodeProgramIcon(exe, -1).has_value());  // group id 1
  EXPECT_FALSE(DecodeProgramIcon(exe, 1).has_value());  // there is one group only
  const Pixels canvas = OnCanvas(*icon, 48);
  EXPECT_EQ(canvas.width, 48);
  EXPECT_EQ(canvas.argb[0], 0xFFFF0000u);
  EXPECT_EQ(canvas.argb[40 * 48 + 40], 0u);
}

TEST(IconFile, DamagedFilesGiveNoIcon) {
  std::string ico = tools::WriteIcoFile({Half(32)});
  for (size_t cut :
       {size_t(0), size_t(5), size_t(21), size_t(40), ico.size() / 2, ico.size() - 1}) {
    (void)DecodeLargeIcon(ico.substr(0, cut));  // must not crash or read past the end
  }
  std::string lying = ico;
  lying[6 + 12] = '\x7F';  // data offset far outside
  EXPECT_FALSE(DecodeLargeIcon(lying).has_value());
  EXPECT_FALSE(DecodeLargeIcon("GIF89a").has_value());
  const std::string exe = tools::WriteIconProgram({Half(32)});
  for (size_t cut = 0; cut < exe.size(); cut += 97) (void)DecodeProgramIcon(exe.substr(0, cut), 0);
}

}  // namespace
}  // namespace orvo::os::sandbox
