#pragma once
// The system's multi-line text box: an EDIT control (ES_MULTILINE, word-wrapped, with its
// own vertical scroll bar) as a child of one of our frameless windows. The parent's window
// procedure hands it the notifications that concern it (WM_COMMAND from the box, and the
// colour requests WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC).
#include <windows.h>

#include "platform/win32/win32_handles.h"
#include "platform/window_system.h"

namespace orvo::os::win32 {

class Win32TextBox : public NativeTextBox {
 public:
  Win32TextBox(HWND parent, TextBoxClient* client);
  ~Win32TextBox() override;
  bool Created() const { return hwnd_ != nullptr; }

  // The box behind a child window, or null when the child is none of ours.
  static Win32TextBox* FromChild(HWND child);
  // WM_COMMAND notification code from the box.
  void Command(WORD code);
  // The brush for WM_CTLCOLOR*, with the device context's colours set.
  HBRUSH Colors(HDC dc);

  void SetBounds(const Rect& bounds) override;
  void SetVisible(bool visible) override;
  void SetLook(const TextBoxLook& look) override;
  void SetReadOnly(bool read_only) override;
  void SetMaxLength(int utf16_units) override;
  void SetText(std::string_view utf8) override;
  std::string Text() const override;
  void SetSelection(int start, int end) override;
  void Selection(int* start, int* end) const override;
  void ReplaceSelection(std::string_view utf8) override;
  void Copy() override;
  void Cut() override;
  void Paste() override;
  void Undo() override;
  int LineCount() const override;
  int FirstVisibleLine() const override;
  void ScrollLines(int lines) override;
  void ScrollCaretIntoView() override;
  void Focus() override;
  void Blur() override;
  bool HasFocus() const override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND parent_;
  HWND hwnd_ = nullptr;
  TextBoxClient* client_;
  WNDPROC old_proc_ = nullptr;
  // Freed after the control is gone (the destructor's body destroys it first).
  GdiFont font_;
  GdiBrush brush_;
  COLORREF text_color_ = RGB(0, 0, 0);
  COLORREF back_color_ = RGB(255, 255, 255);
  bool setting_text_ = false;
};

}  // namespace orvo::os::win32
