// A frameless top-level window. The client area is the whole window (WM_NCCALCSIZE answers
// 0 and hit tests say "client" everywhere), so a form paints every pixel itself. Pictures
// reach the screen with SetDIBitsToDevice (normal windows) or UpdateLayeredWindow with a
// premultiplied copy (layered windows). A client call may destroy this object, so the
// window procedure never touches it after one.
#include "platform/win32/win32_window.h"

#include <imm.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure_log.h"
#include "platform/win32/wide.h"

namespace orvo::os::win32 {
namespace {

constexpr DWORD kNormalStyle =
    WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kToolStyle = WS_POPUP | WS_CLIPCHILDREN;
// Added while minimised, so the taskbar animates the window like any other.
constexpr DWORD kMinimizeStyle = WS_CAPTION | WS_THICKFRAME;

void RegisterFormClass(WNDPROC proc) {
  static std::once_flag once;
  std::call_once(once, [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kFormClassName;
    RegisterClassExW(&wc);
  });
}

HCURSOR LoadShape(CursorShape shape) {
  const wchar_t* id = IDC_ARROW;
  switch (shape) {
    case CursorShape::kArrow: id = IDC_ARROW; break;
    case CursorShape::kSizeWE: id = IDC_SIZEWE; break;
    case CursorShape::kSizeNS: id = IDC_SIZENS; break;
    case CursorShape::kSizeNWSE: id = IDC_SIZENWSE; break;
    case CursorShape::kSizeNESW: id = IDC_SIZENESW; break;
    case CursorShape::kHand: id = IDC_HAND; break;
    case CursorShape::kIBeam: id = IDC_IBEAM; break;
    case CursorShape::kWait: id = IDC_WAIT; break;
  }
  return LoadCursorW(nullptr, id);
}

}  // namespace

Win32Window::Win32Window(Win32WindowSystem& system, const WindowOptions& options,
                         WindowClient* client)
    : system_(&system),
      client_(client),
      layered_(options.layered),
      activate_on_click_(options.activate_on_click),
      cursor_(LoadShape(CursorShape::kArrow)) {
  RegisterFormClass(&Proc);
  const bool owned = options.owner != nullptr;
  DWORD ex = 0;
  if (options.layered) ex |= WS_EX_LAYERED;
  if (options.topmost) ex |= WS_EX_TOPMOST;
  // Unowned windows that are not tool windows get their taskbar button by themselves.
  if (options.tool) ex |= WS_EX_TOOLWINDOW;
  const DWORD style = options.tool || owned ? kToolStyle : kNormalStyle;
  const Rect& b = options.bounds;
  HWND owner = owned ? static_cast<HWND>(options.owner->NativeHandle()) : nullptr;
  if (!CreateWindowExW(ex, kFormClassName, Wide(options.title).c_str(), style, b.left, b.top,
                       std::max(b.width(), 0), std::max(b.height(), 0), owner, nullptr,
                       GetModuleHandleW(nullptr), this)) {
    // Out of window handles or desktop heap: the form stays without a window, and the
    // window system never lists it.
    const DWORD error = GetLastError();  // before anything else can overwrite it
    LogFailure("no window for \"" + options.title + "\" (error " + std::to_string(error) + ")");
    hwnd_ = nullptr;
    return;
  }
  system_->Register(this);
}

Win32Window::~Win32Window() {
  if (destroyed_) *destroyed_ = true;
  if (system_) system_->Unregister(this);
  if (hwnd_) {
    // Messages sent while the window is destroyed go to the default procedure.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Win32Window::TakeFocusFromChild() {
  HWND focus = GetFocus();
  if (focus && focus != hwnd_ && IsChild(hwnd_, focus)) SetFocus(hwnd_);
}

void Win32Window::AddMinimizeStyle() {
  if (minimize_style_) return;
  minimize_style_ = true;
  SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) | kMinimizeStyle);
}

void Win32Window::DropMinimizeStyle() {
  minimize_style_ = false;
  SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) & ~kMinimizeStyle);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- Window ---

