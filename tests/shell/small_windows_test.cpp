// The toasts and the wait window on the headless screen (virtual clock): where a toast
// lands and how it fits onto the work area, sliding in, the one-second life that the
// pointer extends, the 16-step fade and the free; the wait window's layer over its owner,
// its frames and the click that closes it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "shell/message_form.h"
#include "shell/wait_form.h"
#include "support/headless_screen.h"
#include "ui/skin_resources.h"

namespace orvo::test {
namespace {

uint32_t AlphaAt(const os::Pixels& p, int x, int y) {
  return p.argb[static_cast<size_t>(y) * p.width + x] >> 24;
}

class ToastTest : public ::testing::Test {
 protected:
  ~ToastTest() override { FreeAllToasts(); }

  TfrmMessage& Only() {
    const auto toasts = LiveToasts();
    EXPECT_EQ(toasts.size(), 1u);
    return *toasts.back();
  }
  os::Pixels Picture(TfrmMessage& toast) { return screen->RenderWindow(*toast.Handle()); }

  HeadlessScreen screen;  // 1024 x 768, work area 1024 x 728
};

TEST_F(ToastTest, SizedForItsTextAndPlacedBelowRightOfThePoint) {
  ShowSuccessToast({300, 200}, "Successfully set as default browser.");
  TfrmMessage& t = Only();
  const Rect text = t.TextRect();
  ASSERT_GT(text.width(), 50);
  EXPECT_LE(text.width(), 200);
  EXPECT_EQ(t.Width(), text.width() + 24 + 30);
  EXPECT_EQ(t.Height(), std::max(text.height(), 24) + 20);
  EXPECT_EQ(t.Left(), 301);
  EXPECT_EQ(t.Top(), 201);
  EXPECT_EQ(t.IconRect(), RectOfSize(15, (t.Height() - 24) / 2, 24, 24));
  EXPECT_EQ(text.left, 15 + 24 + 2);
  EXPECT_EQ(text.top, (t.Height() - text.height()) / 2);
  // Top-most, a tool window that leaves the activation where it was.
  EXPECT_TRUE(t.Handle()->IsTopMost());
  EXPECT_FALSE(t.Handle()->IsActive());
  EXPECT_TRUE(screen->IsLayered(*t.Handle()));
}

TEST_F(ToastTest, LongTextsWrapWithinTwoHundredPixelsAndTheToastGrows) {
  ShowErrorToast({10, 10},
                 "Failed to get rating information. The service did not answer, "
                 "so the stars stay as they are for now.");
  TfrmMessage& t = Only();
  EXPECT_LE(t.TextRect().width(), 200);
  EXPECT_GE(t.TextRect().height(), 3 * 11);
  EXPECT_EQ(t.Height(), t.TextRect().height() + 20);
  EXPECT_EQ(t.Kind(), ToastKind::kError);
}

// Where a toast's top-left corner must land, per axis.
enum Expect { kAtPoint, kFlushEnd, kWorkStart };

struct FitCase {
  const char* name;
  Point point;
  Expect x;
  Expect y;
};

TEST_F(ToastTest, FitsOntoTheWorkAreaOfItsMonitor) {
  const FitCase cases[] = {
      {"inside", {100, 100}, kAtPoint, kAtPoint},
      {"near the right edge", {1000, 100}, kFlushEnd, kAtPoint},
      {"near the taskbar", {100, 720}, kAtPoint, kFlushEnd},
      {"left of the screen", {-300, 100}, kWorkStart, kAtPoint},
      {"above the screen", {100, -500}, kAtPoint, kWorkStart},
  };
  const auto place = [](Expect e, int point, int size, int work_end) {
    return e == kAtPoint ? point + 1 : e == kFlushEnd ? work_end - size : 0;
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(c.name);
    ShowSuccessToast(c.point, "Successfully set as default browser.");
    TfrmMessage& t = *LiveToasts().back();
    const int left = place(c.x, c.point.x, t.Width(), 1024);
    const int top = place(c.y, c.point.y, t.Height(), 728);
    EXPECT_EQ(t.Left(), left);
    EXPECT_EQ(t.Top(), top);
    EXPECT_EQ(t.Handle()->Bounds(), (Rect{left, top, left + t.Width(), top + t.Height()}));
  }
}

TEST_F(ToastTest, SlidesInFromTheTopOverAHundredMilliseconds) {
  ShowSuccessToast({100, 100}, "Done.");
  TfrmMessage& t = Only();
  const int h = t.Height(), mid = t.Width() / 2;
  EXPECT_EQ(AlphaAt(Picture(t), mid, 1), 0u);  // nothing shows yet
  screen->AdvanceTime(40);
  os::Pixels p = Picture(t);
  // Two of five steps: the lower part of the toast shows at its top edge.
  const int shown = h * 2 / 5;
  EXPECT_EQ(AlphaAt(p, mid, shown / 2), 255u);
  EXPECT_EQ(AlphaAt(p, mid, shown + 2), 0u);
  screen->AdvanceTime(60);
  p = Picture(t);
  EXPECT_EQ(AlphaAt(p, mid, h / 2), 255u);
  EXPECT_EQ(AlphaAt(p, mid, h - 2), 255u);
  EXPECT_EQ(AlphaAt(p, 0, 0), 0u);  // the rounded corner lets the screen through
}

TEST_F(ToastTest, StaysASecondThenFadesInSixteenStepsAndIsFreed) {
  screen->MoveMouse(900, 600);
  ShowSuccessToast({100, 100}, "Done.");
  TfrmMessage& t = Only();
  const int cx = t.Width() / 2, cy = t.Height() / 2;
  screen->AdvanceTime(999);
  EXPECT_FALSE(t.Fading());
  screen->AdvanceTime(1);
  EXPECT_TRUE(t.Fading());
  EXPECT_EQ(t.Opacity(), 255);
  for (int n = 14; n >= 0; --n) {
    screen->AdvanceTime(50);
    ASSERT_EQ(t.Opacity(), n * 17);
    EXPECT_EQ(AlphaAt(Picture(t), cx, cy), static_cast<uint32_t>(n * 17));
  }
  EXPECT_EQ(LiveToasts().size(), 1u);
  screen->AdvanceTime(50);
  EXPECT_TRUE(LiveToasts().empty());
}

TEST_F(ToastTest, StaysWhileThePointerRestsOnIt) {
  ShowErrorToast({100, 100}, "Product cannot be verified by server.");
  TfrmMessage& t = Only();
  screen->MoveMouse(t.Left() + 20, t.Top() + 10);
  screen->AdvanceTime(5000);
  EXPECT_FALSE(t.Fading());
  EXPECT_EQ(AlphaAt(Picture(t), t.Width() / 2, t.Height() / 2), 255u);
  screen->MoveMouse(700, 700);
  screen->AdvanceTime(1000);
  EXPECT_TRUE(t.Fading());
  screen->AdvanceTime(800);
  EXPECT_TRUE(LiveToasts().empty());
}

TEST_F(ToastTest, TheTwoKindsWearTheirOwnColours) {
  ShowSuccessToast({100, 100}, "Yes.");
  ShowErrorToast({100, 300}, "No.");
  screen->AdvanceTime(100);
  const auto toasts = LiveToasts();
  ASSERT_EQ(toasts.size(), 2u);
  const auto pixel = [&](TfrmMessage& t) {
    // Right of the text, inside the flat middle of the background.
    return Picture(t).argb[static_cast<size_t>(t.Height() / 2) * t.Width() + t.Width() - 6];
  };
  const uint32_t green = pixel(*toasts[0]), red = pixel(*toasts[1]);
  EXPECT_GT((green >> 8) & 0xFF, (green >> 16) & 0xFF);
  EXPECT_GT((red >> 16) & 0xFF, (red >> 8) & 0xFF);
}

class WaitTest : public ::testing::Test {
 protected:
  WaitTest() {
    owner.SetBounds(12, 20, 1000, 700);
    owner.Show();
  }
  HeadlessScreen screen;
  TForm owner;
};

TEST_F(WaitTest, TheLayerCoversItsOwnerWithTheCardCentredAndPaintedAtOnce) {
  TfrmWait wait(owner);
  EXPECT_EQ(wait.BoundsRect(), RectOfSize(12 + 100, 20 + 100, 800, 500));
  wait.Show();
  // No time has passed: the first frame is there already.
  EXPECT_EQ(wait.Ticks(), 1);
  EXPECT_EQ(wait.BoundsRect(), RectOfSize(12, 20, 1000, 700));
  EXPECT_EQ(wait.FrameRect(), RectOfSize(405, 240, 190, 220));
  const os::Pixels p = screen->RenderWindow(*wait.Handle());
  ASSERT_EQ(p.width, 1000);
  ASSERT_EQ(p.height, 700);
  EXPECT_EQ(AlphaAt(p, 5, 5), 0u);
  EXPECT_EQ(AlphaAt(p, 500, 350), 255u);
  // The owner's middle is covered by the card; its corner shows through.
  EXPECT_EQ(screen->WindowAt({12 + 500, 20 + 350}), wait.Handle());
  EXPECT_EQ(screen->WindowAt({12 + 5, 20 + 5}), owner.Handle());
}

TEST_F(WaitTest, AFrameEveryEightyMillisecondsFourteenToATurn) {
  TfrmWait wait(owner);
  wait.Show();
  const PngImage first = SkinPng("wait_00");
  const auto card = [&] {
    const os::Pixels p = screen->RenderWindow(*wait.Handle());
    PngImage out(190, 220);
    for (int y = 0; y < 220; ++y) {
      for (int x = 0; x < 190; ++x)
        out.SetPixel(x, y, p.argb[static_cast<size_t>(240 + y) * 1000 + 405 + x]);
    }
    return out;
  };
  EXPECT_TRUE(card().SamePixels(first));
  screen->AdvanceTime(79);
  EXPECT_EQ(wait.Ticks(), 1);
  screen->AdvanceTime(1);
  EXPECT_EQ(wait.Ticks(), 2);
  EXPECT_TRUE(card().SamePixels(SkinPng("wait_01")));
  screen->AdvanceTime(80 * 12);
  EXPECT_TRUE(card().SamePixels(SkinPng("wait_13")));
  screen->AdvanceTime(80);  // tick 14: frame 0 again, never the fifteenth
  EXPECT_EQ(wait.Ticks(), 15);
  EXPECT_TRUE(card().SamePixels(first));
}

TEST_F(WaitTest, AClickOnTheCardClosesItAndStopsTheAnimation) {
  TfrmWait wait(owner);
  wait.Show();
  screen->Click(12 + 500, 20 + 350);
  EXPECT_FALSE(wait.Shown());
  const int ticks = wait.Ticks();
  screen->AdvanceTime(800);
  EXPECT_EQ(wait.Ticks(), ticks);
  // Shown again, it starts from its first frame.
  wait.Show();
  EXPECT_EQ(wait.Ticks(), 1);
  wait.Close();
  EXPECT_FALSE(wait.Shown());
}

}  // namespace
}  // namespace orvo::test
