#pragma once
// Multi-line text entry (the ratings window's review text). On a window system that has a
// text box of its own (Windows' multi-line EDIT) the control hosts one inside its form's
// window, placed over the control's inner area and kept in step with it; elsewhere (the
// headless screen) the toolkit edits and draws the text itself: word-wrapped lines, a
// caret, selection, scrolling by wheel, keys and an optional skinned scroll bar, and the
// clipboard. Either way the operations below are the same, text uses CR LF line breaks,
// and positions count UTF-16 units.
//
//   +- BorderColor ------------------------------+
//   | Padding                                    |
//   |   text of the first line wraps at the      |^|
//   |   box's width|caret                        |#|  VerScrollRes (toolkit box only)
//   |                                            |v|
//   +--------------------------------------------+
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_system.h"
#include "ui/edit_buffer.h"
#include "ui/form.h"
#include "ui/glyph_widths.h"
#include "ui/lum_scroll_bar.h"
#include "ui/lum_ui_core.h"
#include "ui/timer.h"

namespace orvo {

class TLumMemo : public TLumUIParentControl, private os::TextBoxClient, private TFormWindowHook {
 public:
  TLumMemo();
  ~TLumMemo() override;

  // --- text ---
  std::string Text() const;
  // No OnChange (as the system's box): that is for what the user does.
  void SetText(const std::string& text);
  int SelStart() const;
  int SelLength() const;
  // The caret at start + length.
  void SetSelection(int start, int length);
  std::string SelText() const;
  void SetSelText(const std::string& text);
  void SelectAll();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool value);
  // UTF-16 units; 0 = no limit.
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int value);

  // --- scrolling ---
  int LineCount();
  int TopLine();
  void ScrollLines(int lines);
  void ScrollCaretIntoView();

  // --- look ---
  TColor BorderColor = MakeColor(206, 212, 221);
  int Padding = 4;
  TColor SelColor = MakeColor(179, 215, 243);
  TLumScrollBarRes* VerScrollRes = nullptr;
  // Font, colour or border changed: the system's box takes them too.
  void LookChanged();

  std::function<void(TLumMemo&)> OnChange;

  // The system's box hosts the text (false on the headless screen).
  bool IsNative() const { return native_ != nullptr; }
  os::NativeTextBox* Native() const { return native_.get(); }
  // Where the text goes (control coordinates): inside the border and padding.
  Rect InnerRect() const;
  bool CaretShown() const { return !native_ && focused_ && caret_on_; }
  Rect CaretRect();

  void DrawControl(Bitmap32& bitmap) override;
  void Paint(Canvas& canvas) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool MouseWheel(int delta, TShiftState shift, int x, int y) override;
  void DoEnter() override;
  void DoExit() override;
  void Resize() override;
  void VisibleChanged() override;

 private:
  struct Line {
    int start = 0;  // first unit
    int end = 0;    // after the last shown unit (before a line break)
    int next = 0;   // where the following line starts
  };

  // lum_memo.cpp: the system's box.
  void EnsureNative();
  void DropNative();
  void SyncNative();
  void OnTextChanged() override;
  void OnFocusChanged(bool focused) override;
  void Painted() override;

  // lum_memo_draw.cpp: the toolkit's box.
  void LayOut();
  int LineOf(int pos);
  int XOf(int line, int pos);
  int PosAt(Point p);
  int VisibleLines();
  void SetTop(int line);
  void UpdateBar();
  void Edited();
  void CaretMoved();
  void Insert(std::u16string text);

  std::unique_ptr<os::NativeTextBox> native_;
  TForm* hooked_form_ = nullptr;
  bool native_failed_ = false;

  TEditBuffer buffer_;
  bool read_only_ = false;
  int max_length_ = 0;
  TGlyphWidths widths_;
  std::vector<Line> lines_;
  int laid_width_ = -1;
  bool layout_valid_ = false;
  int top_ = 0;
  int goal_x_ = -1;
  bool focused_ = false;
  bool caret_on_ = false;
  bool selecting_ = false;
  TTimer blink_;
  TLumScrollBar* bar_ = nullptr;
};

}  // namespace orvo
