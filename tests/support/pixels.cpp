// Pixel helpers and golden pictures for tests.
#include "support/pixels.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/image_codecs.h"

namespace orvo::test {
namespace {

std::string GoldenPath(const std::string& name, const char* suffix) {
  return std::string(ORVO_SOURCE_DIR) + "/tests/golden/" + name + suffix;
}

template <typename Same>
Rect Ink(const Bitmap32& b, Same same) {
  Rect r{b.width(), b.height(), 0, 0};
  for (int y = 0; y < b.height(); ++y) {
    for (int x = 0; x < b.width(); ++x) {
      if (same(b.Row(y)[x])) continue;
      r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
           std::max(r.bottom, y + 1)};
    }
  }
  return r.empty() ? Rect{} : r;
}

}  // namespace

Bitmap32 Filled(int width, int height, Argb color) {
  Bitmap32 b(width, height);
  b.Clear(color);
  return b;
}

PngImage FilledPng(int width, int height, Argb color) {
  PngImage png(width, height);
  std::fill(png.pixels().begin(), png.pixels().end(), color);
  return png;
}

Rect InkBounds(const Bitmap32& bitmap, Argb background) {
  return Ink(bitmap, [&](Argb p) { return p == background; });
}

Rect InkBoundsRgb(const Bitmap32& bitmap, Argb background) {
  return Ink(bitmap, [&](Argb p) { return ((p ^ background) & 0x00FFFFFFu) == 0; });
}

int CountPixels(const Bitmap32& bitmap, Argb color) {
  return static_cast<int>(
      std::count(bitmap.pixels(), bitmap.pixels() + bitmap.width() * bitmap.height(), color));
}

::testing::AssertionResult MatchesGolden(const Bitmap32& actual, const std::string& name) {
  const std::string expected_path = GoldenPath(name, ".png");
  if (const char* update = std::getenv("ORVO_UPDATE_GOLDEN"); update && *update == '1') {
    if (!SavePngFile(expected_path, actual)) {
      return ::testing::AssertionFailure() << "cannot write " << expected_path;
    }
    return ::testing::AssertionSuccess();
  }
  const auto expected = ReadPngFile(expected_path);
  const PngImage got = BitmapToPng(actual);
  if (expected && expected->SamePixels(got)) return ::testing::AssertionSuccess();

  SavePngFile(GoldenPath(name, ".actual.png"), got);
  if (!expected) {
    return ::testing::AssertionFailure()
           << "no golden " << expected_path << "; the actual picture is beside it";
  }
  if (expected->width() != got.width() || expected->height() != got.height()) {
    return ::testing::AssertionFailure()
           << name << ": size " << got.width() << "x" << got.height() << ", golden "
           << expected->width() << "x" << expected->height();
  }
  PngImage diff(got.width(), got.height());
  int differing = 0;
  for (size_t i = 0; i < diff.pixels().size(); ++i) {
    const Argb a = got.pixels()[i], e = expected->pixels()[i];
    if (a != e) ++differing;
    diff.pixels()[i] = a != e ? 0xFFFF0000u
                              : MakeArgb(255, 255 - (255 - RedOf(e)) / 4,
                                         255 - (255 - GreenOf(e)) / 4, 255 - (255 - BlueOf(e)) / 4);
  }
  SavePngFile(GoldenPath(name, ".diff.png"), diff);
  return ::testing::AssertionFailure()
         << name << ": " << differing << " pixels differ; see the .actual and .diff pictures";
}

}  // namespace orvo::test
