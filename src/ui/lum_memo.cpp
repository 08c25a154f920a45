// The multi-line box's operations, and the system's own box when there is one: made the
// first time the control is painted in a form that has a window, told the control's place
// after every paint of the form, and asked for everything while it lives.
#include "ui/lum_memo.h"

#include <algorithm>

#include "platform/text.h"

namespace orvo {
namespace {

// CR LF line breaks, whatever the text had.
std::u16string CrLf(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == '\r') {
      out += u"\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += u"\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

TLumMemo::TLumMemo() {
  SetBounds(0, 0, 185, 89);
  Color = clWhite;
  TabStop = true;
  Cursor = crIBeam;
  blink_.SetInterval(450);
  blink_.OnTimer = [this](TTimer&) {
    caret_on_ = !caret_on_;
    Changed();
  };
}

TLumMemo::~TLumMemo() {
  // While the form itself is being destroyed it is no form any more, and its window (with
  // the box inside) is already gone.
  if (hooked_form_ && Form() == hooked_form_) hooked_form_->RemoveWindowHook(this);
  native_.reset();
}

// --- the system's box ---

void TLumMemo::EnsureNative() {
  if (native_ || native_failed_) return;
  TForm* form = Form();
  os::WindowSystem* system = os::CurrentWindowSystem();
  if (!form || !form->Handle() || !system) return;
  native_ = system->NewTextBox(*form->Handle(), this);
  if (!native_) {
    native_failed_ = true;
    return;
  }
  hooked_form_ = form;
  form->AddWindowHook(this);
  LookChanged();
  native_->SetReadOnly(read_only_);
  native_->SetMaxLength(max_length_);
  native_->SetText(Utf16ToUtf8(buffer_.text()));
  native_->SetSelection(std::max(buffer_.SelMin(), 0), std::max(buffer_.SelMax(), 0));
  if (bar_) bar_->SetVisible(false);
  SyncNative();
  if (focused_) native_->Focus();
}

void TLumMemo::DropNative() {
  if (!native_) return;
  buffer_.SetText(Utf8ToUtf16(native_->Text()));
  int start = 0, end = 0;
  native_->Selection(&start, &end);
  buffer_.Select(start, end);
  native_.reset();
  if (hooked_form_) hooked_form_->RemoveWindowHook(this);
  hooked_form_ = nullptr;
  layout_valid_ = false;
}

void TLumMemo::SyncNative() {
  if (!native_) return;
  TForm* form = Form();
  if (form != hooked_form_) {
    DropNative();
    native_failed_ = false;
    return;
  }
  const Point o = FormOrigin();
  const Rect inner = Intersect(InnerRect().Offset(o.x, o.y), VisibleFormRect());
  native_->SetBounds(inner);
  native_->SetVisible(form->Shown() && Showing() && !inner.empty());
}

void TLumMemo::Painted() { SyncNative(); }

void TLumMemo::OnTextChanged() {
  if (OnChange) OnChange(*this);
}

void TLumMemo::OnFocusChanged(bool focused) {
  TForm* form = Form();
  if (!form) return;
  if (focused && form->ActiveControl() != this) form->SetActiveControl(this);
  if (!focused && form->ActiveControl() == this) form->SetActiveControl(nullptr);
}

void TLumMemo::LookChanged() {
  if (native_) {
    os::TextBoxLook look;
    const os::FontSpec spec = font.Spec();
    look.font_face = spec.face;
    look.font_em_pixels = spec.em_pixels > 0 ? spec.em_pixels : 11;
    look.bold = spec.bold;
    const Argb text = ColorToArgb(font.color), back = ColorToArgb(Color);
    look.text_rgb = text & 0xFFFFFF;
    look.background_rgb = back & 0xFFFFFF;
    native_->SetLook(look);
  }
  layout_valid_ = false;
  Changed();
}

// --- operations ---

std::string TLumMemo::Text() const {
  return native_ ? native_->Text() : Utf16ToUtf8(buffer_.text());
}

void TLumMemo::SetText(const std::string& text) {
  const std::u16string wide = CrLf(Utf8ToUtf16(text));
  if (native_) {
    native_->SetText(Utf16ToUtf8(wide));
    return;
  }
  buffer_.SetText(wide);
  buffer_.Select(0, 0);
  top_ = 0;
  layout_valid_ = false;
  Changed();
}

int TLumMemo::SelStart() const {
  if (native_) {
    int start = 0, end = 0;
    native_->Selection(&start, &end);
    return std::min(start, end);
  }
  return std::max(buffer_.SelMin(), 0);
}

int TLumMemo::SelLength() const {
  if (native_) {
    int start = 0, end = 0;
    native_->Selection(&start, &end);
    return std::abs(end - start);
  }
  return buffer_.HasSelection() ? buffer_.SelMax() - buffer_.SelMin() : 0;
}

void TLumMemo::SetSelection(int start, int length) {
  if (native_) {
    native_->SetSelection(start, start + length);
    return;
  }
  buffer_.Select(start, start + length);
  CaretMoved();
}

std::string TLumMemo::SelText() const {
  if (!native_) return Utf16ToUtf8(buffer_.Selected());
  const std::u16string text = Utf8ToUtf16(native_->Text());
  const size_t start = std::min(static_cast<size_t>(SelStart()), text.size());
  return Utf16ToUtf8(text.substr(start, static_cast<size_t>(SelLength())));
}

void TLumMemo::SetSelText(const std::string& text) {
  const std::u16string wide = CrLf(Utf8ToUtf16(text));
  if (native_) {
    native_->ReplaceSelection(Utf16ToUtf8(wide));
    return;
  }
  buffer_.ReplaceSelection(wide);
  Edited();
}

void TLumMemo::SelectAll() {
  if (native_) {
    native_->SetSelection(0, static_cast<int>(Utf8ToUtf16(native_->Text()).size()));
    return;
  }
  buffer_.SelectAll();
  CaretMoved();
}

void TLumMemo::CopyToClipboard() {
  if (native_) {
    native_->Copy();
    return;
  }
  if (!buffer_.HasSelection()) return;
  if (os::WindowSystem* system = os::CurrentWindowSystem()) {
    system->SetClipboardText(Utf16ToUtf8(buffer_.Selected()));
  }
}

void TLumMemo::CutToClipboard() {
  if (native_) {
    native_->Cut();
    return;
  }
  if (read_only_ || !buffer_.HasSelection()) return;
  CopyToClipboard();
  buffer_.ReplaceSelection({});
  Edited();
}

void TLumMemo::PasteFromClipboard() {
  if (native_) {
    native_->Paste();
    return;
  }
  if (read_only_) return;
  os::WindowSystem* system = os::CurrentWindowSystem();
  const std::optional<std::string> text = system ? system->ClipboardText() : std::nullopt;
  if (text) Insert(CrLf(Utf8ToUtf16(*text)));
}

void TLumMemo::Undo() {
  if (native_) {
    native_->Undo();
    return;
  }
  if (read_only_ || !buffer_.CanUndo()) return;
  buffer_.SwapUndo();
  Edited();
}

void TLumMemo::SetReadOnly(bool value) {
  read_only_ = value;
  if (native_) native_->SetReadOnly(value);
}

void TLumMemo::SetMaxLength(int value) {
  max_length_ = std::max(value, 0);
  if (native_) native_->SetMaxLength(max_length_);
}

int TLumMemo::LineCount() {
  if (native_) return native_->LineCount();
  LayOut();
  return static_cast<int>(lines_.size());
}

int TLumMemo::TopLine() { return native_ ? native_->FirstVisibleLine() : top_; }

void TLumMemo::ScrollLines(int lines) {
  if (native_) {
    native_->ScrollLines(lines);
    return;
  }
  SetTop(top_ + lines);
}

void TLumMemo::ScrollCaretIntoView() {
  if (native_) {
    native_->ScrollCaretIntoView();
    return;
  }
  LayOut();
  const int line = LineOf(std::max(buffer_.caret(), 0));
  if (line < top_)
    SetTop(line);
  else if (line >= top_ + VisibleLines())
    SetTop(line - VisibleLines() + 1);
}

// --- focus and place ---

void TLumMemo::DoEnter() {
  focused_ = true;
  if (native_) {
    if (!native_->HasFocus()) native_->Focus();
  } else {
    caret_on_ = true;
    blink_.Restart();
    blink_.SetEnabled(true);
    Changed();
  }
  TLumUIParentControl::DoEnter();
}

void TLumMemo::DoExit() {
  focused_ = false;
  caret_on_ = false;
  selecting_ = false;
  blink_.SetEnabled(false);
  if (native_ && native_->HasFocus()) native_->Blur();
  Changed();
  TLumUIParentControl::DoExit();
}

void TLumMemo::Resize() {
  TLumUIParentControl::Resize();
  layout_valid_ = false;
  SyncNative();
}

void TLumMemo::VisibleChanged() {
  TLumUIParentControl::VisibleChanged();
  SyncNative();
}

void TLumMemo::Paint(Canvas& canvas) {
  EnsureNative();
  TLumUIParentControl::Paint(canvas);
}

Rect TLumMemo::InnerRect() const {
  const int b = BorderColor != clNone ? 1 : 0;
  return {b + Padding, b + Padding, std::max(Width() - b - Padding, b + Padding),
          std::max(Height() - b - Padding, b + Padding)};
}

}  // namespace orvo
