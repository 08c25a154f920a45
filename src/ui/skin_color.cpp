// Recolouring, desaturating and fading skins, with the toolkit's own HSL mapping. The
// formulas written as fractions (the grey level, the desaturation mix, the rectangle fade)
// are rounded from their exact values, so a tie is a true tie and goes to the even side.
#include <algorithm>
#include <cmath>

#include "ui/lum_ui_utils.h"
#include "ui/skin_pixels.h"

namespace orvo {
namespace {

// rnd(num / den) for num >= 0, den > 0, exactly.
int RoundDiv(long long num, long long den) {
  long long q = num / den;
  const long long twice = 2 * (num % den);
  if (twice > den || (twice == den && (q & 1))) ++q;
  return static_cast<int>(q);
}

uint8_t Clamp255(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

int Rnd(double x) { return static_cast<int>(std::nearbyint(x)); }

Hsl RgbToHsl(TColor color) {
  const TColor c = ColorToRGB(color);
  const double r = ColorRed(c) / 255.0, g = ColorGreen(c) / 255.0, b = ColorBlue(c) / 255.0;
  const double max = std::max({r, g, b}), min = std::min({r, g, b});
  Hsl out;
  const double l = (max + min) / 2;
  out.l = l * 100;
  if (max == min) return out;
  const double d = max - min;
  const double s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
  double h;
  if (r == max) {
    h = (g - b) / d;
  } else if (g == max) {
    h = (b - r) / d + 2;
  } else {
    h = (r - g) / d + 4;
  }
  h /= 6;
  if (h < 0) h += 1;
  out.h = h * 360;
  out.s = s * 100;
  return out;
}

TColor HslToRgb(double h, double s, double l) {
  // Saturation and lightness of exactly 100 are valid: RgbToHsl gives them for pure
  // colours and white, which must not turn black.
  if (!(h >= 0 && h < 360) || !(s >= 0 && s <= 100) || !(l >= 0 && l <= 100)) return clBlack;
  double x[3];
  if (h <= 60) {
    x[0] = 255, x[1] = Rnd(4.25 * h), x[2] = 0;
  } else if (h <= 120) {
    x[0] = Rnd(255 - 4.25 * (h - 60)), x[1] = 255, x[2] = 0;
  } else if (h <= 180) {
    x[0] = 0, x[1] = 255, x[2] = Rnd(4.25 * (h - 120));
  } else if (h <= 240) {
    x[0] = 0, x[1] = Rnd(255 - 4.25 * (h - 180)), x[2] = 255;
  } else if (h <= 300) {
    x[0] = Rnd(4.25 * (h - 240)), x[1] = 0, x[2] = 255;
  } else {
    x[0] = 255, x[1] = 0, x[2] = Rnd(255 - 4.25 * (h - 300));
  }
  const double k = std::fabs((s - 100) / 100);
  for (double& v : x) v = Rnd(v - (v - 128) * k);
  const double f = (l - 50) / 50;
  for (double& v : x) {
    if (f > 0) v = Rnd(v + f * (255 - v));
    if (f < 0) v = Rnd(v + f * v);
  }
  return MakeColor(Clamp255(static_cast<int>(x[0])), Clamp255(static_cast<int>(x[1])),
                   Clamp255(static_cast<int>(x[2])));
}

TColor TintPixel(TColor pixel, TColor tint) {
  const Hsl t = RgbToHsl(tint), p = RgbToHsl(pixel);
  return HslToRgb(t.h, t.s, p.l);
}

Argb PiecePixel(Argb pixel, int alpha_factor, TColor tint) {
  Argb out = pixel;
  if (tint != clNone) out = ColorToArgb(TintPixel(ArgbToColor(pixel), tint), AlphaOf(pixel));
  if (alpha_factor != 255) out = WithAlpha(out, AlphaOf(pixel) * alpha_factor / 255);
  return out;
}

PngImage CopyPiece(const PngImage& source, const Rect& r, int alpha_factor, TColor tint) {
  const Rect part = Intersect(r, source.bounds());
  PngImage piece(std::max(0, part.width()), std::max(0, part.height()));
  for (int y = 0; y < piece.height(); ++y) {
    const Argb* src = source.Row(part.top + y) + part.left;
    Argb* dst = piece.Row(y);
    for (int x = 0; x < piece.width(); ++x) dst[x] = PiecePixel(src[x], alpha_factor, tint);
  }
  return piece;
}

void GrayPng(PngImage& png, int amount) {
  if (png.empty()) return;
  if (png.color_type() == PngColorType::kGray || png.color_type() == PngColorType::kGrayAlpha) {
    return;
  }
  amount = std::clamp(amount, 0, 255);
  for (Argb& p : png.pixels()) {
    const int r = RedOf(p), g = GreenOf(p), b = BlueOf(p);
    const int l = RoundDiv(30LL * r + 59LL * g + 11LL * b, 100);
    const int grey_part = RoundDiv(static_cast<long long>(l) * (amount + 1), 256);
    // The two rounded halves can add up to 256 (white at amount 127); a channel stays a byte.
    const auto mix = [&](int c) {
      return Clamp255(RoundDiv(static_cast<long long>(c) * (255 - amount), 256) + grey_part);
    };
    p = MakeArgb(AlphaOf(p), mix(r), mix(g), mix(b));
  }
}

void FadePngAlpha(PngImage& png, int factor) {
  if (png.empty() || factor < 0 || factor > 255) return;
  png.CreateAlpha();
  for (Argb& p : png.pixels()) p = WithAlpha(p, AlphaOf(p) * factor / 255);
}

std::optional<PngImage> TintPng(const PngImage& png, TColor tint, int alpha_factor) {
  if (png.empty() || alpha_factor < 0 || alpha_factor > 255) return std::nullopt;
  PngImage copy = CopyPiece(png, png.bounds(), alpha_factor, tint);
  return copy;
}

PngImage SolidPng(int width, int height, TColor color) {
  PngImage png(width, height, PngColorType::kRgb);
  std::fill(png.pixels().begin(), png.pixels().end(), ColorToArgb(color, 255));
  return png;
}

void FadeRectAlpha(Bitmap32& bitmap, const Rect& rect, int factor) {
  const Rect r = Intersect(rect, bitmap.bounds());
  if (r.empty()) return;
  factor = std::clamp(factor, 0, 255);
  for (int y = r.top; y < r.bottom; ++y) {
    Argb* row = bitmap.Row(y);
    for (int x = r.left; x < r.right; ++x) {
      const Argb p = row[x];
      const auto scale = [&](int c) { return RoundDiv(static_cast<long long>(factor) * c, 255); };
      row[x] =
          MakeArgb(factor * AlphaOf(p) / 255, scale(RedOf(p)), scale(GreenOf(p)), scale(BlueOf(p)));
    }
  }
}

void FadeOutHorz(Bitmap32& bitmap, const Rect& rect) {
  const int w = rect.width();
  if (w <= 0) return;
  const Rect r = Intersect(rect, bitmap.bounds());
  for (int x = r.left; x < r.right; ++x) {
    const double f = 255 - (255.0 / w) * (x - rect.left);
    const int fa = Rnd(f);
    for (int y = r.top; y < r.bottom; ++y) {
      Argb& p = bitmap.Row(y)[x];
      p = MakeArgb(fa * AlphaOf(p) / 255, Clamp255(Rnd(f * RedOf(p) / 255)),
                   Clamp255(Rnd(f * GreenOf(p) / 255)), Clamp255(Rnd(f * BlueOf(p) / 255)));
    }
  }
}

}  // namespace orvo
