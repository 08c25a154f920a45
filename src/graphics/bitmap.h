#pragma once
// The 32-bit ARGB bitmap every control paints into: straight alpha, rows top-down with a
// stride of width pixels, pixels 0xAARRGGBB (the byte layout of a 32-bit DIB). Its pixels
// come from the installed raster back end, so on Windows they are a DIB section that GDI
// can draw text into and that reaches the screen without copying.
//
// A bitmap carries how it lands on others (draw mode, combine mode), the colour that stands
// in for pixels outside it or outside its clip rectangle (outer colour), and a canvas.
// Allocation failure leaves it empty; nothing here throws or aborts.
#include <memory>

#include "graphics/blend.h"
#include "graphics/color.h"
#include "platform/geometry.h"
#include "graphics/pixel_view.h"

namespace orvo {

namespace os {
class PixelBlock;
}

class Canvas;

// Where a bitmap's pixels live: from the installed back end (a DIB section on Windows), or
// plain heap memory for short-lived pictures that never meet GDI directly (creating a DIB
// section costs far more than the memory).
enum class PixelHome { kBackEnd, kHeap };

class Bitmap32 {
 public:
  Bitmap32();
  explicit Bitmap32(PixelHome home);
  Bitmap32(int width, int height, PixelHome home = PixelHome::kBackEnd);
  ~Bitmap32();
  Bitmap32(const Bitmap32& other);
  Bitmap32& operator=(const Bitmap32& other);
  Bitmap32(Bitmap32&& other) noexcept;
  Bitmap32& operator=(Bitmap32&& other) noexcept;

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  Rect bounds() const { return {0, 0, width_, height_}; }

  // A new size clears every pixel to 0 (transparent black) and resets the clip rectangle;
  // the same size keeps the pixels. A size of 0 or less (or memory that cannot be had)
  // leaves the bitmap empty and returns false for the latter.
  bool SetSize(int width, int height);
  void Clear(Argb color);
  // Every pixel's alpha set to `alpha`, colours kept.
  void ResetAlpha(uint8_t alpha = 0);

  Argb* Row(int y) { return pixels_ + static_cast<long>(y) * width_; }
  const Argb* Row(int y) const { return pixels_ + static_cast<long>(y) * width_; }
  Argb* pixels() { return pixels_; }
  const Argb* pixels() const { return pixels_; }
  PixelView view() const { return {pixels_, width_, height_}; }
  // Outside the bitmap: the outer colour, and writes are dropped.
  Argb Pixel(int x, int y) const;
  void SetPixel(int x, int y, Argb color);
  // The DIB section handle on Windows; null for heap pixels.
  void* native_handle() const;

  DrawMode draw_mode() const { return draw_mode_; }
  void set_draw_mode(DrawMode mode) { draw_mode_ = mode; }
  CombineMode combine_mode() const { return combine_mode_; }
  void set_combine_mode(CombineMode mode) { combine_mode_ = mode; }
  Argb outer_color() const { return outer_color_; }
  void set_outer_color(Argb color) { outer_color_ = color; }
  const Rect& clip_rect() const { return clip_rect_; }
  void set_clip_rect(const Rect& rect) { clip_rect_ = Intersect(rect, bounds()); }

  // A new bitmap of r's size holding that part of this one; pixels of r outside the clip
  // rectangle take the outer colour. Modes and outer colour are copied.
  Bitmap32 CopyPart(const Rect& r, PixelHome home = PixelHome::kBackEnd) const;
  PixelHome home() const { return home_; }

  // Block transfer of the whole bitmap to (x, y) of `target` with this bitmap's modes.
  void DrawTo(Bitmap32& target, int x, int y) const;
  // Stretched transfer of the whole bitmap into `rect` of `target` (linear resampler).
  void DrawTo(Bitmap32& target, const Rect& rect) const;

  // The canvas drawing on this bitmap, created on first use and kept.
  Canvas& canvas();

 private:
  void CopyFrom(const Bitmap32& other);

  PixelHome home_ = PixelHome::kBackEnd;
  std::unique_ptr<os::PixelBlock> block_;
  Argb* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  DrawMode draw_mode_ = DrawMode::kOpaque;
  CombineMode combine_mode_ = CombineMode::kBlend;
  Argb outer_color_ = 0;
  Rect clip_rect_;
  std::unique_ptr<Canvas> canvas_;
};

}  // namespace orvo
