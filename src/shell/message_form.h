#pragma once
// Toasts: the small sliding windows that report the result of background work (a rating
// request refused, the default browser set) without asking anything. A toast appears at a
// screen point, fitted onto that monitor's work area, top-most and without taking the
// activation from the window the user works in; it slides in from the top, stays at least
// a second and while the pointer rests on it, then fades out and frees itself.
//
//   +---------------------------------------+
//   |  (icon)  text, word-wrapped within    |   10 px above and below the taller of
//   |  24x24   200 pixels                   |   icon and text; icon at 15, text 2 px
//   +---------------------------------------+   after it, 13 px on the right
//
// Each toast is its own window, owned by the application (not by the window that asked
// for it), so it outlives a window that closes meanwhile.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/font.h"
#include "graphics/png_image.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace orvo {

enum class ToastKind { kSuccess, kError };

class TfrmMessage : public TForm {
 public:
  explicit TfrmMessage(ToastKind kind);
  ~TfrmMessage() override;

  // Sizes the toast for `text` wrapped within `max_text_width` pixels and places its
  // top-left corner at `screen` + (1, 1), fitted onto the nearest monitor's work area.
  void Layout(Point screen, int max_text_width, const std::string& text);
  // Shows it (top-most, not activated), slides it in and starts its one-second timer.
  void Popup();

  ToastKind Kind() const { return kind_; }
  const std::string& Text() const { return text_; }
  // Form coordinates, from the last Layout.
  const Rect& IconRect() const { return icon_rect_; }
  const Rect& TextRect() const { return text_rect_; }
  // The opacity the window was last shown with (255 until the fade starts).
  uint8_t Opacity() const { return opacity_; }
  bool Fading() const { return fade_step_ >= 0; }
  // The slide has ended: the whole toast shows.
  bool SlidIn() const { return slide_step_ >= 5; }
  // Unique among the toasts of the run.
  uint64_t Serial() const { return serial_; }

  void Paint(Canvas& canvas) override;

 private:
  void SlideTick();
  void LifeTick();
  void PresentSlid(int revealed_rows);
  void Finish();

  ToastKind kind_;
  uint64_t serial_ = 0;
  std::string text_;
  Font text_font_;
  PngImage icon_;
  Bitmap32 background_;  // the skin nine-sliced to the toast's size
  Bitmap32 slide_;       // the picture shown while sliding in
  Rect icon_rect_;
  Rect text_rect_;
  TTimer slide_timer_;
  TTimer life_timer_;  // 1000 ms until the fade, then the fade's 50 ms steps
  int slide_step_ = 0;
  int fade_step_ = -1;  // 15 .. 0 while fading
  uint8_t opacity_ = 255;
};

// Creates and shows a toast with the text at a screen point.
void ShowSuccessToast(Point screen, const std::string& text);
void ShowErrorToast(Point screen, const std::string& text);

// The toasts alive now, oldest first.
std::vector<TfrmMessage*> LiveToasts();
// Frees every toast at once (the end of the run; tests).
void FreeAllToasts();

}  // namespace orvo
