// Signed-distance shapes, paints, fills, shadows and text for the skin painter.
#include "paint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "graphics/canvas.h"
#include "graphics/image_codecs.h"
#include "ui/lum_ui_gaussian_blur.h"

namespace orvo::painter {
namespace {

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

int Byte(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }

double SegmentDistance(Pt p, Pt a, Pt b) {
  const double vx = b.x - a.x, vy = b.y - a.y;
  const double len2 = vx * vx + vy * vy;
  const double t = len2 > 0 ? Clamp01(((p.x - a.x) * vx + (p.y - a.y) * vy) / len2) : 0;
  const double dx = p.x - (a.x + t * vx), dy = p.y - (a.y + t * vy);
  return std::sqrt(dx * dx + dy * dy);
}

// Coverage-weighted merge of one colour into a pixel.
void Put(Argb& pixel, Argb color, double coverage) {
  if (coverage <= 0) return;
  const int a = Byte(AlphaOf(color) * coverage);
  if (a == 0) return;
  pixel = MergePixel(WithAlpha(color, static_cast<uint32_t>(a)), pixel);
}

template <typename Cover>
void FillWith(Bitmap32& b, const Paint& paint, Cover cover) {
  for (int y = 0; y < b.height(); ++y) {
    Argb* row = b.Row(y);
    for (int x = 0; x < b.width(); ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const double c = cover(cx, cy);
      if (c > 0) Put(row[x], paint(cx, cy), c);
    }
  }
}

}  // namespace

Argb Rgb(int r, int g, int b, int a) {
  return MakeArgb(static_cast<uint32_t>(a), static_cast<uint32_t>(r), static_cast<uint32_t>(g),
                  static_cast<uint32_t>(b));
}

Argb Mix(Argb a, Argb b, double t) {
  t = Clamp01(t);
  const auto ch = [&](int shift) {
    return static_cast<uint32_t>(Byte(((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t));
  };
  return (ch(24) << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0);
}

Argb Lighten(Argb c, double amount) { return WithAlpha(Mix(c, 0xFFFFFFFFu, amount), AlphaOf(c)); }
Argb Darken(Argb c, double amount) { return WithAlpha(Mix(c, 0xFF000000u, amount), AlphaOf(c)); }
Argb Fade(Argb c, double opacity) {
  return WithAlpha(c, static_cast<uint32_t>(Byte(AlphaOf(c) * opacity)));
}

Sdf RoundRect(double x0, double y0, double x1, double y1, double radius) {
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const double hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
  const double r = std::min({radius, hx, hy});
  return [=](double x, double y) {
    const double qx = std::fabs(x - cx) - hx + r, qy = std::fabs(y - cy) - hy + r;
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
  };
}

Sdf Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

Sdf Ellipse(double cx, double cy, double rx, double ry) {
  // Scaled circle distance; exact enough for the small ellipses of skins.
  const double k = std::min(rx, ry);
  return [=](double x, double y) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return (std::sqrt(dx * dx + dy * dy) - 1) * k;
  };
}

Sdf Segment(Pt a, Pt b, double width) {
  return [=](double x, double y) { return SegmentDistance({x, y}, a, b) - width / 2; };
}

Sdf Polyline(const std::vector<Pt>& points, double width) {
  return [=](double x, double y) {
    double d = 1e9;
    for (size_t i = 1; i < points.size(); ++i) {
      d = std::min(d, SegmentDistance({x, y}, points[i - 1], points[i]));
    }
    return d - width / 2;
  };
}

Sdf Polygon(const std::vector<Pt>& points) {
  return [=](double x, double y) {
    double d = 1e9;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Pt& a = points[i];
      const Pt& b = points[j];
      d = std::min(d, SegmentDistance({x, y}, a, b));
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
        inside = !inside;
      }
    }
    return inside ? -d : d;
  };
}

Sdf Arc(double cx, double cy, double r, double width, double a0, double a1) {
  if (a1 - a0 >= 360) {
    return
        [=](double x, double y) { return std::fabs(std::hypot(x - cx, y - cy) - r) - width / 2; };
  }
  const auto point = [=](double deg) {
    const double rad = deg * std::numbers::pi / 180;
    return Pt{cx + r * std::sin(rad), cy - r * std::cos(rad)};
  };
  const Pt p0 = point(a0), p1 = point(a1);
  return [=](double x, double y) {
    double angle = std::atan2(x - cx, -(y - cy)) * 180 / std::numbers::pi;
    double rel = std::fmod(angle - a0 + 720, 360);
    if (rel <= a1 - a0) return std::fabs(std::hypot(x - cx, y - cy) - r) - width / 2;
    return std::min(std::hypot(x - p0.x, y - p0.y), std::hypot(x - p1.x, y - p1.y)) - width / 2;
  };
}

Sdf Star(double cx, double cy, double outer, double inner, int points) {
  std::vector<Pt> corners;
  for (int i = 0; i < points * 2; ++i) {
    const double r = i % 2 == 0 ? outer : inner;
    const double a = std::numbers::pi * i / points;
    corners.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
  }
  return Polygon(corners);
}

