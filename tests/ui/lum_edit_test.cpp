// The single-line edit on the headless screen: the typing rules (numbers only, read only,
// a key-press handler's limit), the Ctrl keys and the clipboard, caret movement and
// selection as in the system's edit box, text beyond the box, the password mask, and the
// caret's blinking and input-method place.
#include <gtest/gtest.h>

#include "support/headless_screen.h"
#include "ui/edit_buffer.h"
#include "ui/form.h"
#include "ui/lum_edit.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

struct EditScene {
  test::HeadlessScreen screen;
  TForm form;
  TLumEdit* edit;
  int changes = 0;
  EditScene() {
    form.SetBounds(100, 100, 300, 100);
    edit = form.Make<TLumEdit>();
    edit->SetBounds(10, 10, 150, 24);
    edit->ImgEdit = SkinPng("edit_box");
    edit->Imgx1 = 4;
    edit->ImgX2 = 26;
    edit->ImgInput = SkinPng("edit_caret");
    edit->SkinChanged();
    edit->OnChange = [this](TLumEdit&) { ++changes; };
    form.Show();
    screen->ProcessMessages();
    edit->SetFocus();
  }
  ~EditScene() { form.Hide(); }
  void Ctrl(char letter) {
    screen->SetModifiers(os::kInCtrl);
    screen->Type(std::string(1, static_cast<char>(letter - 'A' + 1)));
    screen->SetModifiers(0);
  }
  void Key(uint16_t key, os::InputFlags modifiers = 0) {
    screen->SetModifiers(modifiers);
    screen->PressKey(key);
    screen->SetModifiers(0);
  }
};

TEST(EditBuffer, StepsNeverSplitPairsOrLineBreaksAndWordsEndAtSpacesAndPunctuation) {
  TEditBuffer b;
  b.SetText(u"ab\r\ncd \U0001F600x, yz");
  struct Step {
    int from;
    int prev, next, prev_word, next_word;
  };
  // a b \r \n c d _ hi lo x , _  y  z  (end)
  // 0 1 2  3  4 5 6 7  8  9 10 11 12 13 14
  for (const Step& s : {Step{4, 2, 5, 0, 7}, Step{2, 1, 4, 0, 4}, Step{9, 7, 10, 7, 10},
                        Step{12, 11, 13, 10, 14}, Step{14, 13, 14, 12, 14}}) {
    EXPECT_EQ(b.Prev(s.from), s.prev) << s.from;
    EXPECT_EQ(b.Next(s.from), s.next) << s.from;
    EXPECT_EQ(b.PrevWord(s.from), s.prev_word) << s.from;
    EXPECT_EQ(b.NextWord(s.from), s.next_word) << s.from;
  }
  b.Select(3, 8);  // both ends inside something: moved to its start
  EXPECT_EQ(b.anchor(), 2);
  EXPECT_EQ(b.caret(), 7);
}

TEST(LumEdit, TypingRules) {
  struct Case {
    const char* name;
    bool only_number, only_read;
    const char* typed;
    const char* text;
  };
  const Case cases[] = {
      {"plain", false, false, "a7.b", "a7.b"},
      {"numbers only", true, false, "a7.b", "7."},
      {"read only", false, true, "a7", ""},
      {"control characters are not text", false, false, "a\tb\x02", "ab"},
  };
  for (const Case& c : cases) {
    EditScene s;
    s.edit->OnlyNumber = c.only_number;
    s.edit->OnlyRead = c.only_read;
    s.screen->Type(c.typed);
    EXPECT_EQ(s.edit->Text(), c.text) << c.name;
  }
}

TEST(LumEdit, FirstCharacterPutsTheCaretAfterIt) {
  EditScene s;
  EXPECT_EQ(s.edit->SelStart(), -1);
  s.screen->Type("x");
  EXPECT_EQ(s.edit->SelStart(), 1);
  EXPECT_EQ(s.edit->SelEnd(), -1);
}

TEST(LumEdit, AKeyPressHandlerLimitsTheLengthButEditingKeysPass) {
  EditScene s;
  s.edit->OnkeyPress = [](TLumEdit& e, char16_t& key) {
    static const std::u16string pass = u"\x01\x03\x08\x0D\x16\x18\x1A\x1B";
    if (e.Text().size() >= 25 && pass.find(key) == std::u16string::npos) key = 0;
  };
  s.screen->Type(std::string(30, 'n'));
  EXPECT_EQ(s.edit->Text().size(), 25u);
  s.screen->PressKey(kVkBack);
  EXPECT_EQ(s.edit->Text().size(), 24u);
  s.screen->SetClipboardText("pasted");
  s.Ctrl('V');  // pasting still reaches the box
  EXPECT_EQ(s.edit->Text().size(), 30u);
}

TEST(LumEdit, MaxLengthStopsTypingAndCutsAPasteToWhatFits) {
  EditScene s;
  s.edit->MaxLength = 10;
  s.screen->Type("abcdefgh");
  s.Key(kVkHome);
  s.Key(kVkRight);
  s.screen->SetClipboardText("123456");
  s.Ctrl('V');  // two fit; the text after the caret stays
  EXPECT_EQ(s.edit->Text(), "a12bcdefgh");
  s.screen->Type("x");
  EXPECT_EQ(s.edit->Text(), "a12bcdefgh");
  // A pair never goes in half: with one unit free, neither half does.
  s.Key(kVkBack);
  s.screen->SetClipboardText("\xF0\x9F\x98\x80");
  s.Ctrl('V');
  s.screen->Type("\xF0\x9F\x98\x80");
  EXPECT_EQ(s.edit->Text(), "a1bcdefgh");
  // Setting the text is not limited.
  s.edit->SetText("a text longer than ten units");
  EXPECT_EQ(s.edit->Text(), "a text longer than ten units");
}

