// The paint pipeline of the skinned bases: what shows through transparent controls, the
// opacity rules, painting into a parent's bitmap, and which changes ask for a repaint.
#include <gtest/gtest.h>

#include "support/pixels.h"
#include "support/sample_controls.h"
#include "ui/form.h"
#include "ui/lum_style.h"

namespace orvo {
namespace {

constexpr Argb kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00;

// A plain windowless control filling its colour, counting its paints.
class Swatch : public TControl {
 public:
  int paints = 0;
  void Paint(Canvas& canvas) override {
    ++paints;
    canvas.brush.color = Color;
    canvas.FillRect(ClientRect());
  }
};

// A skinned windowless control that draws one white pixel at its top-left corner.
class Marked : public TLumUIGraphicControl {
 public:
  void DrawControl(Bitmap32& b) override { b.SetPixel(0, 0, 0xFFFFFFFF); }
};

struct Scene {
  TForm form;
  Swatch* below;
  Marked* control;
  explicit Scene(const std::string& name) {
    form.SetBounds(0, 0, 60, 40);
    form.Color = clRed;
    below = form.Make<Swatch>();
    below->Color = clBlue;
    below->SetBounds(10, 10, 20, 20);
    control = form.Make<Marked>();
    control->Name = name;
    control->SetBounds(0, 0, 40, 40);
    control->SetTransparent(true);
  }
  Argb At(int x, int y) { return form.Screen().Pixel(x, y); }
};

TEST(Pipeline, TransparentControlShowsParentAndWindowlessSiblingsBelow) {
  Scene s("lblTitle");
  s.form.PaintAll();
  EXPECT_EQ(s.At(0, 0), 0xFFFFFFFFu);  // its own content
  EXPECT_EQ(s.At(5, 5), kRed);         // the form
  EXPECT_EQ(s.At(15, 15), kBlue);      // the sibling below, painted into its bitmap
  EXPECT_EQ(s.At(50, 20), kRed);       // beside the control
  EXPECT_EQ(s.below->paints, 2);       // by the form and into the control's background
}

TEST(Pipeline, PartialRepaintsGiveTheSamePicture) {
  Scene s("lblTitle");
  s.form.PaintAll();
  const Bitmap32 whole = s.form.Screen();
  s.form.Screen().Clear(0);
  s.form.InvalidateRect({12, 12, 18, 18});
  s.form.Update();
  EXPECT_EQ(test::InkBounds(s.form.Screen(), 0), (Rect{12, 12, 18, 18}));
  for (int y = 12; y < 18; ++y) {
    for (int x = 12; x < 18; ++x) ASSERT_EQ(s.At(x, y), whole.Pixel(x, y)) << x << "," << y;
  }
}

TEST(Pipeline, WithoutANameOnlyTheParentShows) {
  Scene s("");
  s.form.PaintAll();
  EXPECT_EQ(s.At(15, 15), kRed);
  EXPECT_EQ(s.below->paints, 1);
}

TEST(Pipeline, SiblingsOutsideHiddenAboveOrWindowedAreLeftOut) {
  Scene s("lbl");
  s.below->SetBounds(45, 0, 10, 10);  // beside the control
  auto* hidden = s.form.Make<Swatch>();
  hidden->SetBounds(0, 0, 10, 10);
  hidden->SetVisible(false);
  s.form.SendToBack(*hidden);
  auto* windowed = s.form.Make<TWinControl>();
  windowed->SetBounds(0, 0, 20, 20);
  s.form.SendToBack(*windowed);
  auto* above = s.form.Make<Swatch>();
  above->SetBounds(0, 30, 5, 5);
  s.form.PaintAll();
  EXPECT_EQ(s.below->paints, 1);
  EXPECT_EQ(hidden->paints, 0);
  EXPECT_EQ(above->paints, 1);
  EXPECT_EQ(s.At(15, 15), kRed);
}

TEST(Pipeline, OpacityRules) {
  Scene s("lbl");
  s.control->SetTransparent(false);
  s.control->Color = 0x00FF00;
  s.form.PaintAll();
  EXPECT_EQ(s.At(5, 5), kGreen);
  // Alpha 0 over clNone: the background fades all the way to black.
  s.control->Color = clNone;
  s.control->SetAlpha(0);
  s.form.PaintAll();
  EXPECT_EQ(s.At(5, 5) & 0x00FFFFFFu, 0u);
  EXPECT_EQ(s.At(15, 15) & 0x00FFFFFFu, 0u);
  // Alpha 128: rnd(128 * 255 / 255) of each channel, alpha 128 * 255 div 255.
  s.control->SetAlpha(128);
  s.form.PaintAll();
  EXPECT_EQ(s.At(5, 5), 0x80800000u);
  EXPECT_EQ(s.At(15, 15), 0x80000080u);
  s.control->SetAlpha(400);
  EXPECT_EQ(s.control->Alpha(), 255);
}

TEST(Pipeline, PaintIntoMakesItsAreaOpaque) {
  Scene s("lbl");
  Bitmap32 parent = test::Filled(60, 40, 0x000000FF);
  s.control->SetBounds(10, 5, 20, 10);
  s.control->PaintInto(parent);
  EXPECT_EQ(parent.Pixel(10, 5), 0xFFFFFFFFu);   // its content
  EXPECT_EQ(parent.Pixel(20, 10), 0xFF0000FFu);  // the copied background, now opaque
  EXPECT_EQ(parent.Pixel(9, 5), 0x000000FFu);    // outside: untouched
  EXPECT_EQ(parent.Pixel(30, 15), 0x000000FFu);

  s.control->CaptureBackground(test::Filled(60, 40, 0xFF123456));
  ASSERT_NE(s.control->BackgroundSnapshot(), nullptr);
  EXPECT_EQ(s.control->BackgroundSnapshot()->width(), 20);
  EXPECT_EQ(s.control->BackgroundSnapshot()->Pixel(19, 9), 0xFF123456u);
}

TEST(Pipeline, WindowedParentsPaintUnderTheirChildren) {
  TForm form;
  form.SetBounds(0, 0, 50, 50);
  form.Color = clRed;
  auto* panel = form.Make<test::SkinPanel>();
  panel->SetBounds(10, 10, 30, 30);
  panel->SetTransparent(true);
  panel->skin = test::FilledPng(4, 4, kBlue);
  auto* child = panel->Make<Marked>();
  child->Name = "child";
  child->SetBounds(2, 2, 10, 10);
  child->SetTransparent(true);
  form.PaintAll();
  EXPECT_EQ(form.Screen().Pixel(12, 12), 0xFFFFFFFFu);  // the child's mark
  EXPECT_EQ(form.Screen().Pixel(13, 13), kBlue);        // the panel's skin under the child
  EXPECT_EQ(form.Screen().Pixel(20, 20), kRed);         // the form under the panel
}

TEST(Pipeline, WhatAsksForARepaint) {
  Scene s("lbl");
  s.form.PaintAll();
  EXPECT_TRUE(s.form.InvalidRect().empty());
  s.control->SetAlpha(255);  // unchanged
  s.control->SetTransparent(true);
  EXPECT_TRUE(s.form.InvalidRect().empty());
  s.control->ComponentState = csLoading;
  s.control->SetAlpha(10);
  EXPECT_TRUE(s.form.InvalidRect().empty());
  s.control->ComponentState = 0;
  s.control->SetAlpha(20);
  EXPECT_EQ(s.form.InvalidRect(), (Rect{0, 0, 40, 40}));
  s.form.Update();
  // Entering repaints with hover tracking; a press only records the flag.
  s.form.MouseMoveAt(5, 5, 0);
  EXPECT_TRUE(s.control->MouseOver());
  EXPECT_FALSE(s.form.InvalidRect().empty());
  s.form.Update();
  s.form.MouseDownAt(mbLeft, 5, 5, ssLeft);
  EXPECT_TRUE(s.control->MouseIsDown());
  EXPECT_TRUE(s.form.InvalidRect().empty());
  s.form.MouseUpAt(mbLeft, 5, 5, 0);
  EXPECT_FALSE(s.control->MouseIsDown());
  s.control->SetTrackHover(false);
  s.form.MouseMoveAt(55, 5, 0);
  EXPECT_FALSE(s.control->MouseOver());
  EXPECT_TRUE(s.form.InvalidRect().empty());
  s.control->SetEnabled(false);
  EXPECT_FALSE(s.form.InvalidRect().empty());
}

TEST(Pipeline, StyleChangesReachTheControl) {
  struct Counting : TLumUIGraphicControl {
    int changes = 0;
    void StyleChanged() override { ++changes; }
  } control;
  TLumStyle style;
  control.SetStyle(&style);
  control.SetStyle(&style);
  EXPECT_EQ(control.changes, 1);
  control.ComponentState = csDesigning;
  control.SetStyle(nullptr);
  EXPECT_EQ(control.changes, 1);
  EXPECT_EQ(control.Style(), nullptr);
}

}  // namespace
}  // namespace orvo
