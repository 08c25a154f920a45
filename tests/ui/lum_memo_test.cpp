// The multi-line box as the toolkit draws it (the headless screen has no text box of its
// own): line breaks kept as CR LF, word wrapping, Enter, caret movement across lines,
// selection and the clipboard, scrolling, and the length limit.
#include <gtest/gtest.h>

#include "support/headless_screen.h"
#include "ui/form.h"
#include "ui/image_module.h"
#include "ui/lum_memo.h"

namespace orvo {
namespace {

struct MemoScene {
  test::HeadlessScreen screen;
  TimgModule module;
  TForm form;
  TLumMemo* memo;
  int changes = 0;
  MemoScene() {
    form.SetBounds(100, 100, 400, 300);
    memo = form.Make<TLumMemo>();
    memo->SetBounds(10, 10, 200, 80);
    memo->VerScrollRes = &module.lmscrlbrs;
    memo->OnChange = [this](TLumMemo&) { ++changes; };
    form.Show();
    screen->ProcessMessages();
    memo->SetFocus();
  }
  ~MemoScene() { form.Hide(); }
  void Key(uint16_t key, os::InputFlags modifiers = 0) {
    screen->SetModifiers(modifiers);
    screen->PressKey(key);
    screen->SetModifiers(0);
  }
};

TEST(LumMemo, TheHeadlessScreenGetsTheToolkitsOwnBox) {
  MemoScene s;
  EXPECT_FALSE(s.memo->IsNative());
}

TEST(LumMemo, LineBreaksBecomeCrLfAndEnterStartsANewLine) {
  MemoScene s;
  s.memo->SetText("one\ntwo\rthree");
  EXPECT_EQ(s.memo->Text(), "one\r\ntwo\r\nthree");
  EXPECT_EQ(s.memo->LineCount(), 3);
  EXPECT_EQ(s.changes, 0);  // setting the text is not the user's change
  s.Key(kVkEnd, os::kInCtrl);
  s.screen->PressKey(kVkReturn);
  s.screen->Type("four");
  EXPECT_EQ(s.memo->Text(), "one\r\ntwo\r\nthree\r\nfour");
  EXPECT_GT(s.changes, 0);
  // A line break is one step of the caret, both ways.
  s.Key(kVkHome);
  s.Key(kVkLeft);
  EXPECT_EQ(s.memo->SelStart(), 15);
  s.screen->PressKey(kVkBack);  // the "e" before the break
  s.Key(kVkRight);
  s.screen->PressKey(kVkBack);  // the whole break
  EXPECT_EQ(s.memo->Text(), "one\r\ntwo\r\nthrefour");
}

TEST(LumMemo, LongLinesWrapAtSpacesAndUpDownKeepTheColumn) {
  MemoScene s;
  s.memo->SetText(
      "a rather long first paragraph that cannot fit on a single line of this box\r\nend");
  const int lines = s.memo->LineCount();
  EXPECT_GE(lines, 3);  // the paragraph takes two lines at least
  s.memo->SetSelection(4, 0);
  s.Key(kVkDown);
  const int below = s.memo->SelStart();
  EXPECT_GT(below, 4);
  s.Key(kVkUp);
  EXPECT_EQ(s.memo->SelStart(), 4);
  // Wrapped lines break at spaces: no word is cut.
  s.Key(kVkEnd);
  const std::string text = s.memo->Text();
  const int end_of_line = s.memo->SelStart();
  EXPECT_EQ(text[static_cast<size_t>(end_of_line) - 1], ' ');
}

TEST(LumMemo, SelectionAndClipboard) {
  MemoScene s;
  s.memo->SetText("alpha\r\nbeta");
  s.memo->SetSelection(3, 5);  // "ha\r\nb"
  EXPECT_EQ(s.memo->SelText(), "ha\r\nb");
  s.memo->CopyToClipboard();
  EXPECT_EQ(s.screen->ClipboardText(), "ha\r\nb");
  s.memo->CutToClipboard();
  EXPECT_EQ(s.memo->Text(), "alpeta");
  s.memo->PasteFromClipboard();
  EXPECT_EQ(s.memo->Text(), "alpha\r\nbeta");
  s.memo->Undo();
  EXPECT_EQ(s.memo->Text(), "alpeta");
  s.memo->SetReadOnly(true);
  s.screen->Type("x");
  s.memo->PasteFromClipboard();
  EXPECT_EQ(s.memo->Text(), "alpeta");
}

TEST(LumMemo, ScrollsByWheelAndFollowsTheCaret) {
  MemoScene s;
  std::string text;
  for (int i = 0; i < 30; ++i) text += "line " + std::to_string(i) + "\r\n";
  s.memo->SetText(text);
  s.screen->ProcessMessages();
  EXPECT_EQ(s.memo->TopLine(), 0);
  const Point p = s.form.ClientToScreen({50, 40});
  s.screen->MoveMouse(p.x, p.y);
  s.screen->Wheel(-os::kWheelDelta);
  EXPECT_EQ(s.memo->TopLine(), 3);
  s.Key(kVkEnd, os::kInCtrl);
  EXPECT_GT(s.memo->TopLine(), 20);
  s.Key(kVkHome, os::kInCtrl);
  EXPECT_EQ(s.memo->TopLine(), 0);
}

TEST(LumMemo, MaxLengthCutsTypingAndPasting) {
  MemoScene s;
  s.memo->SetMaxLength(6);
  s.screen->Type("abcd");
  s.screen->SetClipboardText("\r\nxyz");
  s.memo->PasteFromClipboard();  // "\r\n" fits, then nothing more
  EXPECT_EQ(s.memo->Text(), "abcd\r\n");
  s.screen->Type("q");
  EXPECT_EQ(s.memo->Text(), "abcd\r\n");
}

}  // namespace
}  // namespace orvo
