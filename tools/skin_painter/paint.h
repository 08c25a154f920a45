#pragma once
// The skin painter's brushwork on top of the raster layer: shapes are signed distance
// functions (negative inside, in pixels), filled with one pixel of anti-aliasing by a
// paint (a solid colour or a gradient) and merged over the picture; soft shadows are the
// shape's blurred coverage; text comes from the text back end as a coverage mask.
#include <functional>
#include <string_view>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/font.h"
#include "graphics/png_image.h"

namespace orvo::painter {

struct Pt {
  double x = 0;
  double y = 0;
};

using Sdf = std::function<double(double x, double y)>;
using Paint = std::function<Argb(double x, double y)>;

Argb Rgb(int r, int g, int b, int a = 255);
// Straight-alpha interpolation, t = 0 gives a.
Argb Mix(Argb a, Argb b, double t);
Argb Lighten(Argb c, double amount);  // towards white
Argb Darken(Argb c, double amount);   // towards black
Argb Fade(Argb c, double opacity);    // alpha times opacity

// --- shapes (pixel (x, y) covers [x, x + 1) x [y, y + 1)) ---
Sdf RoundRect(double x0, double y0, double x1, double y1, double radius);
Sdf Circle(double cx, double cy, double r);
Sdf Ellipse(double cx, double cy, double rx, double ry);
Sdf Segment(Pt a, Pt b, double width);  // a capsule
Sdf Polyline(const std::vector<Pt>& points, double width);
Sdf Polygon(const std::vector<Pt>& points);
// The ring between radii r - width/2 and r + width/2, from angle a0 to a1 (degrees,
// clockwise from 12 o'clock), with round ends; a full ring when a1 - a0 >= 360.
Sdf Arc(double cx, double cy, double r, double width, double a0, double a1);
Sdf Star(double cx, double cy, double outer, double inner, int points = 5);
Sdf Union(Sdf a, Sdf b);
Sdf Subtract(Sdf a, Sdf b);
Sdf Intersect(Sdf a, Sdf b);
Sdf Outline(Sdf shape, double width);  // a band of `width` centred on the edge
Sdf Inset(Sdf shape, double amount);   // the shape shrunk by `amount`
Sdf Translate(Sdf shape, double dx, double dy);
Sdf HalfPlaneLeftOf(double x);  // everything left of x

// --- paints ---
Paint Solid(Argb c);
Paint Vertical(double y0, Argb c0, double y1, Argb c1);
Paint Horizontal(double x0, Argb c0, double x1, Argb c1);

// --- drawing (merged over the picture) ---
void Fill(Bitmap32& b, const Sdf& shape, const Paint& paint);
void Fill(Bitmap32& b, const Sdf& shape, Argb color);
// Hard-edged fill (coverage 0 or 1), for pictures keyed by a transparent colour.
void FillHard(Bitmap32& b, const Sdf& shape, const Paint& paint);
// A soft shadow of the shape, offset and blurred, under whatever is drawn next.
void Shadow(Bitmap32& b, const Sdf& shape, double dx, double dy, float blur, Argb color);
// Text in `color` laid out by the text back end in rect r with DrawText format bits.
void Text(Bitmap32& b, const Font& font, const Rect& r, uint32_t format, std::string_view text,
          Argb color);
// A pixel-exact one-pixel line (x0..x1 exclusive) or column, merged.
void HLine(Bitmap32& b, int x0, int x1, int y, Argb color);
void VLine(Bitmap32& b, int x, int y0, int y1, Argb color);

Bitmap32 Blank(int width, int height);
PngImage ToPng(const Bitmap32& b);
// Frames painted side by side into one strip.
PngImage Strip(int frame_width, int height, int count,
               const std::function<void(Bitmap32&, int frame)>& paint_frame);

Font TextFont(int pixels, bool bold, std::string_view face = "DejaVu Sans");

}  // namespace orvo::painter
