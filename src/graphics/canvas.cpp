// Canvas drawing: state handling, GDI-style aliased shapes, pictures and the hand-over of
// text to the installed back end.
#include "graphics/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graphics/png_image.h"
#include "platform/raster.h"

namespace orvo {
namespace {

Argb Opaque(TColor color) { return ColorToArgb(color, 255); }

// Does the pixel centre (x + 0.5, y + 0.5) lie inside the rounded rectangle spanning the
// continuous box [l, r] x [t, b] with corner radii rx, ry?
bool InsideRounded(double l, double t, double r, double b, double rx, double ry, int x, int y) {
  const double px = x + 0.5, py = y + 0.5;
  if (px < l || px > r || py < t || py > b) return false;
  rx = std::min(rx, (r - l) / 2);
  ry = std::min(ry, (b - t) / 2);
  if (rx <= 0 || ry <= 0) return true;
  const double cx = std::clamp(px, l + rx, r - rx), cy = std::clamp(py, t + ry, b - ry);
  const double dx = (px - cx) / rx, dy = (py - cy) / ry;
  return dx * dx + dy * dy <= 1.0;
}

}  // namespace

Canvas::Canvas(Bitmap32& target) : target_(&target), clip_(target.bounds()) {}

void Canvas::IntersectClip(const Rect& r) { clip_ = Intersect(clip_, ToDevice(r)); }

void Canvas::SetDeviceClip(const Rect& r) { clip_ = Intersect(r, target_->bounds()); }

void Canvas::Save() { saved_.push_back({origin_, clip_}); }

void Canvas::Restore() {
  if (saved_.empty()) {
    origin_ = {};
    clip_ = target_->bounds();
    return;
  }
  origin_ = saved_.back().origin;
  clip_ = Intersect(saved_.back().clip, target_->bounds());
  saved_.pop_back();
}

void Canvas::ResetState() {
  saved_.clear();
  origin_ = {};
  clip_ = target_->bounds();
}

void Canvas::FillDevice(const Rect& device, Argb color) {
  const Rect r = Intersect(device, clip_);
  if (r.empty()) return;
  for (int y = r.top; y < r.bottom; ++y) std::fill_n(target_->Row(y) + r.left, r.width(), color);
}

void Canvas::FillRect(const Rect& r) {
  if (brush.style == BrushStyle::kClear) return;
  FillDevice(ToDevice(r), Opaque(brush.color));
}

void Canvas::FrameRect(const Rect& r) {
  if (r.empty()) return;
  const Rect d = ToDevice(r);
  const Argb c = Opaque(brush.color);
  FillDevice({d.left, d.top, d.right, d.top + 1}, c);
  FillDevice({d.left, d.bottom - 1, d.right, d.bottom}, c);
  FillDevice({d.left, d.top, d.left + 1, d.bottom}, c);
  FillDevice({d.right - 1, d.top, d.right, d.bottom}, c);
}

void Canvas::Rectangle(const Rect& r) { RoundRect(r, 0, 0); }

void Canvas::RoundRect(const Rect& r, int ellipse_width, int ellipse_height) {
  if (r.empty()) return;
  const Rect d = ToDevice(r);
  const Rect area = Intersect(d, clip_);
  if (area.empty()) return;
  const bool has_pen = pen.style != PenStyle::kClear && pen.width > 0;
  const bool has_brush = brush.style != BrushStyle::kClear;
  const int pw = has_pen ? pen.width : 0;
  const double rx = ellipse_width / 2.0, ry = ellipse_height / 2.0;
  const Argb pen_color = Opaque(pen.color), brush_color = Opaque(brush.color);
  for (int y = area.top; y < area.bottom; ++y) {
    Argb* row = target_->Row(y);
    for (int x = area.left; x < area.right; ++x) {
      if (!InsideRounded(d.left, d.top, d.right, d.bottom, rx, ry, x, y)) continue;
      const bool inner = InsideRounded(d.left + pw, d.top + pw, d.right - pw, d.bottom - pw,
                                       std::max(0.0, rx - pw), std::max(0.0, ry - pw), x, y);
      if (!inner) {
        if (has_pen) row[x] = pen_color;
      } else if (has_brush) {
        row[x] = brush_color;
      }
    }
  }
}

void Canvas::Ellipse(const Rect& r) { RoundRect(r, r.width(), r.height()); }

void Canvas::LineTo(int x, int y) {
  const Point from = pen_pos_;
  pen_pos_ = {x, y};
  if (pen.style == PenStyle::kClear) return;
  const Argb c = Opaque(pen.color);
  const int w = std::max(1, pen.width);
  int x0 = from.x + origin_.x, y0 = from.y + origin_.y;
  const int x1 = x + origin_.x, y1 = y + origin_.y;
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  while (x0 != x1 || y0 != y1) {
    FillDevice({x0 - (w - 1) / 2, y0 - (w - 1) / 2, x0 + w / 2 + 1, y0 + w / 2 + 1}, c);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void Canvas::SetPixel(int x, int y, TColor color) {
  const Point p{x + origin_.x, y + origin_.y};
  if (clip_.Contains(p)) target_->Row(p.y)[p.x] = Opaque(color);
}

void Canvas::Draw(int x, int y, const PixelView& source, DrawMode draw, CombineMode combine) {
  BlockTransfer(*target_, x + origin_.x, y + origin_.y, clip_, source, source.bounds(), draw,
                combine);
}

void Canvas::StretchDraw(const Rect& r, const PixelView& source, const Rect& source_rect,
                         DrawMode draw, CombineMode combine, Resampler resampler) {
  StretchTransfer(*target_, ToDevice(r), clip_, source, source_rect, draw, combine, resampler);
}

void Canvas::DrawPng(int x, int y, const PngImage& png) {
  Draw(x, y, png.view(), DrawMode::kBlend, CombineMode::kMerge);
}

void Canvas::StretchDrawPng(const Rect& r, const PngImage& png) {
  StretchDraw(r, png.view(), png.view().bounds(), DrawMode::kBlend, CombineMode::kMerge);
}

void Canvas::CopyRect(const Rect& r, const Bitmap32& source, const Rect& source_rect) {
  StretchDraw(r, source.view(), source_rect, DrawMode::kOpaque, CombineMode::kBlend,
              Resampler::kNearest);
}

int Canvas::DrawText(std::string_view text, Rect& r, uint32_t format) {
  os::TextSurface surface{target_->pixels(), target_->width(), target_->height(),
                          target_->native_handle()};
  const Rect d = ToDevice(r);
  os::TextBox box{d.left, d.top, d.right, d.bottom};
  const os::TextBox clip{clip_.left, clip_.top, clip_.right, clip_.bottom};
  const TColor rgb = ColorToRGB(font.color);
  const uint32_t color = (ColorRed(rgb) << 16) | (ColorGreen(rgb) << 8) | ColorBlue(rgb);
  const bool calc = (format & kDtCalcRect) != 0;
  const int height = os::CurrentTextRenderer().Draw(calc || target_->empty() ? nullptr : &surface,
                                                    font.Spec(), color, text, box, format, clip);
  if (calc) r = Rect{box.left, box.top, box.right, box.bottom}.Offset(-origin_.x, -origin_.y);
  return height;
}

void Canvas::TextOut(int x, int y, std::string_view text) {
  const Size extent = TextExtent(text);
  Rect r{x, y, x + extent.cx, y + extent.cy};
  DrawText(text, r, kDtLeft | kDtTop | kDtSingleLine | kDtNoPrefix | kDtNoClip);
}

Size Canvas::TextExtent(std::string_view text) {
  Size size;
  os::CurrentTextRenderer().Extent(font.Spec(), text, &size.cx, &size.cy);
  return size;
}

}  // namespace orvo
