// The message box with the shared module's skins, answered by injected input from inside
// its modal loop: Esc, Enter, the arrows, presses released inside and outside the buttons,
// the close button; its size rule for short and long messages; one box at a time.
#include <gtest/gtest.h>

#include <functional>

#include "support/headless_screen.h"
#include "ui/image_module.h"

namespace orvo {
namespace {

struct BoxScene {
  test::HeadlessScreen screen;
  TimgModule module;
  TForm owner;
  TLumMessageBox& box = module.msgdlg;
  BoxScene() {
    owner.SetBounds(100, 100, 600, 400);
    owner.Show();
  }
  ~BoxScene() { owner.Hide(); }
  // Shows a box and answers it with `answer` once it waits for input.
  int Show(int kind, const std::function<void()>& answer, const std::string& message = "Sure?") {
    bool answered = false;
    screen->on_modal_idle = [&] {
      if (answered) return false;
      answered = true;
      answer();
      return true;
    };
    const int result = box.ShowMessageBox("Title", message, nullptr, false, &owner, kind, 0);
    screen->on_modal_idle = nullptr;
    return result;
  }
  Point ScreenPoint(const Rect& r, int dx = 0) const {
    const TForm& f = *box.Form();
    return {f.Left() + (r.left + r.right) / 2 + dx, f.Top() + (r.top + r.bottom) / 2};
  }
  void ClickIn(const Rect& r) {
    const Point p = ScreenPoint(r);
    screen->Click(p.x, p.y);
  }
};

TEST(LumMessageBox, KeysGiveTheirResults) {
  struct Case {
    int kind;
    std::vector<uint16_t> keys;
    int result;
  };
  const Case cases[] = {
      {kMsgYesNo, {kVkEscape}, kMsgResultOk},  // neither Yes nor No
      {kMsgOk, {kVkEscape}, kMsgResultOk},
      {kMsgOk, {kVkReturn}, kMsgResultNo},      // OK holds the focus as first
      {kMsgYesNo, {kVkReturn}, kMsgResultYes},  // Yes holds the focus
      {kMsgYesNo, {kVkRight, kVkReturn}, kMsgResultNo},
      {kMsgYesNo, {kVkLeft, kVkUp, kVkReturn}, kMsgResultYes},
      {kMsgOk, {kVkRight, kVkReturn}, kMsgResultNo},  // arrows move only between two
  };
  for (const Case& c : cases) {
    BoxScene s;
    const int result = s.Show(c.kind, [&] {
      for (uint16_t key : c.keys) s.screen->PressKey(key);
    });
    EXPECT_EQ(result, c.result) << "kind " << c.kind << ", keys " << c.keys.size();
    EXPECT_FALSE(s.box.Busy());
    EXPECT_FALSE(s.box.Form()->Shown());
  }
}

TEST(LumMessageBox, ButtonsAnswerOnlyWhenPressedAndReleasedOverThem) {
  BoxScene s;
  int presses = 0;
  const int yes = s.Show(kMsgYesNo, [&] {
    ++presses;
    // Press on Yes, release outside: nothing; then a proper click on Yes.
    const Point on = s.ScreenPoint(s.box.SecondButtonRect());
    s.screen->MoveMouse(on.x, on.y);
    s.screen->PressMouse();
    s.screen->MoveMouse(on.x, on.y + 60);
    s.screen->ReleaseMouse();
    EXPECT_TRUE(s.box.Busy());
    EXPECT_EQ(s.box.Form()->ModalResult, mrNone);
    s.ClickIn(s.box.SecondButtonRect());
  });
  EXPECT_EQ(yes, kMsgResultYes);
  EXPECT_EQ(s.Show(kMsgYesNo, [&] { s.ClickIn(s.box.FirstButtonRect()); }), kMsgResultNo);
  EXPECT_EQ(s.Show(kMsgYesNo, [&] { s.ClickIn(s.box.CloseRect()); }), kMsgResultNo);
  EXPECT_EQ(s.Show(kMsgOk, [&] { s.ClickIn(s.box.CloseRect()); }), kMsgResultOk);
  EXPECT_EQ(s.Show(kMsgOk, [&] { s.ClickIn(s.box.FirstButtonRect()); }), kMsgResultOk);
  EXPECT_EQ(s.Show(kMsgOk, [&] { s.screen->RequestClose(*s.box.Form()->Handle()); }), kMsgResultNo);
}

TEST(LumMessageBox, PressingAButtonMovesTheFocus) {
  BoxScene s;
  const int result = s.Show(kMsgYesNo, [&] {
    EXPECT_TRUE(s.box.SecondFocused());
    const Point on = s.ScreenPoint(s.box.FirstButtonRect());
    s.screen->MoveMouse(on.x, on.y);
    s.screen->PressMouse();
    s.screen->MoveMouse(on.x, on.y + 60);
    s.screen->ReleaseMouse();
    EXPECT_TRUE(s.box.FirstFocused());
    s.screen->PressKey(kVkReturn);
  });
  EXPECT_EQ(result, kMsgResultNo);
}

TEST(LumMessageBox, ShortMessagesKeepTheSkinsSizeLongOnesWidenByAThird) {
  BoxScene s;
  s.Show(
      kMsgOk, [&] { s.screen->PressKey(kVkEscape); }, "Short.");
  EXPECT_EQ(s.box.Composed().width(), 296);
  EXPECT_EQ(s.box.Composed().height(), 169);
  const std::string long_message(300, 'x');
  Bitmap32 scratch(1, 1);
  scratch.canvas().font = s.box.FontMsg;
  const Size line = scratch.canvas().TextExtent(long_message);
  s.Show(
      kMsgOk, [&] { s.screen->PressKey(kVkEscape); }, long_message);
  const int expected = s.box.ImgMsg.width() + line.cx / 3 + 2 * s.box.AlphaWidth + 10;
  ASSERT_GT(expected, 296);
  EXPECT_EQ(s.box.Composed().width(), expected);
  EXPECT_EQ(s.box.Form()->Width(), expected);
  // Three rows of text, the message between the icon and the right margin.
  EXPECT_EQ(s.box.MessageRect().height(), (line.cy + 2) * 3);
  EXPECT_EQ(s.box.MessageRect().right, expected - s.box.AlphaWidth - 4);
}

TEST(LumMessageBox, CentredOnTheOwnerOrTheWorkAreaAndOneAtATime) {
  BoxScene s;
  int nested = -1;
  s.Show(kMsgOk, [&] {
    const TForm& f = *s.box.Form();
    EXPECT_EQ(f.Left(), 100 + (600 - f.Width()) / 2);
    EXPECT_EQ(f.Top(), 100 + (400 - f.Height()) / 2);
    nested = s.box.ShowMessageBox("Again", "Second", nullptr, true, nullptr, kMsgOk, 0);
    s.screen->PressKey(kVkEscape);
  });
  EXPECT_EQ(nested, 0);  // nothing shown while a box is up
  bool centred = false;
  s.screen->on_modal_idle = [&] {
    const TForm& f = *s.box.Form();
    centred = f.Left() == (1024 - f.Width()) / 2 && f.Top() == (728 - f.Height()) / 2;
    s.screen->PressKey(kVkEscape);
    return true;
  };
  s.box.ShowMessageBox("Title", "Centred", nullptr, true, &s.owner, kMsgOk, 1);
  s.screen->on_modal_idle = nullptr;
  EXPECT_TRUE(centred);
}

TEST(LumMessageBox, DraggedFromAnyPointOutsideItsButtons) {
  BoxScene s;
  s.Show(kMsgOk, [&] {
    const TForm& f = *s.box.Form();
    const Point from{f.Left() + 60, f.Top() + 70};
    const int left = f.Left();
    s.screen->MoveMouse(from.x, from.y);
    s.screen->PressMouse();
    s.screen->MoveMouse(from.x + 1, from.y);
    s.screen->MoveMouse(from.x + 41, from.y);
    s.screen->ReleaseMouse();
    EXPECT_EQ(f.Left(), left + 40);
    s.screen->PressKey(kVkEscape);
  });
}

}  // namespace
}  // namespace orvo
