// Icons fitted into the square a window draws them in: a system icon on a larger canvas
// taken at its own size, large pictures shrunk with their proportions, small ones doubled,
// every one centred; a packed catalogue icon is drawn without being unpacked for good.
#include <gtest/gtest.h>

#include "shell/picture_fit.h"

namespace orvo {
namespace {

constexpr Argb kInk = 0xFF2080C0u;

PngImage Picture(int width, int height, Rect ink) {
  PngImage p(width, height);
  for (int y = ink.top; y < ink.bottom; ++y) {
    for (int x = ink.left; x < ink.right; ++x) p.SetPixel(x, y, kInk);
  }
  return p;
}

// Where the opaque pixels of a fitted picture lie.
Rect InkOf(const PngImage& p) {
  Rect r{p.width(), p.height(), 0, 0};
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      if ((p.Pixel(x, y) >> 24) < 128) continue;
      r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
           std::max(r.bottom, y + 1)};
    }
  }
  return r;
}

TEST(FitPicture, PlacesEveryKindOfIconInItsSquare) {
  struct Case {
    const char* name;
    PngImage picture;
    int size;
    Rect ink;
  };
  const Case cases[] = {
      // A 32-pixel system icon drawn at the corner of a 48 x 48 canvas: its own size.
      {"canvas icon into 32", Picture(48, 48, {0, 0, 32, 32}), 32, {0, 0, 32, 32}},
      {"canvas icon into 48", Picture(48, 48, {0, 0, 32, 32}), 48, {8, 8, 40, 40}},
      {"large shrinks", Picture(128, 128, {0, 0, 128, 128}), 48, {0, 0, 48, 48}},
      {"wide keeps its proportions", Picture(64, 32, {0, 0, 64, 32}), 48, {0, 12, 48, 36}},
      {"small is doubled", Picture(16, 16, {0, 0, 16, 16}), 48, {8, 8, 40, 40}},
      {"exact stays", Picture(48, 48, {4, 4, 44, 44}), 48, {4, 4, 44, 44}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PngImage fitted = FitPicture(c.picture, c.size);
    ASSERT_EQ(fitted.width(), c.size);
    ASSERT_EQ(fitted.height(), c.size);
    EXPECT_EQ(InkOf(fitted), c.ink);
  }
}

TEST(FitPicture, DrawsPackedCatalogueIconsAndNothingForNoPicture) {
  TPngImage icon(20, 20, std::vector<uint32_t>(400, kInk), PngColorType::kRgba);
  icon.Pack();
  const PngImage fitted = FittedPicture(icon, 48);
  EXPECT_EQ(InkOf(fitted), (Rect{4, 4, 44, 44}));  // doubled to 40, centred
  EXPECT_TRUE(icon.packed());                      // the catalogue's copy stays compressed
  EXPECT_TRUE(FittedPicture(TPngImage(), 48).empty());
  EXPECT_TRUE(FitPicture(PngImage(), 48).empty());
}

}  // namespace
}  // namespace orvo
