#pragma once
// One window of the headless screen: its bounds, flags and picture. The picture is what
// the client last presented: opaque for a normal window (copied part by part), with alpha
// for a layered one (replaced whole, taking the picture's size).
#include <vector>

#include "platform/headless/headless_window_system.h"

namespace orvo::os::headless {

class HeadlessWindow : public Window {
 public:
  HeadlessWindow(HeadlessWindowSystem& system, const WindowOptions& options, WindowClient* client);
  ~HeadlessWindow() override;

  void SetBounds(const Rect& bounds) override;
  Rect Bounds() const override { return bounds_; }
  void Show(ShowMode mode) override;
  bool IsVisible() const override { return visible_; }
  bool Minimized() const override { return minimized_; }
  void SetTitle(std::string_view utf8) override { title_ = utf8; }
  void SetTopMost(bool topmost) override;
  bool IsTopMost() const override { return topmost_; }
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override { return enabled_; }
  void Activate() override;
  bool IsActive() const override;
  void Invalidate(const Rect& part) override;
  void Present(const PixelSource& picture, const Rect& part) override;
  void PresentLayered(const PixelSource& picture, uint8_t opacity) override;
  void SetRegion(const WindowRegion& region) override { region_ = region; }
  void SetTextInputArea(const Rect& caret) override { text_input_area_ = caret; }
  void SetCapture() override;
  void ReleaseCapture() override;
  bool HasCapture() const override;
  void SetCursor(CursorShape shape) override { cursor_ = shape; }
  void BeginSystemMove() override;
  void* NativeHandle() const override { return nullptr; }

  // --- for the system ---
  WindowClient* client() const { return client_; }
  HeadlessWindow* owner() const { return owner_; }
  void ForgetOwner() { owner_ = nullptr; }
  bool layered() const { return layered_; }
  bool tool() const { return tool_; }
  bool activate_on_click() const { return activate_on_click_; }
  const std::string& title() const { return title_; }
  CursorShape cursor() const { return cursor_; }
  const Rect& text_input_area() const { return text_input_area_; }
  // Showing on the screen: visible and not minimised.
  bool OnScreen() const { return visible_ && !minimized_; }
  // Takes the pointer at a screen point: on screen, inside its bounds and region, and for a
  // layered window over a pixel that is not fully transparent.
  bool Hit(Point screen) const;
  // Inside the region (window coordinates); everything without one.
  bool InRegion(int x, int y) const;
  // 0xAARRGGBB of the picture at window coordinates, alpha scaled by the opacity for
  // layered windows and 255 for normal ones; transparent outside the picture.
  uint32_t PixelAt(int x, int y) const;
  int picture_width() const { return picture_width_; }
  int picture_height() const { return picture_height_; }
  bool TakePendingPaint(Rect* part);
  void SetMinimized(bool minimized);
  // Moved by the system (dragging): bounds changed and reported.
  void MoveTo(int left, int top);
  // The system is going away first: the window stays an inert object.
  void Orphan() { system_ = nullptr; }

 private:
  void ResizePicture(int width, int height);

  HeadlessWindowSystem* system_;  // null once the system is gone
  WindowClient* client_;
  HeadlessWindow* owner_;
  Rect bounds_;
  std::string title_;
  bool layered_;
  bool topmost_;
  bool tool_;
  bool activate_on_click_;
  bool visible_ = false;
  bool minimized_ = false;
  bool enabled_ = true;
  CursorShape cursor_ = CursorShape::kArrow;
  WindowRegion region_;
  std::vector<uint32_t> picture_;
  int picture_width_ = 0;
  int picture_height_ = 0;
  uint8_t opacity_ = 255;
  Rect pending_paint_;
  Rect text_input_area_;
};

// The injector interface over the screen's own input methods.
class HeadlessWindowSystem::Injection : public InputInjector {
 public:
  explicit Injection(HeadlessWindowSystem& system) : system_(system) {}
  void MoveMouse(int x, int y) override { system_.MoveMouse(x, y); }
  void PressMouse(MouseButton button) override { system_.PressMouse(button); }
  void ReleaseMouse(MouseButton button) override { system_.ReleaseMouse(button); }
  void PressKey(uint16_t key) override { system_.PressKey(key); }

 private:
  HeadlessWindowSystem& system_;
};

}  // namespace orvo::os::headless
