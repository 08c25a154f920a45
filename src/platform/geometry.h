#pragma once
// Rectangles, points and sizes in the Windows convention: a rectangle holds the pixels
// left <= x < right, top <= y < bottom, so its width is right - left. They live below
// every layer so that the window system, the raster layer and the toolkit speak of the
// same rectangle.
#include <algorithm>

namespace orvo {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect RectOfSize(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

// The common part; an empty rectangle (possibly with right < left) when they do not meet.
inline Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

inline bool Intersects(const Rect& a, const Rect& b) { return !Intersect(a, b).empty(); }

// The smallest rectangle holding both; an empty one does not count.
inline Rect Union(const Rect& a, const Rect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace orvo
