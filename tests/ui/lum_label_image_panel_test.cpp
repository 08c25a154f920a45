// Labels (truncation and the hint it lends, the literal ampersand, fonts by state), pictures
// (centre wins over stretch, stored images, auto size) and panels (three pieces and when
// the middle one fits, the colour layer over what lies beneath).
#include <gtest/gtest.h>

#include "support/headless_screen.h"
#include "support/pixels.h"
#include "ui/form.h"
#include "ui/lum_image.h"
#include "ui/lum_label.h"
#include "ui/lum_panel.h"

namespace orvo {
namespace {

TEST(LumLabel, TruncatedCaptionBecomesTheHintUntilItFitsAgain) {
  TForm form;
  form.SetBounds(0, 0, 400, 60);
  auto* label = form.Make<TLumLabel>();
  label->SetBounds(0, 0, 60, 20);
  label->Hint = "saved";
  label->SetCaption("A caption far wider than sixty pixels");
  form.PaintAll();
  EXPECT_TRUE(label->Truncated());
  EXPECT_EQ(label->Hint, "A caption far wider than sixty pixels");
  EXPECT_TRUE(label->ShowHint);
  label->SetWidth(390);
  form.PaintAll();
  EXPECT_FALSE(label->Truncated());
  EXPECT_EQ(label->Hint, "saved");
  EXPECT_FALSE(label->ShowHint);
  label->SetWordBreak(true);
  label->SetWidth(60);
  form.PaintAll();
  EXPECT_FALSE(label->Truncated());  // word break wraps instead
}

TEST(LumLabel, AmpersandIsDrawnLiterallyWithShowAccelChar) {
  auto ink = [](bool show_accel, const char* caption) {
    TForm form;
    form.SetBounds(0, 0, 120, 30);
    form.Color = clWhite;
    auto* label = form.Make<TLumLabel>();
    label->Color = clWhite;
    label->SetBounds(0, 0, 120, 30);
    label->font.color = clBlack;
    label->SetShowAccelChar(show_accel);
    label->SetCaption(caption);
    form.PaintAll();
    return test::InkBoundsRgb(form.Screen(), 0xFFFFFFFFu);
  };
  // Literal: "A&B" is wider than "AB"; with prefix processing it is "AB" with an underline.
  EXPECT_GT(ink(true, "A&B").width(), ink(true, "AB").width());
  EXPECT_LT(ink(false, "A&B").width(), ink(true, "A&B").width());
  EXPECT_GT(ink(false, "A&B").height(), ink(true, "AB").height());
}

TEST(LumLabel, FontFollowsHoverAndDisabling) {
  test::HeadlessScreen screen;
  TForm form;
  form.SetBounds(0, 0, 200, 40);
  form.Color = clWhite;
  auto* label = form.Make<TLumLabel>();
  label->Color = clWhite;
  label->SetBounds(0, 0, 200, 40);
  label->SetCaption("MMMM");
  label->font.color = clBlack;
  label->FontOver.color = clRed;
  label->FontDisable.color = clBlue;
  form.Show();
  // The darkest ink pixel's colour says which font drew (text may be smoothed).
  auto has = [&](TColor c) {
    form.Update();
    Argb darkest = 0xFFFFFFFFu;
    int best = 3 * 255;
    const Bitmap32& b = form.Screen();
    for (int y = 0; y < b.height(); ++y) {
      for (int x = 0; x < b.width(); ++x) {
        const Argb p = b.Pixel(x, y);
        const int sum = RedOf(p) + GreenOf(p) + BlueOf(p);
        if (sum < best) best = sum, darkest = p;
      }
    }
    const auto near = [](int got, int want) { return std::abs(got - want) < 96; };
    return near(RedOf(darkest), ColorRed(c)) && near(GreenOf(darkest), ColorGreen(c)) &&
           near(BlueOf(darkest), ColorBlue(c));
  };
  EXPECT_TRUE(has(clBlack));
  screen->MoveMouse(20, 20);
  EXPECT_TRUE(has(clRed));
  label->SetEnabled(false);
  EXPECT_TRUE(has(clBlue));
  label->SetEnabled(true);
  label->SetSupportMouseOverDown(false);
  EXPECT_TRUE(has(clBlack));
  form.Hide();
}

TEST(LumImage, CentreWinsOverStretchAndStoredImagesStandIn) {
  PngImage red(4, 4);
  std::fill(red.pixels().begin(), red.pixels().end(), 0xFFFF0000u);
  TForm form;
  form.SetBounds(0, 0, 20, 20);
  auto* image = form.Make<TLumImage>();
  image->Color = clWhite;
  image->SetBounds(0, 0, 20, 20);
  image->SetPicture(Picture::FromPng(red));
  image->SetCenter(true);
  image->SetStretch(true);
  form.PaintAll();
  EXPECT_EQ(test::InkBounds(form.Screen(), 0xFFFFFFFFu), (Rect{8, 8, 12, 12}));
  image->SetCenter(false);
  form.PaintAll();
  EXPECT_EQ(test::InkBounds(form.Screen(), 0xFFFFFFFFu), (Rect{0, 0, 20, 20}));

  TLumImageStorage storage;
  storage.Add().SetPicture(Picture::FromPng(PngImage(7, 5)));
  TLumImage stored;
  stored.AutoImageSize = true;
  stored.ImgStorage = &storage;
  stored.SetImageIndex(0);
  EXPECT_EQ(stored.Width(), 7);
  EXPECT_EQ(stored.Height(), 5);
  stored.SetImageIndex(3);  // out of range: nothing drawn, the size stays
  EXPECT_TRUE(stored.Image().empty());
  EXPECT_EQ(stored.Width(), 7);
}

TEST(LumPanel, MiddlePieceOnlyWhenItFits) {
  // Three pieces of 10: left red, middle green, right blue.
  PngImage skin(30, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 30; ++x) {
      skin.SetPixel(x, y, x < 10 ? 0xFFFF0000u : x < 20 ? 0xFF00FF00u : 0xFF0000FFu);
    }
  }
  for (int width : {30, 31, 60}) {
    TForm form;
    form.SetBounds(0, 0, 80, 10);
    auto* panel = form.Make<TLumPanel>();
    panel->Color = clWhite;
    panel->SetBounds(0, 0, width, 4);
    panel->SetImgSplit(TLumUIPadding(10, 0, 20, 0));
    panel->SetImgBack(skin);
    ASSERT_TRUE(panel->HasPieces());
    form.PaintAll();
    const bool middle = test::CountPixels(form.Screen(), 0xFF00FF00u) > 0;
    EXPECT_EQ(middle, width > 30) << "width " << width;
    EXPECT_EQ(form.Screen().Pixel(width - 1, 0), 0xFF0000FFu);
  }
}

TEST(LumPanel, ColourLayerBlendsOverWhatLiesBeneath) {
  TForm form;
  form.SetBounds(0, 0, 40, 20);
  form.Color = clWhite;
  auto* panel = form.Make<TLumPanel>();
  panel->SetBounds(0, 0, 40, 20);
  panel->Color = clBlack;
  panel->SetAlpha(128);
  form.PaintAll();
  // White under black at 128, blended twice: once as the background, once more on top.
  const int once = (255 * 127 + 127) / 255;
  const int twice = (once * 127 + 127) / 255;
  EXPECT_NEAR(RedOf(form.Screen().Pixel(5, 5)), twice, 1);
  panel->Color = clNone;  // no layer: the parent faded towards black instead
  panel->Invalidate();
  form.Update();
  EXPECT_NEAR(RedOf(form.Screen().Pixel(5, 5)), 128, 1);
}

}  // namespace
}  // namespace orvo
