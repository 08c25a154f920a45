// Skinned buttons driven by injected input on the headless screen: the status through
// hovering, pressing and disabling, which frames a strip of one, three or five frames
// gives, the hover fade's steps on the virtual clock, tab groups, the caption's place and
// its truncation hint.
#include <gtest/gtest.h>

#include "support/headless_screen.h"
#include "support/pixels.h"
#include "ui/form.h"
#include "ui/lum_button.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

// A strip of `count` 10 x 8 frames, frame k filled with grey level 10 * (k + 1).
PngImage Strip(int count) {
  PngImage strip(10 * count, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10 * count; ++x) {
      const uint32_t g = 10 * (x / 10 + 1);
      strip.SetPixel(x, y, MakeArgb(255, g, g, g));
    }
  }
  return strip;
}

struct Scene {
  test::HeadlessScreen screen;
  TForm form;
  TLumButton* button;
  explicit Scene(int frames) {
    form.SetBounds(100, 100, 200, 100);
    form.Color = clWhite;
    button = form.Make<TLumButton>();
    button->Name = "btn";
    button->SetTransparent(true);
    button->SetBounds(10, 10, 10, 8);
    button->BtnStateCount = frames;
    button->SetImgBtn(Strip(frames));
    form.Show();
    screen->ProcessMessages();
  }
  ~Scene() { form.Hide(); }
  // The grey level the button shows at its centre (0 = the white background).
  int Shown() {
    form.Update();
    const Argb p = form.Screen().Pixel(15, 14);
    return p == 0xFFFFFFFFu ? 0 : static_cast<int>(RedOf(p));
  }
  void Hover() { screen->MoveMouse(115, 114); }
  void Away() { screen->MoveMouse(250, 180); }
};

TEST(LumButton, StatusFollowsThePointerAndTheEnabledState) {
  Scene s(5);
  EXPECT_EQ(s.button->BtnStatus(), bsNormal);
  s.Hover();
  EXPECT_EQ(s.button->BtnStatus(), bsOver);
  s.screen->PressMouse();
  EXPECT_EQ(s.button->BtnStatus(), bsDown);
  s.Away();  // pressed, the pointer outside
  EXPECT_EQ(s.button->BtnStatus(), bsNormal);
  s.Hover();
  EXPECT_EQ(s.button->BtnStatus(), bsDown);
  s.screen->ReleaseMouse();
  EXPECT_EQ(s.button->BtnStatus(), bsOver);
  s.button->SetEnabled(false);
  EXPECT_EQ(s.button->BtnStatus(), bsDisable);
  s.button->SetEnabled(true);
  s.Away();
  EXPECT_EQ(s.button->BtnStatus(), bsNormal);
}

TEST(LumButton, FramesByStripLength) {
  struct Case {
    int frames;
    int normal, over, down, disabled;  // grey level shown, 0 = no frame
  };
  for (const Case& c : {Case{1, 0, 10, 0, 0}, Case{3, 10, 20, 30, 0}, Case{5, 10, 20, 30, 40}}) {
    Scene s(c.frames);
    EXPECT_EQ(s.Shown(), c.normal) << c.frames << " frames, normal";
    s.Hover();
    EXPECT_EQ(s.Shown(), c.over) << c.frames << " frames, over";
    s.screen->PressMouse();
    EXPECT_EQ(s.Shown(), c.down) << c.frames << " frames, down";
    s.screen->ReleaseMouse();
    s.button->SetEnabled(false);
    EXPECT_EQ(s.Shown(), c.disabled) << c.frames << " frames, disabled";
  }
}

TEST(LumButton, SelectedUsesTheSelectFrameOrFallsBackToDown) {
  Scene five(5);
  five.button->SetBtnStatus(bsSelect);
  five.button->Invalidate();
  EXPECT_EQ(five.Shown(), 50);
  Scene three(3);
  three.button->SetBtnStatus(bsSelect);
  three.button->Invalidate();
  EXPECT_EQ(three.Shown(), 30);
}

TEST(LumButton, FadeStepsTheOverFrameInAndOut) {
  Scene s(3);
  s.button->FadeEffect = true;
  s.button->FadeInterVal = 50;
  s.Hover();
  std::vector<int> levels;
  for (int tick = 0; tick < 17; ++tick) {
    s.screen->AdvanceTime(50);
    levels.push_back(s.button->FadeLevel());
  }
  // 185, 190, ... 255 while within 150..255; then the fade picture goes.
  EXPECT_EQ(levels.front(), 185);
  EXPECT_EQ(levels[14], 255);
  EXPECT_EQ(levels[15], 0);
  EXPECT_EQ(s.Shown(), 20);  // the plain over frame afterwards
  s.Away();
  levels.clear();
  for (int tick = 0; tick < 8; ++tick) {
    s.screen->AdvanceTime(50);
    levels.push_back(s.button->FadeLevel());
  }
  EXPECT_EQ(levels, (std::vector<int>{175, 170, 165, 160, 155, 150, 0, 0}));
}

