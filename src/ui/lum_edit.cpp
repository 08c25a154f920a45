// The edit's text, typing rules, keys, pointer and focus. Painting and caret placement are
// in lum_edit_draw.cpp.
#include "ui/lum_edit.h"

#include <algorithm>
#include <limits>

#include "platform/text.h"
#include "platform/window_system.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/lum_popup_menu.h"

namespace orvo {
namespace {

constexpr int kBlinkMs = 450;

// Ctrl without Alt: AltGr (Ctrl+Alt) types characters on many keyboards.
bool CtrlHeld() {
  const TShiftState s = KeyboardShiftState();
  return (s & ssCtrl) && !(s & ssAlt);
}

std::u16string FirstLine(std::u16string text) {
  const size_t end = text.find_first_of(u"\r\n");
  if (end != std::u16string::npos) text.resize(end);
  return text;
}

}  // namespace

TLumEdit::TLumEdit() {
  SetBounds(0, 0, 100, 25);
  TabStop = true;
  Cursor = crIBeam;
  Color = clWhite;
  blink_.SetInterval(kBlinkMs);
  blink_.OnTimer = [this](TTimer&) {
    caret_on_ = !caret_on_;
    Changed();
  };
}

TLumEdit::~TLumEdit() = default;

std::string TLumEdit::Text() const { return Utf16ToUtf8(buffer_.text()); }

void TLumEdit::SetText(const std::string& text) {
  std::u16string wide = Utf8ToUtf16(text);
  if (wide == buffer_.text()) return;
  buffer_.SetText(std::move(wide));
  offsets_valid_ = false;
  EnsureCaretVisible();
  Changed();
  if (OnChange) OnChange(*this);
}

void TLumEdit::TextEdited() {
  offsets_valid_ = false;
  EnsureCaretVisible();
  RestartBlink();
  Changed();
  if (OnChange) OnChange(*this);
}

void TLumEdit::CaretMoved() {
  EnsureCaretVisible();
  RestartBlink();
  Changed();
}

void TLumEdit::SetSelStart(int pos) {
  buffer_.Select(pos, pos);
  CaretMoved();
}

void TLumEdit::SetSelEnd(int pos) {
  if (pos < 0)
    buffer_.Select(buffer_.caret(), buffer_.caret());
  else
    buffer_.Select(std::max(buffer_.SelMin(), 0), pos);
  CaretMoved();
}

std::string TLumEdit::SelText() const { return Utf16ToUtf8(buffer_.Selected()); }

void TLumEdit::SetSelText(const std::string& text) {
  buffer_.ReplaceSelection(FirstLine(Utf8ToUtf16(text)));
  TextEdited();
}

void TLumEdit::SelectAll() {
  buffer_.SelectAll();
  CaretMoved();
}

void TLumEdit::SetPasswordChar(char16_t c) {
  if (c == password_char_) return;
  password_char_ = c;
  offsets_valid_ = false;
  Changed();
}

// --- clipboard ---

void TLumEdit::Copy() {
  // A password never leaves the box.
  if (password_char_ || !buffer_.HasSelection()) return;
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    system->SetClipboardText(Utf16ToUtf8(buffer_.Selected()));
  }
}

int TLumEdit::Room() const {
  if (MaxLength <= 0) return std::numeric_limits<int>::max();
  const int selected = buffer_.HasSelection() ? buffer_.SelMax() - buffer_.SelMin() : 0;
  return std::max(MaxLength - (buffer_.length() - selected), 0);
}

void TLumEdit::Paste() {
  os::WindowSystem* system = os::CurrentWindowSystem();
  if (!system) return;
  const std::optional<std::string> text = system->ClipboardText();
  if (!text) return;
  std::u16string wide = FirstLine(Utf8ToUtf16(*text));
  if (OnlyNumber)
    std::erase_if(wide, [](char16_t c) { return !((c >= '0' && c <= '9') || c == '.'); });
  const int room = Room();
  if (static_cast<int>(wide.size()) > room) {
    wide.resize(static_cast<size_t>(room));
    // Never half a surrogate pair.
    if (!wide.empty() && wide.back() >= 0xD800 && wide.back() <= 0xDBFF) wide.pop_back();
  }
  if (wide.empty() && !buffer_.HasSelection()) return;
  buffer_.ReplaceSelection(wide);
  TextEdited();
}

// --- keys ---

