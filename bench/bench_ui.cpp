// Toolkit timings on the headless screen with the gallery window (900 x 600), printed as
// "name: value unit" lines:
//   hover_update_ms     time from a pointer move to the finished update of the window's
//                       picture: the median over a push button and the median over a menu
//                       item (entering and leaving), whichever is slower; the two kinds
//                       also on their own
//   gallery_repaint_ms  median time of a full repaint of the gallery window, handed to
//                       the screen
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/gallery_window.h"
#include "platform/headless/headless_window_system.h"
#include "platform/raster.h"
#include "ui/application.h"

namespace orvo {
namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> times) {
  std::nth_element(times.begin(), times.begin() + static_cast<long>(times.size() / 2), times.end());
  return times[times.size() / 2];
}

// Times `work` `runs` times after one warm-up run.
std::vector<double> Samples(int runs, const std::function<void()>& work) {
  work();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return times;
}

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

int Run() {
  os::headless::ScreenOptions options;
  options.width = 1024;
  options.height = 720;
  auto owned = std::make_unique<os::headless::HeadlessWindowSystem>(options);
  os::headless::HeadlessWindowSystem& screen = *owned;
  os::WindowSystemScope scope(std::move(owned));
  TimgModule module;
  gallery::TGalleryWindow window(module);
  Application().MainForm = &window;
  Application().ShowHint = false;  // no hint timers in the measurement
  window.Show();
  screen.ProcessMessages();

  // Over a push button and off it again, onto the window's plain white.
  const Point button = window.ScreenCentre(*window.FindControl("btnStateNormal"));
  const Point plain = window.ClientToScreen({700, 540});
  bool on = false;
  const std::vector<double> over_button = Samples(400, [&] {
    const Point p = on ? plain : button;
    on = !on;
    screen.MoveMouse(p.x, p.y);
  });

  // Between two entries of the open menu: the whole level is drawn again and handed over.
  window.OpenMenu();
  const Point first = Centre(window.sysMenu.ItemScreenRect(0, *window.sysMenu.Items(1)));
  const Point second = Centre(window.sysMenu.ItemScreenRect(0, *window.sysMenu.Items(2)));
  bool which = false;
  const std::vector<double> over_item = Samples(400, [&] {
    const Point p = which ? first : second;
    which = !which;
    screen.MoveMouse(p.x, p.y);
  });
  window.sysMenu.CloseMenu(false);
  screen.ProcessMessages();

  const std::vector<double> repaint = Samples(100, [&] {
    window.InvalidateRect(window.ClientRect());
    screen.ProcessMessages();
  });

  std::printf("hover_update_ms: %.3f ms\n", std::max(Median(over_button), Median(over_item)));
  std::printf("hover_button_ms: %.3f ms\n", Median(over_button));
  std::printf("hover_menu_item_ms: %.3f ms\n", Median(over_item));
  std::printf("gallery_repaint_ms: %.3f ms\n", Median(repaint));
  window.Hide();
  return 0;
}

}  // namespace
}  // namespace orvo

int main() {
  std::string error;
  auto raster = orvo::os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "bench_ui: no text back end: %s\n", error.c_str());
    return 1;
  }
  orvo::os::InstallRaster(raster.get());
  const int code = orvo::Run();
  orvo::os::InstallRaster(nullptr);
  return code;
}
