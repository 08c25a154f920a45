#pragma once
// Text being edited, as the edit boxes keep it: UTF-16 units (carets and limits count
// those, as the system's edit controls do), a caret and an anchor (the selection lies
// between them), and one level of undo. Movement never stops inside a surrogate pair.
// The caret may be -1 ("none yet"); movement and insertion then start from 0.
#include <algorithm>
#include <string>
#include <string_view>

namespace orvo {

class TEditBuffer {
 public:
  const std::u16string& text() const { return text_; }
  int length() const { return static_cast<int>(text_.size()); }
  // Replaces the text without undo; the caret and anchor are kept inside it.
  void SetText(std::u16string text);

  int caret() const { return caret_; }
  int anchor() const { return anchor_; }
  bool HasSelection() const { return caret_ >= 0 && anchor_ >= 0 && caret_ != anchor_; }
  int SelMin() const { return HasSelection() ? std::min(caret_, anchor_) : caret_; }
  int SelMax() const { return HasSelection() ? std::max(caret_, anchor_) : caret_; }
  std::u16string Selected() const;
  // Both clamped to the text (-1 stays -1); the caret goes to `caret`.
  void Select(int anchor, int caret);
  // The caret to `pos`; the anchor follows unless the selection is extended.
  void MoveTo(int pos, bool extend);
  void SelectAll() { Select(0, length()); }
  // Left and Right as the system's edit boxes take them: by a character or (by_word) a
  // word; without `extend` a selection first collapses to its near end.
  void StepLeft(bool extend, bool by_word);
  void StepRight(bool extend, bool by_word);

  // Neighbouring positions: one character, one word (as Ctrl+arrows move).
  int Prev(int pos) const;
  int Next(int pos) const;
  int PrevWord(int pos) const;
  int NextWord(int pos) const;
  // The word around a position (a double click selects it): [start, end).
  void WordAt(int pos, int* start, int* end) const;

  // --- changes; each keeps the text before it as the undo text ---
  // The selection (or nothing) replaced by `s`, the caret after it.
  void ReplaceSelection(std::u16string_view s);
  // Backspace and Delete: the selection, else the character before / after the caret.
  // False when nothing was removed.
  bool DeleteBack();
  bool DeleteForward();
  // Exchanges the text with the undo text; the caret goes to the end.
  void SwapUndo();
  bool CanUndo() const { return has_undo_; }

 private:
  int Clamp(int pos) const;
  void SaveUndo();

  std::u16string text_;
  std::u16string undo_;
  bool has_undo_ = false;
  int caret_ = -1;
  int anchor_ = -1;
};

}  // namespace orvo
