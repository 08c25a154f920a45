// The edit boxes' text model.
#include "ui/edit_buffer.h"

#include <algorithm>

namespace orvo {
namespace {

bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Word characters: letters, digits and the underscore of any script; a word ends at
// spaces and punctuation, as the system's edit boxes see it.
bool IsWordChar(char16_t c) {
  if (c >= 0x80) return c != 0x00A0 && c != 0x3000;  // other scripts: all but spaces
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsSpace(char16_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x00A0; }

}  // namespace

int TEditBuffer::Clamp(int pos) const {
  if (pos < 0) return pos == -1 && caret_ == -1 ? -1 : 0;
  pos = std::min(pos, length());
  // Never between the two halves of a surrogate pair, nor inside a CR LF line break.
  if (pos > 0 && pos < length() && IsLow(text_[static_cast<size_t>(pos)])) --pos;
  if (pos > 0 && pos < length() && text_[static_cast<size_t>(pos)] == '\n' &&
      text_[static_cast<size_t>(pos - 1)] == '\r') {
    --pos;
  }
  return pos;
}

void TEditBuffer::SetText(std::u16string text) {
  text_ = std::move(text);
  if (caret_ > length()) caret_ = length();
  if (anchor_ > length()) anchor_ = length();
  caret_ = caret_ < 0 ? caret_ : Clamp(caret_);
  anchor_ = anchor_ < 0 ? anchor_ : Clamp(anchor_);
}

std::u16string TEditBuffer::Selected() const {
  if (!HasSelection()) return {};
  return text_.substr(static_cast<size_t>(SelMin()), static_cast<size_t>(SelMax() - SelMin()));
}

void TEditBuffer::Select(int anchor, int caret) {
  caret_ = caret < 0 ? -1 : Clamp(caret);
  anchor_ = anchor < 0 ? caret_ : Clamp(anchor);
}

void TEditBuffer::MoveTo(int pos, bool extend) {
  const int from = caret_ < 0 ? 0 : caret_;
  caret_ = Clamp(std::max(pos, 0));
  if (!extend || anchor_ < 0) anchor_ = extend ? from : caret_;
}

void TEditBuffer::StepLeft(bool extend, bool by_word) {
  const int from = std::max(caret_, 0);
  if (!extend && !by_word && HasSelection())
    MoveTo(SelMin(), false);
  else
    MoveTo(by_word ? PrevWord(from) : Prev(from), extend);
}

void TEditBuffer::StepRight(bool extend, bool by_word) {
  const int from = std::max(caret_, 0);
  if (!extend && !by_word && HasSelection())
    MoveTo(SelMax(), false);
  else
    MoveTo(by_word ? NextWord(from) : Next(from), extend);
}

int TEditBuffer::Prev(int pos) const {
  pos = std::clamp(pos, 0, length());
  if (pos == 0) return 0;
  --pos;
  if (pos > 0 && IsLow(text_[static_cast<size_t>(pos)])) --pos;
  if (pos > 0 && text_[static_cast<size_t>(pos)] == '\n' &&
      text_[static_cast<size_t>(pos - 1)] == '\r') {
    --pos;
  }
  return pos;
}

int TEditBuffer::Next(int pos) const {
  pos = std::clamp(pos, 0, length());
  if (pos >= length()) return length();
  ++pos;
  if (pos < length() && IsLow(text_[static_cast<size_t>(pos)])) ++pos;
  if (pos < length() && text_[static_cast<size_t>(pos)] == '\n' &&
      text_[static_cast<size_t>(pos - 1)] == '\r') {
    ++pos;
  }
  return pos;
}

int TEditBuffer::PrevWord(int pos) const {
  pos = std::clamp(pos, 0, length());
  while (pos > 0 && IsSpace(text_[static_cast<size_t>(pos - 1)])) --pos;
  if (pos > 0 && !IsWordChar(text_[static_cast<size_t>(pos - 1)])) return Prev(pos);
  while (pos > 0 && IsWordChar(text_[static_cast<size_t>(pos - 1)])) --pos;
  return Clamp(pos);
}

int TEditBuffer::NextWord(int pos) const {
  pos = std::clamp(pos, 0, length());
  const int n = length();
  if (pos < n && IsWordChar(text_[static_cast<size_t>(pos)])) {
    while (pos < n && IsWordChar(text_[static_cast<size_t>(pos)])) ++pos;
  } else if (pos < n && !IsSpace(text_[static_cast<size_t>(pos)])) {
    pos = Next(pos);
  }
  while (pos < n && IsSpace(text_[static_cast<size_t>(pos)])) ++pos;
  return Clamp(pos);
}

void TEditBuffer::WordAt(int pos, int* start, int* end) const {
  pos = std::clamp(pos, 0, length());
  int s = pos, e = pos;
  if (pos < length() && IsWordChar(text_[static_cast<size_t>(pos)])) {
    while (s > 0 && IsWordChar(text_[static_cast<size_t>(s - 1)])) --s;
    while (e < length() && IsWordChar(text_[static_cast<size_t>(e)])) ++e;
  } else if (pos < length()) {
    e = Next(pos);
  }
  *start = Clamp(s);
  *end = Clamp(e);
}

void TEditBuffer::SaveUndo() {
  undo_ = text_;
  has_undo_ = true;
}

void TEditBuffer::ReplaceSelection(std::u16string_view s) {
  SaveUndo();
  const int at = caret_ < 0 ? 0 : SelMin();
  const int end = caret_ < 0 ? 0 : SelMax();
  text_.replace(static_cast<size_t>(at), static_cast<size_t>(end - at), s);
  caret_ = anchor_ = at + static_cast<int>(s.size());
}

bool TEditBuffer::DeleteBack() {
  if (HasSelection()) {
    ReplaceSelection({});
    return true;
  }
  if (caret_ <= 0) return false;
  SaveUndo();
  const int from = Prev(caret_);
  text_.erase(static_cast<size_t>(from), static_cast<size_t>(caret_ - from));
  caret_ = anchor_ = from;
  return true;
}

bool TEditBuffer::DeleteForward() {
  if (HasSelection()) {
    ReplaceSelection({});
    return true;
  }
  const int at = caret_ < 0 ? 0 : caret_;
  if (at >= length()) return false;
  SaveUndo();
  text_.erase(static_cast<size_t>(at), static_cast<size_t>(Next(at) - at));
  caret_ = anchor_ = at;
  return true;
}

void TEditBuffer::SwapUndo() {
  if (!has_undo_) return;
  std::swap(text_, undo_);
  caret_ = anchor_ = length();
}

}  // namespace orvo
