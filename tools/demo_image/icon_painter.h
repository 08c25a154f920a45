#pragma once
// Small anti-aliased shapes for the fixture pictures (extension icons, browser marks):
// every pixel is sampled 4 x 4 times, so edges come out smooth without a raster library.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/pixels.h"

namespace orvo::tools {

class IconPainter {
 public:
  explicit IconPainter(int size);
  // Paints colour where inside(x, y) holds, x and y in 0..1 across the picture.
  void Fill(uint32_t rgb, const std::function<bool(double, double)>& inside, double opacity = 1);
  void Circle(uint32_t rgb, double cx, double cy, double r);
  void Ring(uint32_t rgb, double cx, double cy, double r_outer, double r_inner);
  void RoundRect(uint32_t rgb, double x0, double y0, double x1, double y1, double radius);
  // A quarter of a ring, from angle a0 to a1 (degrees, 0 at the right, counter-clockwise).
  void Arc(uint32_t rgb, double cx, double cy, double r_outer, double r_inner, double a0,
           double a1);
  const os::Pixels& pixels() const { return pixels_; }

 private:
  os::Pixels pixels_;
};

// A file holding several sizes of the same picture, as Windows icon files do; 16 and 32
// as 32-bit bitmaps with masks, larger sizes as PNG entries.
std::string WriteIcoFile(const std::vector<os::Pixels>& sizes);
// One icon image as both file formats store it (bitmap with mask up to 32, else PNG).
std::string EncodeIconImage(const os::Pixels& pixels);

// A stand-in program file: a 64-bit PE image that holds nothing but one icon group with
// these sizes, so Windows (and Wine) and the sandbox find the program's icon in it.
std::string WriteIconProgram(const std::vector<os::Pixels>& sizes);

}  // namespace orvo::tools
