// Bitmap storage rules and the canvas's shapes, origin, clip and saved states.
#include <gtest/gtest.h>

#include "graphics/canvas.h"
#include "graphics/png_image.h"
#include "support/pixels.h"

namespace orvo {
namespace {

using test::Filled;
using test::InkBounds;

TEST(Bitmap, ResizeClearsOnlyWhenTheSizeChanges) {
  Bitmap32 b(3, 2);
  EXPECT_EQ(test::CountPixels(b, 0), 6);
  b.Clear(0xFF112233);
  EXPECT_TRUE(b.SetSize(3, 2));
  EXPECT_EQ(b.Pixel(2, 1), 0xFF112233u);
  EXPECT_TRUE(b.SetSize(4, 2));
  EXPECT_EQ(test::CountPixels(b, 0), 8);
  EXPECT_TRUE(b.SetSize(-5, 7));
  EXPECT_TRUE(b.empty());
  EXPECT_EQ(b.Pixel(0, 0), b.outer_color());
  b.SetPixel(0, 0, 1);  // dropped, no crash
}

TEST(Bitmap, ResetAlphaKeepsColours) {
  Bitmap32 b = Filled(2, 2, 0x80ABCDEF);
  b.ResetAlpha();
  EXPECT_EQ(b.Pixel(1, 1), 0x00ABCDEFu);
  b.ResetAlpha(255);
  EXPECT_EQ(b.Pixel(0, 0), 0xFFABCDEFu);
}

TEST(Bitmap, CopyPartUsesTheOuterColourOutsideTheClip) {
  Bitmap32 b = Filled(4, 4, 0xFF0000FF);
  b.set_outer_color(0x11223344);
  b.set_clip_rect({1, 1, 4, 4});
  const Bitmap32 part = b.CopyPart({-1, 0, 3, 2});
  ASSERT_EQ(part.width(), 4);
  EXPECT_EQ(part.Pixel(0, 0), 0x11223344u);  // left of the bitmap
  EXPECT_EQ(part.Pixel(1, 0), 0x11223344u);  // inside the bitmap, outside its clip
  EXPECT_EQ(part.Pixel(2, 1), 0xFF0000FFu);
}

TEST(Bitmap, CopiesAreDeepAndMovesEmptyTheSource) {
  Bitmap32 a = Filled(2, 2, 0xFF010203);
  a.set_draw_mode(DrawMode::kBlend);
  Bitmap32 copy = a;
  copy.SetPixel(0, 0, 0);
  EXPECT_EQ(a.Pixel(0, 0), 0xFF010203u);
  EXPECT_EQ(copy.draw_mode(), DrawMode::kBlend);
  Bitmap32 moved = std::move(a);
  EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): the rule under test
  EXPECT_EQ(moved.Pixel(1, 1), 0xFF010203u);
  moved.canvas().FillRect({0, 0, 1, 1});  // the moved-to bitmap draws through its own canvas
  EXPECT_EQ(moved.Pixel(0, 0), 0xFFFFFFFFu);
}

TEST(Canvas, OriginClipAndSavedStates) {
  Bitmap32 b = Filled(10, 10, 0xFF000000);
  Canvas& c = b.canvas();
  c.brush.color = clWhite;
  c.Save();
  c.SetOrigin({3, 2});
  c.IntersectClip({0, 0, 4, 3});  // logical: device (3, 2) - (7, 5)
  c.FillRect({-5, -5, 50, 50});
  EXPECT_EQ(InkBounds(b, 0xFF000000), (Rect{3, 2, 7, 5}));
  EXPECT_EQ(c.ClipRect(), (Rect{0, 0, 4, 3}));
  c.Restore();
  EXPECT_EQ(c.origin(), (Point{0, 0}));
  c.brush.color = clRed;
  c.FillRect({0, 9, 1, 10});
  EXPECT_EQ(b.Pixel(0, 9), 0xFFFF0000u);
  c.brush.style = BrushStyle::kClear;
  c.FillRect({0, 0, 10, 10});
  EXPECT_EQ(b.Pixel(0, 0), 0xFF000000u);
}

TEST(Canvas, ShapesFollowGdiRules) {
  Bitmap32 b = Filled(8, 6, 0xFF000000);
  Canvas& c = b.canvas();
  c.pen.color = clRed;
  c.brush.color = clWhite;
  c.Rectangle({1, 1, 5, 4});
  EXPECT_EQ(b.Pixel(1, 1), 0xFFFF0000u);  // outline
  EXPECT_EQ(b.Pixel(4, 3), 0xFFFF0000u);  // right and bottom edges are inside the box
  EXPECT_EQ(b.Pixel(2, 2), 0xFFFFFFFFu);  // brush inside
  EXPECT_EQ(b.Pixel(5, 4), 0xFF000000u);

  b.Clear(0xFF000000);
  c.pen.color = clWhite;
  c.MoveTo(0, 5);
  c.LineTo(6, 5);  // the end point is not drawn
  EXPECT_EQ(InkBounds(b, 0xFF000000), (Rect{0, 5, 6, 6}));

  b.Clear(0xFF000000);
  c.brush.color = clWhite;
  c.pen.style = PenStyle::kClear;
  c.RoundRect({0, 0, 8, 6}, 6, 6);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF000000u);  // the corner is rounded off
  EXPECT_EQ(b.Pixel(4, 3), 0xFFFFFFFFu);
  EXPECT_EQ(b.Pixel(0, 3), 0xFFFFFFFFu);

  b.Clear(0xFF000000);
  c.brush.color = clBlue;
  c.FrameRect({2, 1, 6, 5});
  EXPECT_EQ(b.Pixel(2, 1), 0xFF0000FFu);
  EXPECT_EQ(b.Pixel(3, 2), 0xFF000000u);
  EXPECT_EQ(InkBounds(b, 0xFF000000), (Rect{2, 1, 6, 5}));
}

TEST(Canvas, PicturesLandWithTheirModes) {
  Bitmap32 b = Filled(4, 1, 0xFF0000FF);
  Canvas& c = b.canvas();
  PngImage half = test::FilledPng(1, 1, 0x80FF0000);
  c.DrawPng(0, 0, half);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF80007Fu);
  const Bitmap32 source = Filled(1, 1, 0x80FF0000);
  c.Draw(1, 0, source.view(), DrawMode::kOpaque);
  EXPECT_EQ(b.Pixel(1, 0), 0x80FF0000u);
  c.StretchDrawPng({2, 0, 4, 1}, test::FilledPng(1, 1, 0xFF00FF00));
  EXPECT_EQ(b.Pixel(3, 0), 0xFF00FF00u);
}

}  // namespace
}  // namespace orvo
