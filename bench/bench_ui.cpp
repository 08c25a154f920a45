// Toolkit timings on the headless screen with the gallery window (900 x 600), printed as
// "name: value unit" lines:
//   hover_update_ms     time from a pointer move to the finished update of the window's
//                       picture: the median over a push button and the median over a menu
//                       item (entering and leaving), whichever is slower; the two kinds
//                       also on their own
//   gallery_repaint_ms  median time of a full repaint of the gallery window, handed to
//                       the screen
//   list_scroll_frame_ms  the lists window's 1,000-row add-on list scrolled by one wheel
//                       notch and painted again (median)
//   list_hover_ms       the pointer moved from one row of that list to the next: the two
//                       rows painted again and handed to the screen (median)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/gallery_window.h"
#include "platform/headless/headless_window_system.h"
#include "platform/raster.h"
#include "ui/application.h"
#include "timing.h"

namespace orvo {
namespace {

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

  // The lists window's add-on list: wheel notches down, and the pointer between two rows.
  window.OpenLists();
  screen.ProcessMessages();
  gallery::TListsWindow& lists = *window.lists;
  TLumListView& list = *lists.lstAddons;
  const Point list_origin = lists.ClientToScreen(list.FormOrigin());
  screen.Click(list_origin.x + 150, list_origin.y + 30);  // the list (and its bar) take the wheel
  const std::vector<double> scroll = Samples(300, [&] { screen.Wheel(-os::kWheelDelta); });
  const int row_top = list.Items(list.IndexOf(list.ItemAt({150, 40})))->ItemRect.top;
  const Point upper{list_origin.x + 150, list_origin.y + row_top + 30};
  const Point lower{upper.x, upper.y + list.Itemheight + list.MarginItem};
  bool down = false;
  const std::vector<double> hover = Samples(400, [&] {
    const Point p = down ? upper : lower;
    down = !down;
    screen.MoveMouse(p.x, p.y);
  });

  std::printf("hover_update_ms: %.3f ms\n", std::max(Median(over_button), Median(over_item)));
  std::printf("hover_button_ms: %.3f ms\n", Median(over_button));
  std::printf("hover_menu_item_ms: %.3f ms\n", Median(over_item));
  std::printf("gallery_repaint_ms: %.3f ms\n", Median(repaint));
  std::printf("list_scroll_frame_ms: %.3f ms\n", Median(scroll));
  std::printf("list_hover_ms: %.3f ms\n", Median(hover));
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
