// The EDIT control behind the multi-line text box. Its window is subclassed only to learn
// when it goes away with its parent (so a box object that outlives the window does not
// touch a destroyed handle). Messages that report back run client code, which may destroy
// this object: nothing here touches it after such a call.
#include "platform/win32/win32_text_box.h"

#include <algorithm>

#include "platform/win32/wide.h"
#include "platform/win32/win32_window_system.h"

namespace orvo::os::win32 {
namespace {

constexpr wchar_t kBoxProperty[] = L"OrvoTextBox";

COLORREF ToColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

Win32TextBox::Win32TextBox(HWND parent, TextBoxClient* client) : parent_(parent), client_(client) {
  constexpr DWORD style = WS_CHILD | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                          ES_WANTRETURN | ES_NOHIDESEL;
  hwnd_ = CreateWindowExW(0, L"EDIT", L"", style, 0, 0, 10, 10, parent, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  SetPropW(hwnd_, kBoxProperty, this);
  old_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  // No limit but memory (the default is 32 K characters).
  SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
  SetLook({});
}

Win32TextBox::~Win32TextBox() {
  if (hwnd_) {
    RemovePropW(hwnd_, kBoxProperty);
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc_));
    DestroyWindow(hwnd_);
  }
}

LRESULT CALLBACK Win32TextBox::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<Win32TextBox*>(GetPropW(hwnd, kBoxProperty));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  const WNDPROC old = self->old_proc_;
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kBoxProperty);
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    self->hwnd_ = nullptr;
  }
  return CallWindowProcW(old, hwnd, msg, wp, lp);
}

Win32TextBox* Win32TextBox::FromChild(HWND child) {
  return child ? static_cast<Win32TextBox*>(GetPropW(child, kBoxProperty)) : nullptr;
}

void Win32TextBox::Command(WORD code) {
  switch (code) {
    case EN_CHANGE:
      if (!setting_text_) client_->OnTextChanged();
      return;
    case EN_SETFOCUS: client_->OnFocusChanged(true); return;
    case EN_KILLFOCUS: client_->OnFocusChanged(false); return;
    default: return;
  }
}

HBRUSH Win32TextBox::Colors(HDC dc) {
  SetTextColor(dc, text_color_);
  SetBkColor(dc, back_color_);
  return brush_.get();
}

void Win32TextBox::SetBounds(const Rect& b) {
  if (!hwnd_) return;
  RECT now;
  GetWindowRect(hwnd_, &now);
  MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&now), 2);
  if (now.left == b.left && now.top == b.top && now.right == b.right && now.bottom == b.bottom) {
    return;
  }
  SetWindowPos(hwnd_, nullptr, b.left, b.top, std::max(b.width(), 0), std::max(b.height(), 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32TextBox::SetVisible(bool visible) {
  if (!hwnd_ || (IsWindowVisible(hwnd_) != FALSE) == visible) return;
  if (!visible && GetFocus() == hwnd_) SetFocus(parent_);
  ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32TextBox::SetLook(const TextBoxLook& look) {
  if (!hwnd_) return;
  LOGFONTW lf{};
  lf.lfHeight = -std::max(look.font_em_pixels, 1);
  lf.lfWeight = look.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring face = Wide(look.font_face);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  GdiFont font(CreateFontIndirectW(&lf));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);  // the control no longer uses the old one
  text_color_ = ToColorRef(look.text_rgb);
  back_color_ = ToColorRef(look.background_rgb);
  brush_.reset(CreateSolidBrush(back_color_));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32TextBox::SetReadOnly(bool read_only) {
  if (hwnd_) SendMessageW(hwnd_, EM_SETREADONLY, read_only ? TRUE : FALSE, 0);
}

void Win32TextBox::SetMaxLength(int units) {
  if (hwnd_) SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(units, 0)), 0);
}

void Win32TextBox::SetText(std::string_view utf8) {
  if (!hwnd_) return;
  setting_text_ = true;
  SetWindowTextW(hwnd_, Wide(utf8).c_str());
  setting_text_ = false;
}

std::string Win32TextBox::Text() const {
  if (!hwnd_) return {};
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return Narrow(text);
}

void Win32TextBox::SetSelection(int start, int end) {
  if (hwnd_) SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void Win32TextBox::Selection(int* start, int* end) const {
  DWORD s = 0, e = 0;
  if (hwnd_)
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  *start = static_cast<int>(s);
  *end = static_cast<int>(e);
}

void Win32TextBox::ReplaceSelection(std::string_view utf8) {
  if (hwnd_) SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Wide(utf8).c_str()));
}

void Win32TextBox::Copy() {
  if (hwnd_) SendMessageW(hwnd_, WM_COPY, 0, 0);
}

void Win32TextBox::Cut() {
  if (hwnd_) SendMessageW(hwnd_, WM_CUT, 0, 0);
}

void Win32TextBox::Paste() {
  if (hwnd_) SendMessageW(hwnd_, WM_PASTE, 0, 0);
}

void Win32TextBox::Undo() {
  if (hwnd_) SendMessageW(hwnd_, EM_UNDO, 0, 0);
}

int Win32TextBox::LineCount() const {
  return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, EM_GETLINECOUNT, 0, 0)) : 0;
}

int Win32TextBox::FirstVisibleLine() const {
  return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0)) : 0;
}

void Win32TextBox::ScrollLines(int lines) {
  if (hwnd_) SendMessageW(hwnd_, EM_LINESCROLL, 0, static_cast<LPARAM>(lines));
}

void Win32TextBox::ScrollCaretIntoView() {
  if (hwnd_) SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

void Win32TextBox::Focus() {
  if (hwnd_) SetFocus(hwnd_);
}

void Win32TextBox::Blur() {
  if (hwnd_ && GetFocus() == hwnd_) SetFocus(parent_);
}

bool Win32TextBox::HasFocus() const { return hwnd_ && GetFocus() == hwnd_; }

// --- the window system's factory ---

std::unique_ptr<NativeTextBox> Win32WindowSystem::NewTextBox(Window& parent,
                                                             TextBoxClient* client) {
  HWND hwnd = static_cast<HWND>(parent.NativeHandle());
  if (!hwnd || !client) return nullptr;
  auto box = std::make_unique<Win32TextBox>(hwnd, client);
  if (!box->Created()) return nullptr;
  return box;
}

}  // namespace orvo::os::win32
