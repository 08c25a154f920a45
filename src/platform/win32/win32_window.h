#pragma once
// One frameless top-level window of the class "OrvoForm" and its window procedure, which
// turns Windows messages into the neutral reports of WindowClient.
#include <windows.h>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_window_system.h"

namespace orvo::os::win32 {

// The window class every form window has (a second instance finds the first by it).
inline constexpr wchar_t kFormClassName[] = L"OrvoForm";

class Win32Window : public Window {
 public:
  Win32Window(Win32WindowSystem& system, const WindowOptions& options, WindowClient* client);
  ~Win32Window() override;

  void SetBounds(const Rect& bounds) override;
  Rect Bounds() const override;
  void Show(ShowMode mode) override;
  bool IsVisible() const override;
  bool Minimized() const override;
  void SetTitle(std::string_view utf8) override;
  void SetTopMost(bool topmost) override;
  bool IsTopMost() const override;
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;
  void Activate() override;
  bool IsActive() const override;
  void Invalidate(const Rect& part) override;
  void Present(const PixelSource& picture, const Rect& part) override;
  void PresentLayered(const PixelSource& picture, uint8_t opacity) override;
  void SetRegion(const WindowRegion& region) override;
  void SetTextInputArea(const Rect& caret) override;
  void SetCapture() override;
  void ReleaseCapture() override;
  bool HasCapture() const override;
  void SetCursor(CursorShape shape) override;
  void BeginSystemMove() override;
  void* NativeHandle() const override { return hwnd_; }

  // The system is going away first.
  void Orphan() { system_ = nullptr; }

 private:
  // The window procedure and its handlers (win32_window_messages.cpp).
  struct Route;
  static const Route kRoutes[];
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }
  LRESULT OnPaintMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMouseMoveMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMouseLeaveMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnButtonDown(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnButtonUp(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnWheel(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnCaptureChanged(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnSetCursorMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMouseActivate(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnKey(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnSysKey(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnCharMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnActivateMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnActivateApp(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnPositionChanged(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnSysCommand(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnCloseMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnChildCommand(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnChildColors(UINT msg, WPARAM wp, LPARAM lp);
  // A press on the window itself takes the keyboard focus back from a child box.
  void TakeFocusFromChild();
  void AddMinimizeStyle();
  void DropMinimizeStyle();
  bool EnsureLayerBitmap(int width, int height);
  bool EnsureCopyBitmap(int width, int height);

  Win32WindowSystem* system_;
  WindowClient* client_;
  HWND hwnd_ = nullptr;
  bool layered_;
  bool activate_on_click_;
  bool tracking_leave_ = false;
  bool releasing_capture_ = false;
  bool minimize_style_ = false;
  HCURSOR cursor_;
  PAINTSTRUCT* painting_ = nullptr;
  // While a client call runs inside a handler that must know whether the object outlived it.
  bool* destroyed_ = nullptr;
  // Layered windows: the picture premultiplied for UpdateLayeredWindow.
  GdiBitmap layer_;
  uint32_t* layer_bits_ = nullptr;
  int layer_width_ = 0;
  int layer_height_ = 0;
  // Normal windows, for pictures that are not a free DIB section: a copy of the part.
  GdiBitmap copy_;
  uint32_t* copy_bits_ = nullptr;
  int copy_width_ = 0;
  int copy_height_ = 0;
};

}  // namespace orvo::os::win32
