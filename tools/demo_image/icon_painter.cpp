#include "icon_painter.h"

#include <cmath>

#include "platform/png_codec.h"

namespace orvo::tools {
namespace {

constexpr int kSamples = 4;

void Blend(uint32_t& dst, uint32_t rgb, double coverage) {
  const double sa = coverage;
  const double da = (dst >> 24) / 255.0;
  const double oa = sa + da * (1 - sa);
  if (oa <= 0) return;
  auto channel = [&](int shift) {
    const double s = (rgb >> shift) & 0xFF;
    const double d = (dst >> shift) & 0xFF;
    return static_cast<uint32_t>(std::lround((s * sa + d * da * (1 - sa)) / oa)) & 0xFF;
  };
  dst = (static_cast<uint32_t>(std::lround(oa * 255)) << 24) | (channel(16) << 16) |
        (channel(8) << 8) | channel(0);
}

void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

std::string Dib(const os::Pixels& p) {
  std::string d;
  Put32(d, 40);
  Put32(d, p.width);
  Put32(d, p.height * 2);
  Put16(d, 1);
  Put16(d, 32);
  for (int i = 0; i < 6; ++i) Put32(d, 0);
  for (int y = p.height - 1; y >= 0; --y) {
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.argb[size_t(y) * p.width + x];
      Put32(d, c);  // BGRA in memory is ARGB little-endian
    }
  }
  const int stride = ((p.width + 31) / 32) * 4;
  for (int y = p.height - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < p.width; ++x) {
      if ((p.argb[size_t(y) * p.width + x] >> 24) == 0)
        row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
    }
    d += row;
  }
  return d;
}

}  // namespace

IconPainter::IconPainter(int size)
    : pixels_{size, size, std::vector<uint32_t>(size_t(size) * size, 0)} {}

void IconPainter::Fill(uint32_t rgb, const std::function<bool(double, double)>& inside,
                       double opacity) {
  const int n = pixels_.width;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double u = (x + (sx + 0.5) / kSamples) / n;
          const double v = (y + (sy + 0.5) / kSamples) / n;
          hits += inside(u, v) ? 1 : 0;
        }
      }
      if (hits) Blend(pixels_.argb[size_t(y) * n + x], rgb, opacity * hits / (kSamples * kSamples));
    }
  }
}

void IconPainter::Circle(uint32_t rgb, double cx, double cy, double r) {
  Fill(rgb, [=](double u, double v) { return (u - cx) * (u - cx) + (v - cy) * (v - cy) <= r * r; });
}

void IconPainter::Ring(uint32_t rgb, double cx, double cy, double ro, double ri) {
  Fill(rgb, [=](double u, double v) {
    const double d = (u - cx) * (u - cx) + (v - cy) * (v - cy);
    return d <= ro * ro && d >= ri * ri;
  });
}

void IconPainter::RoundRect(uint32_t rgb, double x0, double y0, double x1, double y1, double r) {
  Fill(rgb, [=](double u, double v) {
    if (u < x0 || u > x1 || v < y0 || v > y1) return false;
    const double cx = u < x0 + r ? x0 + r : (u > x1 - r ? x1 - r : u);
    const double cy = v < y0 + r ? y0 + r : (v > y1 - r ? y1 - r : v);
    return (u - cx) * (u - cx) + (v - cy) * (v - cy) <= r * r;
  });
}

void IconPainter::Arc(uint32_t rgb, double cx, double cy, double ro, double ri, double a0,
                      double a1) {
  Fill(rgb, [=](double u, double v) {
    const double dx = u - cx;
    const double dy = cy - v;
    const double d = dx * dx + dy * dy;
    if (d > ro * ro || d < ri * ri) return false;
    double a = std::atan2(dy, dx) * 180 / M_PI;
    if (a < 0) a += 360;
    return a0 <= a1 ? (a >= a0 && a <= a1) : (a >= a0 || a <= a1);
  });
}

std::string EncodeIconImage(const os::Pixels& p) {
  return p.width <= 32 ? Dib(p) : *os::EncodePng(p);
}

std::string WriteIcoFile(const std::vector<os::Pixels>& sizes) {
  std::vector<std::string> images;
  for (const auto& p : sizes) images.push_back(EncodeIconImage(p));
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(sizes.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    out += static_cast<char>(sizes[i].width >= 256 ? 0 : sizes[i].width);
    out += static_cast<char>(sizes[i].height >= 256 ? 0 : sizes[i].height);
    out += '\0';
    out += '\0';
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& img : images) out += img;
  return out;
}

}  // namespace orvo::tools
