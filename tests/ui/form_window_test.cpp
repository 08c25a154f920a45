// Forms with windows on the headless screen: what reaches the screen, moves both ways,
// modal loops and closing, the window's capture and cursor following the controls, hints,
// and timers.
#include <gtest/gtest.h>

#include "support/headless_screen.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/hint_window.h"
#include "ui/timer.h"

namespace orvo {
namespace {

class Block : public TControl {
 public:
  explicit Block(TColor c) { Color = c; }
  void Paint(Canvas& canvas) override { EraseBackground(canvas); }
  void MouseMove(TShiftState, int x, int y) override { last = {x, y}; }
  Point last{-1, -1};
};

TEST(FormWindow, ShownFormsPresentTheirPictureAndFollowMoves) {
  test::HeadlessScreen screen;
  TForm form;
  form.SetBounds(40, 30, 100, 60);
  form.Color = clWhite;
  auto* block = form.Make<Block>(clRed);
  block->SetBounds(10, 10, 20, 20);
  EXPECT_FALSE(form.HandleAllocated());
  form.Show();
  ASSERT_TRUE(form.Handle());
  EXPECT_EQ(form.Handle()->Bounds(), (Rect{40, 30, 140, 90}));
  screen->ProcessMessages();
  const os::Pixels on_screen = screen->RenderScreen();
  EXPECT_EQ(on_screen.argb[(30 + 15) * 1024 + 40 + 15], 0xFFFF0000u);
  EXPECT_EQ(on_screen.argb[(30 + 5) * 1024 + 40 + 5], 0xFFFFFFFFu);
  block->Color = clBlue;
  block->Invalidate();
  screen->ProcessMessages();
  EXPECT_EQ(screen->RenderWindow(*form.Handle()).argb[15 * 100 + 15], 0xFF0000FFu);
  form.SetBounds(200, 100, 120, 60);
  EXPECT_EQ(form.Handle()->Bounds(), (Rect{200, 100, 320, 160}));
  screen->MoveMouse(250, 105);
  screen->PressMouse();
  form.BeginSystemMove();
  screen->MoveMouse(260, 125);
  screen->ReleaseMouse();
  EXPECT_EQ(form.Left(), 210);
  EXPECT_EQ(form.Top(), 120);
  form.Hide();
}

TEST(FormWindow, ModalLoopsDisableTheOtherFormsAndEndWithTheResult) {
  test::HeadlessScreen screen;
  TForm main_form;
  main_form.SetBounds(0, 0, 300, 200);
  main_form.Show();
  TForm dialog;
  dialog.SetBounds(50, 50, 100, 80);
  auto* ok = dialog.Make<Block>(clNavy);
  ok->SetBounds(10, 10, 30, 20);
  ok->OnClick = [&](TControl&) { dialog.ModalResult = mrOk; };
  bool main_enabled_inside = true;
  screen->on_modal_idle = [&] {
    main_enabled_inside = main_form.Handle()->IsEnabled();
    screen->Click(70, 70);
    return true;
  };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_FALSE(main_enabled_inside);
  EXPECT_TRUE(main_form.Handle()->IsEnabled());
  EXPECT_FALSE(dialog.Shown());
  EXPECT_TRUE(main_form.Active());
  screen->on_modal_idle = [&] {
    dialog.Close();
    return true;
  };
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  screen->on_modal_idle = nullptr;
  EXPECT_EQ(dialog.ShowModal(), mrCancel);  // nothing could ever end it: given up
  main_form.Hide();
}

TEST(FormWindow, ClosingAsksAndTheMainFormEndsTheProgram) {
  test::HeadlessScreen screen;
  TForm form;
  form.SetBounds(0, 0, 100, 100);
  Application().MainForm = &form;
  form.Show();
  bool allow = false;
  form.OnCloseQuery = [&](TForm&, bool& can_close) { can_close = allow; };
  screen->RequestClose(*form.Handle());
  EXPECT_TRUE(form.Shown());
  allow = true;
  form.OnClose = [](TForm&, TCloseAction& action) { action = caMinimize; };
  form.Close();
  EXPECT_TRUE(form.Minimized());
  EXPECT_FALSE(Application().Terminated());
  form.OnClose = nullptr;
  form.Close();
  EXPECT_FALSE(form.Shown());
  EXPECT_TRUE(Application().Terminated());
}

TEST(FormWindow, WindowCaptureAndCursorFollowTheControls) {
  test::HeadlessScreen screen;
  TForm form;
  form.SetBounds(100, 100, 100, 100);
  auto* block = form.Make<Block>(clRed);
  block->SetBounds(10, 10, 20, 20);
  block->Cursor = crHandPoint;
  form.Show();
  screen->MoveMouse(115, 115);
  EXPECT_EQ(screen->Cursor(), os::CursorShape::kHand);
  screen->PressMouse();
  EXPECT_TRUE(form.Handle()->HasCapture());
  screen->MoveMouse(400, 300);  // outside the window, still the block's
  EXPECT_EQ(block->last, (Point{290, 190}));
  screen->ReleaseMouse();
  EXPECT_FALSE(form.Handle()->HasCapture());
  screen->MoveMouse(150, 150);
  EXPECT_EQ(screen->Cursor(), os::CursorShape::kArrow);
  form.Hide();
}

TEST(FormWindow, HintsShowAfterThePauseBelowThePointerAndGoOnPress) {
  test::HeadlessScreen screen;
  TForm form;
  form.SetBounds(100, 100, 200, 100);
  auto* panel = form.Make<TWinControl>();
  panel->SetBounds(0, 0, 200, 100);
  panel->ShowHint = true;
  panel->Hint = "From the parent";
  auto* block = panel->Make<Block>(clRed);
  block->SetBounds(10, 10, 20, 20);
  form.Show();
  screen->MoveMouse(115, 115);
  screen->AdvanceTime(Application().HintPause - 10);
  EXPECT_FALSE(Application().HintShowing());
  screen->AdvanceTime(20);
  ASSERT_TRUE(Application().HintShowing());
  THintWindow& hint = *Application().HintWindow();
  EXPECT_EQ(hint.Text(), "From the parent");
  EXPECT_EQ(hint.Top(), 115 + 20);
  EXPECT_FALSE(hint.Handle()->IsActive());
  screen->PressMouse();
  EXPECT_FALSE(Application().HintShowing());
  screen->ReleaseMouse();
  block->ShowHint = true;  // its own, empty hint: none
  screen->MoveMouse(250, 150);
  screen->MoveMouse(116, 116);
  screen->AdvanceTime(Application().HintPause + 10);
  EXPECT_FALSE(Application().HintShowing());
  block->ShowHint = false;
  screen->MoveMouse(250, 150);
  screen->AdvanceTime(Application().HintPause + 10);
  EXPECT_TRUE(Application().HintShowing());
  screen->AdvanceTime(Application().HintHidePause);
  EXPECT_FALSE(Application().HintShowing());
  form.Hide();
}

TEST(FormWindow, TimersTickUntilStoppedEvenFromTheirOwnTick) {
  test::HeadlessScreen screen;
  int ticks = 0;
  auto timer = std::make_unique<TTimer>();
  timer->SetInterval(100);
  timer->OnTimer = [&](TTimer& t) {
    if (++ticks == 2) t.SetEnabled(false);
  };
  timer->SetEnabled(true);
  screen->AdvanceTime(1000);
  EXPECT_EQ(ticks, 2);
  timer->OnTimer = [&](TTimer&) {
    ++ticks;
    timer.reset();  // freed by its own tick
  };
  timer->SetEnabled(true);
  screen->AdvanceTime(1000);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(timer);
}

}  // namespace
}  // namespace orvo
