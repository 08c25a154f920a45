// Pictures of the headless screen: one window as it presented itself, or the whole primary
// screen composed the way a desktop shows it (desktop colour, the taskbar band outside the
// work area, windows bottom to top, layered ones blended by their alpha, regions applied).
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/headless/headless_window.h"
#include "platform/png_codec.h"

namespace orvo::os::headless {
namespace {

uint32_t Over(uint32_t top, uint32_t bottom) {
  const uint32_t a = top >> 24;
  if (a == 255) return top | 0xFF000000u;
  if (a == 0) return bottom;
  auto mix = [&](int shift) {
    const uint32_t f = (top >> shift) & 0xFF, b = (bottom >> shift) & 0xFF;
    return ((f * a + b * (255 - a) + 127) / 255) << shift;
  };
  return 0xFF000000u | mix(16) | mix(8) | mix(0);
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".part";
  // A part file that cannot be removed either is left behind; the failure to report is the
  // write's own.
  std::error_code ignored;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      out.close();
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temp, path, error);
  if (error) std::filesystem::remove(temp, ignored);
  return !error;
}

bool SavePixels(const Pixels& pixels, const std::string& path) {
  if (pixels.width <= 0 || pixels.height <= 0) return false;
  const auto bytes = EncodePng(pixels);
  return bytes && WriteAll(path, *bytes);
}

}  // namespace

Pixels HeadlessWindowSystem::RenderScreen() const {
  Pixels out;
  out.width = options_.width;
  out.height = options_.height;
  out.argb.assign(static_cast<size_t>(out.width) * out.height,
                  options_.desktop_color | 0xFF000000u);
  const Rect work = options_.work_area;
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      if (!work.Contains({x, y})) {
        out.argb[static_cast<size_t>(y) * out.width + x] = options_.taskbar_color | 0xFF000000u;
      }
    }
  }
  for (const HeadlessWindow* w : z_order_) {
    if (!w->OnScreen()) continue;
    const Rect b = w->Bounds();
    const int top = std::max(b.top, 0), bottom = std::min(b.bottom, out.height);
    const int left = std::max(b.left, 0), right = std::min(b.right, out.width);
    for (int y = top; y < bottom; ++y) {
      uint32_t* row = out.argb.data() + static_cast<size_t>(y) * out.width;
      for (int x = left; x < right; ++x) {
        const int wx = x - b.left, wy = y - b.top;
        if (!w->InRegion(wx, wy)) continue;
        row[x] = Over(w->PixelAt(wx, wy), row[x]);
      }
    }
  }
  return out;
}

Pixels HeadlessWindowSystem::RenderWindow(const Window& window) const {
  Pixels out;
  const HeadlessWindow* w = Find(&window);
  if (!w) return out;
  out.width = w->picture_width();
  out.height = w->picture_height();
  out.argb.resize(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const uint32_t p = w->PixelAt(x, y);
      out.argb[static_cast<size_t>(y) * out.width + x] = w->InRegion(x, y) ? p : 0;
    }
  }
  return out;
}

bool HeadlessWindowSystem::SaveScreenPng(const std::string& path) const {
  return SavePixels(RenderScreen(), path);
}

bool HeadlessWindowSystem::SaveWindowPng(const Window& window, const std::string& path) const {
  return SavePixels(RenderWindow(window), path);
}

}  // namespace orvo::os::headless