void TLumEdit::KeyPress(char16_t& key) {
  if (OnkeyPress) OnkeyPress(*this, key);
  switch (key) {
    case 0:
    case 13:
    case 27: return;
    case 1:  // Ctrl+A
      SelectAll();
      return;
    case 3:  // Ctrl+C
      if (KeyboardShiftState() & ssCtrl) Copy();
      return;
    case 8:  // Backspace
      if (!OnlyRead && buffer_.DeleteBack()) TextEdited();
      return;
    case 22:  // Ctrl+V
      if (!OnlyRead) Paste();
      return;
    case 24:  // Ctrl+X
      if (OnlyRead || password_char_ || !buffer_.HasSelection()) return;
      Copy();
      buffer_.ReplaceSelection({});
      TextEdited();
      return;
    case 26:  // Ctrl+Z
      if (!OnlyRead && buffer_.CanUndo()) {
        buffer_.SwapUndo();
        TextEdited();
      }
      return;
    default: break;
  }
  if (OnlyRead) return;
  // Other control characters (Tab, Ctrl+letters, Ctrl+Backspace) are not text.
  if (key < 32 || key == 127) return;
  if (OnlyNumber && !((key >= '0' && key <= '9') || key == '.')) return;
  if (CtrlHeld()) return;
  // A high surrogate needs room for its pair too, and a low one comes only after its
  // high half (which the limit may have refused).
  if (Room() < (key >= 0xD800 && key <= 0xDBFF ? 2 : 1)) return;
  if (key >= 0xDC00 && key <= 0xDFFF) {
    const int caret = buffer_.caret();
    const char16_t before = caret > 0 ? buffer_.text()[static_cast<size_t>(caret - 1)] : 0;
    if (buffer_.HasSelection() || before < 0xD800 || before > 0xDBFF) return;
  }
  buffer_.ReplaceSelection(std::u16string(1, key));
  TextEdited();
}

void TLumEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TLumUIParentControl::KeyDown(key, shift);
  const bool extend = (shift & ssShift) != 0;
  const bool ctrl = (shift & ssCtrl) != 0;
  switch (key) {
    case kVkLeft: buffer_.StepLeft(extend, ctrl); break;
    case kVkRight: buffer_.StepRight(extend, ctrl); break;
    case kVkHome: buffer_.MoveTo(0, extend); break;
    case kVkEnd: buffer_.MoveTo(buffer_.length(), extend); break;
    case kVkDelete:
      if (OnlyRead) return;
      if (extend) {  // Shift+Delete cuts
        char16_t cut = 24;
        KeyPress(cut);
      } else if (buffer_.DeleteForward()) {
        TextEdited();
      }
      return;
    case 0x2D:  // Insert: Ctrl copies, Shift pastes
      if (ctrl)
        Copy();
      else if (extend && !OnlyRead)
        Paste();
      return;
    default: return;
  }
  CaretMoved();
}

// --- pointer ---

void TLumEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseDown(button, shift, x, y);
  if (CanFocus() && !Focused()) SetFocus();
  if (button != mbLeft) return;
  if (!ImgExtra.empty() && ExtraButtonRect().Contains({x, y})) {
    extra_pressed_ = true;
    Changed();
    return;
  }
  const int pos = PosAtX(x);
  if (shift & ssDouble) {
    int start = 0, end = 0;
    buffer_.WordAt(pos, &start, &end);
    buffer_.Select(start, end);
  } else {
    buffer_.MoveTo(pos, (shift & ssShift) != 0);
    selecting_ = true;
  }
  CaretMoved();
}

void TLumEdit::MouseMove(TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseMove(shift, x, y);
  if (selecting_ && (shift & ssLeft)) {
    const int pos = PosAtX(x);
    if (pos != buffer_.caret()) {
      buffer_.MoveTo(pos, true);
      CaretMoved();
    }
    return;
  }
  const bool hot = !ImgExtra.empty() && ExtraButtonRect().Contains({x, y});
  if (hot != extra_hot_) {
    extra_hot_ = hot;
    Changed();
  }
}

void TLumEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseUp(button, shift, x, y);
  selecting_ = false;
  if (button == mbRight && PopupMenu) {
    const Point at = CursorScreenPos();
    PopupMenu->Popup(at.x, at.y);
    return;
  }
  if (button != mbLeft) return;
  if (extra_pressed_) {
    extra_pressed_ = false;
    Changed();
    if (ExtraButtonRect().Contains({x, y}) && OnBtnExtraClick) OnBtnExtraClick(*this);
    return;
  }
  if (ImageList && Imgindex >= 0 && OnImglistClick &&
      x < Boxoffset + MarginText + ImageList->ImgWidth) {
    OnImglistClick(*this);
  }
}

void TLumEdit::MouseLeave() {
  TLumUIParentControl::MouseLeave();
  if (extra_hot_) {
    extra_hot_ = false;
    Changed();
  }
}

// --- focus ---

void TLumEdit::DoEnter() {
  focused_ = true;
  RestartBlink();
  UpdateTextInputArea();
  Changed();
  TLumUIParentControl::DoEnter();
  if (OnGetFocus) OnGetFocus(*this);
}

void TLumEdit::DoExit() {
  focused_ = false;
  caret_on_ = false;
  selecting_ = false;
  blink_.SetEnabled(false);
  Changed();
  TLumUIParentControl::DoExit();
  if (OnLostFocus) OnLostFocus(*this);
}

void TLumEdit::RestartBlink() {
  if (!focused_) return;
  caret_on_ = true;
  blink_.Restart();
  blink_.SetEnabled(true);
  UpdateTextInputArea();
}

void TLumEdit::UpdateTextInputArea() {
  TForm* form = Form();
  if (!focused_ || !form || !form->Handle()) return;
  const Rect caret = CaretRect();
  const Point o = FormOrigin();
  form->Handle()->SetTextInputArea(
      {o.x + caret.left, o.y + caret.top, o.x + caret.right, o.y + caret.bottom});
}

void TLumEdit::Resize() {
  TLumUIParentControl::Resize();
  EnsureCaretVisible();
}

}  // namespace orvo
