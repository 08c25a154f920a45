#pragma once
// A GDI-like drawing surface over a Bitmap32: pen, brush and font, rectangles, lines,
// rounded rectangles and ellipses (aliased, as GDI draws them), bitmaps and PNG images, and
// text through the installed text back end. Like a device context it has a viewport origin
// (logical + origin = bitmap pixel) and a clip rectangle (bitmap pixels), and its state can
// be saved and restored, which is how controls paint their parent into their own bitmap.
//
// Everything the canvas writes is opaque (alpha 255) except text, whose alpha byte the
// text back end decides (see DrawTextKeepAlpha in the toolkit for the repair).
#include <string_view>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/font.h"
#include "graphics/transfer.h"
#include "platform/text_format.h"

#ifdef DrawText
#undef DrawText  // windows.h would rename ours to its own A/W function
#endif
#ifdef TextOut
#undef TextOut
#endif

namespace orvo {

class PngImage;

enum class PenStyle { kSolid, kClear };
enum class BrushStyle { kSolid, kClear };

struct Pen {
  TColor color = clBlack;
  int width = 1;
  PenStyle style = PenStyle::kSolid;
};

struct Brush {
  TColor color = clWhite;
  BrushStyle style = BrushStyle::kSolid;
};

class Canvas {
 public:
  explicit Canvas(Bitmap32& target);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Bitmap32& target() { return *target_; }
  Pen pen;
  Brush brush;
  Font font;

  // --- state (like SaveDC / RestoreDC) ---
  Point origin() const { return origin_; }
  void SetOrigin(Point origin) { origin_ = origin; }
  // The clip in logical coordinates of the current origin.
  Rect ClipRect() const { return clip_.Offset(-origin_.x, -origin_.y); }
  Rect DeviceClip() const { return clip_; }
  // Narrows the clip to r (logical coordinates).
  void IntersectClip(const Rect& r);
  void SetDeviceClip(const Rect& r);
  void Save();
  // Without a saved state: back to origin (0, 0) and the whole bitmap.
  void Restore();
  void ResetState();

  // --- shapes ---
  void FillRect(const Rect& r);   // brush
  void FrameRect(const Rect& r);  // one-pixel frame in the brush colour
  void Rectangle(const Rect& r);  // pen outline, brush inside
  void RoundRect(const Rect& r, int ellipse_width, int ellipse_height);
  void Ellipse(const Rect& r);
  void MoveTo(int x, int y) { pen_pos_ = {x, y}; }
  void LineTo(int x, int y);  // the last point is not drawn, as in GDI
  void SetPixel(int x, int y, TColor color);

  // --- pictures ---
  // Source drawn at (x, y) (logical) with the given modes.
  void Draw(int x, int y, const PixelView& source, DrawMode draw = DrawMode::kOpaque,
            CombineMode combine = CombineMode::kBlend);
  void StretchDraw(const Rect& r, const PixelView& source, const Rect& source_rect,
                   DrawMode draw = DrawMode::kOpaque, CombineMode combine = CombineMode::kBlend,
                   Resampler resampler = Resampler::kLinear);
  // A PNG drawn with its own alpha (merged), at natural size or stretched.
  void DrawPng(int x, int y, const PngImage& png);
  void StretchDrawPng(const Rect& r, const PngImage& png);
  // Opaque copy of source_rect of a bitmap into r (stretched when sizes differ).
  void CopyRect(const Rect& r, const Bitmap32& source, const Rect& source_rect);

  // --- text (font colour, transparent background) ---
  // DrawTextW: returns the text height; with kDtCalcRect adjusts r and draws nothing.
  int DrawText(std::string_view text, Rect& r, uint32_t format);
  void TextOut(int x, int y, std::string_view text);
  Size TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

 private:
  friend class Bitmap32;
  struct State {
    Point origin;
    Rect clip;
  };
  Rect ToDevice(const Rect& r) const { return r.Offset(origin_.x, origin_.y); }
  void FillDevice(const Rect& device, Argb color);

  Bitmap32* target_;
  Point origin_;
  Rect clip_;
  std::vector<State> saved_;
  Point pen_pos_;
};

}  // namespace orvo