Sdf Union(Sdf a, Sdf b) {
  return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}
Sdf Subtract(Sdf a, Sdf b) {
  return [=](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}
Sdf Intersect(Sdf a, Sdf b) {
  return [=](double x, double y) { return std::max(a(x, y), b(x, y)); };
}
Sdf Outline(Sdf shape, double width) {
  return [=](double x, double y) { return std::fabs(shape(x, y)) - width / 2; };
}
Sdf Inset(Sdf shape, double amount) {
  return [=](double x, double y) { return shape(x, y) + amount; };
}
Sdf Translate(Sdf shape, double dx, double dy) {
  return [=](double x, double y) { return shape(x - dx, y - dy); };
}
Sdf HalfPlaneLeftOf(double edge) {
  return [=](double x, double) { return x - edge; };
}

Paint Solid(Argb c) {
  return [=](double, double) { return c; };
}
Paint Vertical(double y0, Argb c0, double y1, Argb c1) {
  return [=](double, double y) { return Mix(c0, c1, (y - y0) / (y1 - y0)); };
}
Paint Horizontal(double x0, Argb c0, double x1, Argb c1) {
  return [=](double x, double) { return Mix(c0, c1, (x - x0) / (x1 - x0)); };
}

void Fill(Bitmap32& b, const Sdf& shape, const Paint& paint) {
  FillWith(b, paint, [&](double x, double y) { return Clamp01(0.5 - shape(x, y)); });
}

void Fill(Bitmap32& b, const Sdf& shape, Argb color) { Fill(b, shape, Solid(color)); }

void FillHard(Bitmap32& b, const Sdf& shape, const Paint& paint) {
  FillWith(b, paint, [&](double x, double y) { return shape(x, y) <= 0 ? 1.0 : 0.0; });
}

void Shadow(Bitmap32& b, const Sdf& shape, double dx, double dy, float blur, Argb color) {
  Bitmap32 mask(b.width(), b.height());
  const Sdf moved = Translate(shape, dx, dy);
  for (int y = 0; y < mask.height(); ++y) {
    for (int x = 0; x < mask.width(); ++x) {
      const double c = Clamp01(0.5 - moved(x + 0.5, y + 0.5));
      mask.Row(y)[x] = MakeArgb(static_cast<uint32_t>(Byte(255 * c)), 0, 0, 0);
    }
  }
  TLumUIGaussianFilter filter(blur);
  filter.Edge = BlurEdge::kClamp;
  Bitmap32 soft;
  filter.Apply(&mask, &soft);
  for (int y = 0; y < b.height(); ++y) {
    for (int x = 0; x < b.width(); ++x) {
      Put(b.Row(y)[x], color, AlphaOf(soft.Row(y)[x]) / 255.0);
    }
  }
}

void Text(Bitmap32& b, const Font& font, const Rect& r, uint32_t format, std::string_view text,
          Argb color) {
  Bitmap32 mask(b.width(), b.height());
  mask.Clear(0xFF000000u);
  Canvas& canvas = mask.canvas();
  canvas.font = font;
  canvas.font.color = clWhite;
  Rect box = r;
  canvas.DrawText(text, box, format);
  for (int y = 0; y < b.height(); ++y) {
    for (int x = 0; x < b.width(); ++x) {
      Put(b.Row(y)[x], color, RedOf(mask.Row(y)[x]) / 255.0);
    }
  }
}

void HLine(Bitmap32& b, int x0, int x1, int y, Argb color) {
  for (int x = x0; x < x1; ++x) {
    if (x >= 0 && x < b.width() && y >= 0 && y < b.height()) Put(b.Row(y)[x], color, 1);
  }
}

void VLine(Bitmap32& b, int x, int y0, int y1, Argb color) {
  for (int y = y0; y < y1; ++y) {
    if (x >= 0 && x < b.width() && y >= 0 && y < b.height()) Put(b.Row(y)[x], color, 1);
  }
}

Bitmap32 Blank(int width, int height) {
  Bitmap32 b(width, height);
  b.Clear(0);
  return b;
}

PngImage ToPng(const Bitmap32& b) { return BitmapToPng(b); }

PngImage Strip(int frame_width, int height, int count,
               const std::function<void(Bitmap32&, int frame)>& paint_frame) {
  Bitmap32 strip = Blank(frame_width * count, height);
  for (int i = 0; i < count; ++i) {
    Bitmap32 frame = Blank(frame_width, height);
    paint_frame(frame, i);
    BlockTransfer(strip, i * frame_width, 0, strip.bounds(), frame.view(), frame.bounds(),
                  DrawMode::kOpaque, CombineMode::kBlend);
  }
  return ToPng(strip);
}

Font TextFont(int pixels, bool bold, std::string_view face) {
  Font f;
  f.name = std::string(face);
  f.height = -pixels;
  f.style = bold ? fsBold : 0;
  return f;
}

}  // namespace orvo::painter