TEST(LumEdit, CtrlKeysSelectCopyCutPasteAndUndo) {
  EditScene s;
  s.screen->Type("hello world");
  s.Ctrl('A');
  EXPECT_EQ(s.edit->SelStart(), 0);
  EXPECT_EQ(s.edit->SelEnd(), 11);
  s.Ctrl('C');
  EXPECT_EQ(s.screen->ClipboardText(), "hello world");
  s.Key(kVkHome);
  s.Key(kVkRight, os::kInShift | os::kInCtrl);  // the word and its space
  EXPECT_EQ(s.edit->SelText(), "hello ");
  s.Ctrl('X');
  EXPECT_EQ(s.edit->Text(), "world");
  EXPECT_EQ(s.screen->ClipboardText(), "hello ");
  s.Key(kVkEnd);
  s.Ctrl('V');
  EXPECT_EQ(s.edit->Text(), "worldhello ");
  s.Ctrl('Z');
  EXPECT_EQ(s.edit->Text(), "world");
  s.Ctrl('Z');  // one level: swaps back
  EXPECT_EQ(s.edit->Text(), "worldhello ");
  // Without Ctrl the clipboard character is no copy (and no text).
  s.edit->SelectAll();
  s.screen->SetClipboardText("kept");
  s.screen->Type("\x03");
  EXPECT_EQ(s.screen->ClipboardText(), "kept");
}

TEST(LumEdit, CaretMovesAndSelectsAsTheSystemBoxDoes) {
  EditScene s;
  s.screen->Type("one two three");
  s.Key(kVkLeft, os::kInCtrl);
  EXPECT_EQ(s.edit->CaretPos(), 8);
  s.Key(kVkLeft, os::kInShift);
  s.Key(kVkLeft, os::kInShift);
  EXPECT_EQ(s.edit->SelText(), "o ");
  s.Key(kVkLeft);  // a selection collapses to its start
  EXPECT_EQ(s.edit->CaretPos(), 6);
  EXPECT_EQ(s.edit->SelEnd(), -1);
  s.Key(kVkEnd, os::kInShift);
  EXPECT_EQ(s.edit->SelText(), "o three");
  s.Key(kVkDelete);
  EXPECT_EQ(s.edit->Text(), "one tw");
  s.Key(kVkHome);
  s.Key(kVkDelete);
  EXPECT_EQ(s.edit->Text(), "ne tw");
}

TEST(LumEdit, SurrogatePairsAndLineBreaksOfPastedText) {
  EditScene s;
  s.screen->Type("a\xF0\x9F\x98\x80");  // a, then one character of two UTF-16 units
  EXPECT_EQ(s.edit->CaretPos(), 3);
  s.screen->PressKey(kVkBack);
  EXPECT_EQ(s.edit->Text(), "a");
  s.screen->SetClipboardText("first line\r\nsecond");
  s.Ctrl('V');
  EXPECT_EQ(s.edit->Text(), "afirst line");
  s.edit->OnlyNumber = true;
  s.edit->SetText("");
  s.screen->SetClipboardText("12 apples, 3.5 kg");
  s.Ctrl('V');
  EXPECT_EQ(s.edit->Text(), "123.5");
}

TEST(LumEdit, PasswordNeverLeavesTheBox) {
  EditScene s;
  s.edit->SetPasswordChar(u'*');
  s.screen->Type("secret");
  s.screen->SetClipboardText("before");
  s.Ctrl('A');
  s.Ctrl('C');
  s.Ctrl('X');
  EXPECT_EQ(s.screen->ClipboardText(), "before");
  EXPECT_EQ(s.edit->Text(), "secret");
}

TEST(LumEdit, LongTextScrollsToKeepTheCaretInTheBox) {
  EditScene s;
  s.screen->Type(std::string(60, 'w'));
  const Rect area = s.edit->TextArea();
  EXPECT_GT(s.edit->ScrollX(), 0);
  Rect caret = s.edit->CaretRect();
  EXPECT_GE(caret.left, area.left);
  EXPECT_LE(caret.left, area.right);
  s.Key(kVkHome);
  EXPECT_EQ(s.edit->ScrollX(), 0);
  caret = s.edit->CaretRect();
  EXPECT_EQ(caret.left, area.left);
}

TEST(LumEdit, ClickPlacesTheCaretAndTheCaretBlinks) {
  EditScene s;
  s.screen->Type("abcdef");
  const Point o = s.form.ClientToScreen(s.edit->FormOrigin());
  s.screen->Click(o.x + s.edit->TextArea().left + 1, o.y + 12);
  EXPECT_EQ(s.edit->CaretPos(), 0);
  EXPECT_TRUE(s.edit->CaretShown());
  s.screen->AdvanceTime(450);
  EXPECT_FALSE(s.edit->CaretShown());
  s.screen->AdvanceTime(450);
  EXPECT_TRUE(s.edit->CaretShown());
  // The input method is told where the caret is (form coordinates).
  const Rect ime = s.screen->TextInputArea(*s.form.Handle());
  EXPECT_EQ(ime.left, 10 + s.edit->CaretRect().left);
  // Double click: the word.
  s.screen->DoubleClick(o.x + s.edit->TextArea().left + 5, o.y + 12);
  EXPECT_EQ(s.edit->SelText(), "abcdef");
}

}  // namespace
}  // namespace orvo
