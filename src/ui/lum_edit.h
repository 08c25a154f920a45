#pragma once
// A single-line text box drawn entirely by the toolkit: the ratings window's nickname, the
// list view's in-place editor and the combobox's input. Its box comes from a strip of
// EditStateCount frames, each cut in three at Imgx1 and ImgX2:
//
//   +--------+--------+---------+----------+
//   | normal |  hot   | focused | disabled |   ImgEdit
//   +--------+--------+---------+----------+
//   each frame:  [0, Imgx1) left | [Imgx1, ImgX2) middle, stretched | [ImgX2, w) right
//
//   +-[icon]-text text text|caret .............. [extra]-+
//    Boxoffset + MarginText                     ImgExtra frames: normal, hot, pressed,
//                                                disabled
//
// Typing follows the key-press rules (OnkeyPress first, and it may change the key):
// Ctrl+A selects all, Ctrl+C copies, Ctrl+V pastes, Ctrl+X cuts, Ctrl+Z swaps with the
// undo text, Backspace deletes; OnlyRead refuses changes; OnlyNumber lets only "0"-"9" and
// "." through. Arrows, Home and End move the caret (Shift extends the selection, Ctrl moves
// by words) and Delete removes forward, as in the system's edit box. When the caret would
// leave the box the text scrolls; at rest it shows from its start with an end ellipsis.
#include <functional>
#include <string>

#include "graphics/png_image.h"
#include "ui/edit_buffer.h"
#include "ui/glyph_widths.h"
#include "ui/lum_image_list.h"
#include "ui/lum_ui_core.h"
#include "ui/timer.h"

namespace orvo {

class TLumPopupMenu;

class TLumEdit : public TLumUIParentControl {
 public:
  TLumEdit();
  ~TLumEdit() override;

  // --- text and selection (positions count UTF-16 units) ---
  std::string Text() const;
  // Every change of the text comes through here: refresh and OnChange.
  void SetText(const std::string& text);
  // The caret, or the selection's start while there is one; -1 = no caret yet.
  int SelStart() const { return buffer_.SelMin(); }
  // The selection's end, -1 without a selection.
  int SelEnd() const { return buffer_.HasSelection() ? buffer_.SelMax() : -1; }
  // The caret there, no selection.
  void SetSelStart(int pos);
  // Selects from SelStart to `pos` (caret at `pos`); -1 drops the selection.
  void SetSelEnd(int pos);
  std::string SelText() const;
  void SetSelText(const std::string& text);
  int CaretPos() const { return buffer_.caret(); }
  void SelectAll();
  TColor SelColor = 0x00FFFF;

  // --- look ---
  int Boxoffset = 0;
  int MarginImgList = 0;
  int MarginText = 2;
  int OutWidth = 2;
  PngImage ImgEdit;
  PngImage ImgInput;
  PngImage ImgPassWord;
  PngImage ImgExtra;
  int EditStateCount = 3;
  int ExtraStateCount = 4;
  int Imgx1 = 0, ImgX2 = 0;
  TLumImageList* ImageList = nullptr;
  int Imgindex = -1;
  // Cuts the frames again after the skin properties changed.
  void SkinChanged();
  char16_t PasswordChar() const { return password_char_; }
  void SetPasswordChar(char16_t c);
  bool OnlyRead = false;
  bool OnlyNumber = false;
  // The most UTF-16 units typing and pasting may make the text (0: no limit): typing stops
  // there and a paste is cut to what fits, as the system's box with EM_LIMITTEXT. SetText
  // is not limited.
  int MaxLength = 0;
  int MenuHandle = 0;
  TLumPopupMenu* PopupMenu = nullptr;

  // --- events ---
  std::function<void(TLumEdit&)> OnChange, OnGetFocus, OnLostFocus, OnImglistClick, OnBtnExtraClick;
  std::function<void(TLumEdit&, char16_t& key)> OnkeyPress;

  // --- for tests and owners ---
  bool CaretShown() const { return focused_ && caret_on_; }
  // Where the caret is drawn (control coordinates).
  Rect CaretRect();
  int ScrollX() const { return scroll_x_; }
  Rect TextArea() const;
  Rect ExtraButtonRect() const;

  void DrawControl(Bitmap32& bitmap) override;
  void StyleChanged() override { SkinChanged(); }
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void DoEnter() override;
  void DoExit() override;
  void Resize() override;

 private:
  // After an edit of the buffer: undo kept by the buffer, refresh and OnChange.
  void TextEdited();
  void CaretMoved();
  void Paste();
  void Copy();
  // Units that may still come in, the selection counting as free.
  int Room() const;
  const std::vector<int>& Offsets();
  int PosAtX(int x);
  void EnsureCaretVisible();
  void RestartBlink();
  void UpdateTextInputArea();
  int MaskWidth() const;

  TEditBuffer buffer_;
  char16_t password_char_ = 0;
  PngImage frames_[4][3];  // state, piece
  bool has_frames_[4] = {false, false, false, false};
  PngImage extra_frames_[4];
  TGlyphWidths widths_;
  std::vector<int> offsets_;
  bool offsets_valid_ = false;
  int scroll_x_ = 0;
  bool focused_ = false;
  bool caret_on_ = false;
  bool selecting_ = false;
  bool extra_hot_ = false;
  bool extra_pressed_ = false;
  TTimer blink_;
};

}  // namespace orvo
