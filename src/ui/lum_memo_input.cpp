// Keys, typing and the pointer of the toolkit's own multi-line box (the system's box takes
// its input itself): arrows by character, word and line (Up and Down keep the column they
// started from), Home and End of the line or (with Ctrl) of the text, page keys, Shift
// extending the selection, the clipboard keys, Enter starting a new line, and the wheel.
#include <algorithm>

#include "platform/text.h"
#include "ui/desktop.h"
#include "ui/lum_memo.h"

namespace orvo {

void TLumMemo::Edited() {
  layout_valid_ = false;
  goal_x_ = -1;
  CaretMoved();
  if (OnChange) OnChange(*this);
}

void TLumMemo::CaretMoved() {
  if (focused_) {
    caret_on_ = true;
    blink_.Restart();
  }
  ScrollCaretIntoView();
  Changed();
}

void TLumMemo::Insert(std::u16string text) {
  if (read_only_) return;
  if (max_length_ > 0) {
    const int selected = buffer_.HasSelection() ? buffer_.SelMax() - buffer_.SelMin() : 0;
    const int room = std::max(max_length_ - (buffer_.length() - selected), 0);
    if (static_cast<int>(text.size()) > room) {
      int keep = room;
      // Not half a line break or half a surrogate pair.
      if (keep > 0 && (text[static_cast<size_t>(keep - 1)] == '\r' ||
                       (text[static_cast<size_t>(keep - 1)] >= 0xD800 &&
                        text[static_cast<size_t>(keep - 1)] <= 0xDBFF))) {
        --keep;
      }
      text.resize(static_cast<size_t>(keep));
    }
    if (text.empty() && !buffer_.HasSelection()) return;
  }
  buffer_.ReplaceSelection(text);
  Edited();
}

void TLumMemo::KeyPress(char16_t& key) {
  TLumUIParentControl::KeyPress(key);
  if (native_) return;
  switch (key) {
    case 0:
    case 27:
    case 9: return;
    case 1: SelectAll(); return;
    case 3: CopyToClipboard(); return;
    case 8:
      if (!read_only_ && buffer_.DeleteBack()) Edited();
      return;
    case 13: Insert(u"\r\n"); return;
    case 22: PasteFromClipboard(); return;
    case 24: CutToClipboard(); return;
    case 26: Undo(); return;
    default: break;
  }
  if (key < 32 || key == 127) return;
  const TShiftState s = KeyboardShiftState();
  if ((s & ssCtrl) && !(s & ssAlt)) return;
  Insert(std::u16string(1, key));
}

void TLumMemo::KeyDown(uint16_t& key, TShiftState shift) {
  TLumUIParentControl::KeyDown(key, shift);
  if (native_) return;
  LayOut();
  const bool extend = (shift & ssShift) != 0;
  const bool ctrl = (shift & ssCtrl) != 0;
  const int caret = std::max(buffer_.caret(), 0);
  const int line = LineOf(caret);
  const int count = static_cast<int>(lines_.size());
  auto vertical = [&](int to_line) {
    if (goal_x_ < 0) goal_x_ = XOf(line, caret);
    to_line = std::clamp(to_line, 0, count - 1);
    const Rect inner = InnerRect();
    const int y = inner.top + (to_line - top_) * widths_.LineHeight();
    const int keep = goal_x_;
    buffer_.MoveTo(PosAt({inner.left + goal_x_, y}), extend);
    CaretMoved();
    goal_x_ = keep;
  };
  switch (key) {
    case kVkLeft: buffer_.StepLeft(extend, ctrl); break;
    case kVkRight: buffer_.StepRight(extend, ctrl); break;
    case kVkHome: buffer_.MoveTo(ctrl ? 0 : lines_[static_cast<size_t>(line)].start, extend); break;
    case kVkEnd:
      buffer_.MoveTo(ctrl ? buffer_.length() : lines_[static_cast<size_t>(line)].end, extend);
      break;
    case kVkUp: vertical(line - 1); return;
    case kVkDown: vertical(line + 1); return;
    case kVkPrior: vertical(line - VisibleLines()); return;
    case kVkNext: vertical(line + VisibleLines()); return;
    case kVkDelete:
      if (read_only_) return;
      if (extend)
        CutToClipboard();
      else if (buffer_.DeleteForward())
        Edited();
      return;
    default: return;
  }
  goal_x_ = -1;
  CaretMoved();
}

void TLumMemo::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseDown(button, shift, x, y);
  if (CanFocus() && !Focused()) SetFocus();
  if (native_ || button != mbLeft) return;
  const int pos = PosAt({x, y});
  if (shift & ssDouble) {
    int start = 0, end = 0;
    buffer_.WordAt(pos, &start, &end);
    buffer_.Select(start, end);
  } else {
    buffer_.MoveTo(pos, (shift & ssShift) != 0);
    selecting_ = true;
  }
  goal_x_ = -1;
  CaretMoved();
}

void TLumMemo::MouseMove(TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseMove(shift, x, y);
  if (native_ || !selecting_ || !(shift & ssLeft)) return;
  const int pos = PosAt({x, y});
  if (pos == buffer_.caret()) return;
  buffer_.MoveTo(pos, true);
  CaretMoved();
}

void TLumMemo::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLumUIParentControl::MouseUp(button, shift, x, y);
  selecting_ = false;
}

bool TLumMemo::MouseWheel(int delta, TShiftState, int, int) {
  int notches = delta / os::kWheelDelta;
  if (notches == 0) notches = delta > 0 ? 1 : -1;
  ScrollLines(-3 * notches);
  return true;
}

}  // namespace orvo