TEST(LumButton, FadePictureIsTheOverFrameWithScaledAlpha) {
  Scene s(3);
  s.button->FadeEffect = true;
  s.Hover();
  s.screen->AdvanceTime(50);  // level 185
  s.form.Update();
  // 20 grey at alpha 185 over white: 20 * 185 / 255 + 255 * 70 / 255.
  const int expected = Rnd((20.0 * 185 + 255.0 * (255 - 185)) / 255);
  EXPECT_NEAR(RedOf(s.form.Screen().Pixel(15, 14)), expected, 1);
}

TEST(LumButton, TabButtonsOfAGroupDeselectEachOther) {
  test::HeadlessScreen screen;
  TForm form;
  form.SetBounds(0, 0, 300, 100);
  std::vector<TLumButton*> tabs;
  for (int i = 0; i < 3; ++i) {
    auto* b = form.Make<TLumButton>();
    b->SetBounds(10 + 60 * i, 10, 50, 20);
    b->AutoSize = false;
    b->ButtonTab = true;
    b->GroupIndex = i < 2 ? 1 : 2;
    tabs.push_back(b);
  }
  int selected = 0, clicks = 0;
  tabs[1]->OnSelect = [&](TControl&) { ++selected; };
  tabs[1]->OnClick = [&](TControl&) { ++clicks; };
  tabs[0]->Select();
  tabs[2]->Select();
  form.Show();
  screen->Click(85, 20);
  EXPECT_EQ(tabs[0]->BtnStatus(), bsNormal);
  EXPECT_EQ(tabs[1]->BtnStatus(), bsSelect);
  EXPECT_EQ(tabs[2]->BtnStatus(), bsSelect);  // another group
  screen->Click(85, 20);                      // already selected: nothing more
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(clicks, 1);
  form.Hide();
}

TEST(LumButton, CaptionPlaceAndTruncationHint) {
  test::HeadlessScreen screen;
  TForm form;
  form.SetBounds(0, 0, 300, 100);
  auto* b = form.Make<TLumButton>();
  b->AutoSize = false;
  b->SetBounds(0, 0, 80, 24);
  b->Hint = "own hint";
  b->SetCaption("OK");
  form.PaintAll();
  const int text = form.Screen().canvas().TextWidth("OK");
  EXPECT_EQ(b->CaptionRect().left, (80 - text) / 2);
  EXPECT_FALSE(b->Truncated());
  b->SetCaption("A caption much wider than the button");
  form.PaintAll();
  EXPECT_EQ(b->CaptionRect().left, 6);  // it would start left of 0
  EXPECT_EQ(b->CaptionRect().right, 78);
  EXPECT_TRUE(b->Truncated());
  EXPECT_EQ(b->Hint, "A caption much wider than the button");
  EXPECT_TRUE(b->ShowHint);
  b->SetCaption("OK");
  form.PaintAll();
  EXPECT_EQ(b->Hint, "own hint");
  EXPECT_FALSE(b->ShowHint);
}

TEST(LumButton, NineSlicedFramesTakeTheButtonsSizeAndAutoSizeTheFramesSize) {
  PngImage strip = Strip(2);
  TLumButton sliced;
  sliced.AutoSize = false;
  sliced.SetBounds(0, 0, 40, 30);
  sliced.BtnStateCount = 2;
  sliced.BtnSplit = TLumUIPadding(2, 2, 8, 6);
  sliced.SetImgBtn(strip);
  ASSERT_TRUE(sliced.Frame(bsNormal));
  EXPECT_EQ(sliced.Frame(bsNormal)->width(), 40);
  EXPECT_EQ(sliced.Frame(bsNormal)->height(), 30);
  TLumButton three;
  three.AutoSize = false;
  three.SetBounds(0, 0, 40, 30);
  three.BtnStateCount = 2;
  three.BtnSplit = TLumUIPadding(2, 0, 8, 0);
  three.SetImgBtn(strip);
  EXPECT_EQ(three.Height(), 8);  // a three-sliced button takes the frame's height
  EXPECT_EQ(three.Frame(bsOver)->width(), 40);
  TLumButton natural;
  natural.BtnStateCount = 2;
  natural.SetImgBtn(strip);
  EXPECT_EQ(natural.Width(), 10);
  EXPECT_EQ(natural.Height(), 8);
}

}  // namespace
}  // namespace orvo