void Win32Window::SetBounds(const Rect& b) {
  SetWindowPos(hwnd_, nullptr, b.left, b.top, std::max(b.width(), 0), std::max(b.height(), 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32Window::Bounds() const {
  if (IsIconic(hwnd_)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd_, &placement);
    RECT r = placement.rcNormalPosition;
    // Workspace coordinates for windows that are not tool windows.
    if (!(GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
      MONITORINFO info{};
      info.cbSize = sizeof info;
      if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) {
        OffsetRect(&r, info.rcWork.left - info.rcMonitor.left,
                   info.rcWork.top - info.rcMonitor.top);
      }
    }
    return {r.left, r.top, r.right, r.bottom};
  }
  RECT r;
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void Win32Window::Show(ShowMode mode) {
  switch (mode) {
    case ShowMode::kHide: ShowWindow(hwnd_, SW_HIDE); return;
    case ShowMode::kShow:
      ShowWindow(hwnd_, SW_SHOW);
      Activate();
      return;
    case ShowMode::kShowNoActivate:
      ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
      SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return;
    case ShowMode::kMinimize:
      AddMinimizeStyle();
      ShowWindow(hwnd_, SW_MINIMIZE);
      return;
    case ShowMode::kRestore:
      ShowWindow(hwnd_, SW_RESTORE);
      if (minimize_style_) DropMinimizeStyle();
      Activate();
      return;
  }
}

bool Win32Window::IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }
bool Win32Window::Minimized() const { return IsIconic(hwnd_) != FALSE; }

void Win32Window::SetTitle(std::string_view utf8) { SetWindowTextW(hwnd_, Wide(utf8).c_str()); }

void Win32Window::SetTopMost(bool topmost) {
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool Win32Window::IsTopMost() const {
  return (GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Win32Window::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
bool Win32Window::IsEnabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Win32Window::Activate() {
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
}

bool Win32Window::IsActive() const { return GetActiveWindow() == hwnd_; }

void Win32Window::Invalidate(const Rect& part) {
  const RECT r{part.left, part.top, part.right, part.bottom};
  InvalidateRect(hwnd_, &r, FALSE);
}

void Win32Window::Present(const PixelSource& picture, const Rect& part) {
  if (layered_ || !picture.pixels || part.empty()) return;
  const int left = std::max(part.left, 0), top = std::max(part.top, 0);
  const int right = std::min(part.right, picture.width);
  const int bottom = std::min(part.bottom, picture.height);
  if (right <= left || bottom <= top) return;
  GdiFlush();  // text drawn into a DIB section may still be queued
  std::optional<WindowDc> own_dc;
  if (!painting_) own_dc.emplace(hwnd_);
  const HDC dc = painting_ ? painting_->hdc : own_dc->get();
  const MemoryDc memory(CreateCompatibleDC(dc));
  // The picture's own DIB section when it is one (and free); else a copy of the part.
  std::optional<Selection> selected;
  if (picture.native) selected.emplace(memory.get(), static_cast<HBITMAP>(picture.native));
  int source_x = left, source_y = top;
  if (!selected || !selected->ok()) {
    selected.reset();
    if (!EnsureCopyBitmap(right - left, bottom - top)) return;
    for (int y = top; y < bottom; ++y) {
      std::copy_n(picture.pixels + static_cast<size_t>(y) * picture.width + left, right - left,
                  copy_bits_ + static_cast<size_t>(y - top) * copy_width_);
    }
    selected.emplace(memory.get(), copy_.get());
    source_x = 0;
    source_y = 0;
  }
  if (selected->ok()) {
    BitBlt(dc, left, top, right - left, bottom - top, memory.get(), source_x, source_y, SRCCOPY);
  }
}

bool Win32Window::EnsureCopyBitmap(int width, int height) {
  if (copy_ && width <= copy_width_ && height <= copy_height_) return true;
  width = std::max(width, copy_width_);
  height = std::max(height, copy_height_);
  copy_ = MakeDibSection(width, height, &copy_bits_);
  copy_width_ = copy_ ? width : 0;
  copy_height_ = copy_ ? height : 0;
  return static_cast<bool>(copy_);
}

bool Win32Window::EnsureLayerBitmap(int width, int height) {
  if (layer_ && width == layer_width_ && height == layer_height_) return true;
  layer_ = MakeDibSection(width, height, &layer_bits_);
  layer_width_ = layer_ ? width : 0;
  layer_height_ = layer_ ? height : 0;
  return static_cast<bool>(layer_);
}

void Win32Window::PresentLayered(const PixelSource& picture, uint8_t opacity) {
  if (!layered_ || !picture.pixels || picture.width <= 0 || picture.height <= 0) return;
  if (!EnsureLayerBitmap(picture.width, picture.height)) return;
  GdiFlush();
  const size_t count = static_cast<size_t>(picture.width) * picture.height;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = picture.pixels[i];
    const uint32_t a = p >> 24;
    auto pre = [a](uint32_t c) { return (c * a + 127) / 255; };
    layer_bits_[i] =
        (a << 24) | (pre((p >> 16) & 0xFF) << 16) | (pre((p >> 8) & 0xFF) << 8) | pre(p & 0xFF);
  }
  const WindowDc screen(nullptr);
  const MemoryDc memory(CreateCompatibleDC(screen.get()));
  const Selection selected(memory.get(), layer_.get());
  if (!selected.ok()) return;
  RECT r;
  GetWindowRect(hwnd_, &r);
  POINT position{r.left, r.top};
  SIZE size{picture.width, picture.height};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
  UpdateLayeredWindow(hwnd_, screen.get(), &position, &size, memory.get(), &origin, 0, &blend,
                      ULW_ALPHA);
}

void Win32Window::SetRegion(const WindowRegion& region) {
  GdiRegion rgn;
  switch (region.kind) {
    case WindowRegion::Kind::kNone: break;
    case WindowRegion::Kind::kRoundRect:
      rgn.reset(CreateRoundRectRgn(region.round.left, region.round.top, region.round.right,
                                   region.round.bottom, region.ellipse, region.ellipse));
      break;
    case WindowRegion::Kind::kRects: {
      const size_t n = region.rects.size();
      std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
      auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
      header->dwSize = sizeof(RGNDATAHEADER);
      header->iType = RDH_RECTANGLES;
      header->nCount = static_cast<DWORD>(n);
      header->nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
      RECT bound{0, 0, 0, 0};
      auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
      for (size_t i = 0; i < n; ++i) {
        const Rect& w = region.rects[i];
        rects[i] = {w.left, w.top, w.right, w.bottom};
        UnionRect(&bound, &bound, &rects[i]);
      }
      header->rcBound = bound;
      rgn.reset(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                reinterpret_cast<const RGNDATA*>(data.data())));
      if (!rgn) rgn.reset(CreateRectRgn(0, 0, 0, 0));
      break;
    }
  }
  // On success the system owns the region; on failure it is still ours to free.
  if (SetWindowRgn(hwnd_, rgn.get(), TRUE)) rgn.release();
}

void Win32Window::SetTextInputArea(const Rect& caret) {
  HIMC context = ImmGetContext(hwnd_);
  if (!context) return;
  COMPOSITIONFORM composition{};
  composition.dwStyle = CFS_POINT;
  composition.ptCurrentPos = {caret.left, caret.top};
  ImmSetCompositionWindow(context, &composition);
  CANDIDATEFORM candidates{};
  candidates.dwIndex = 0;
  candidates.dwStyle = CFS_EXCLUDE;
  candidates.ptCurrentPos = {caret.left, caret.bottom};
  candidates.rcArea = {caret.left, caret.top, caret.right, caret.bottom};
  ImmSetCandidateWindow(context, &candidates);
  ImmReleaseContext(hwnd_, context);
}

void Win32Window::SetCapture() { ::SetCapture(hwnd_); }

void Win32Window::ReleaseCapture() {
  if (GetCapture() != hwnd_) return;
  releasing_capture_ = true;
  ::ReleaseCapture();
  releasing_capture_ = false;
}

bool Win32Window::HasCapture() const { return GetCapture() == hwnd_; }

void Win32Window::SetCursor(CursorShape shape) {
  cursor_ = LoadShape(shape);
  POINT p;
  if (HasCapture() || (GetCursorPos(&p) && WindowFromPoint(p) == hwnd_)) ::SetCursor(cursor_);
}

void Win32Window::BeginSystemMove() {
  if ((GetKeyState(VK_LBUTTON) & 0x8000) == 0) return;
  ReleaseCapture();
  SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

}  // namespace orvo::os::win32
