// bench_main: the main window's timings, printed as "name: value unit" lines:
//   main_first_paint_ms        from starting OrvoPM on a copy of the demo image to its main
//                              window painted on the headless screen (median of runs,
//                              measured from outside by the program's trace)
//   main_first_paint_500_ms    the same on a synthetic image with 500 Chrome extensions
//                              (2 MB Preferences)
//   main_tab_switch_ms         with 500 add-ons: from the click's handler to the repainted
//                              window (the list cleared, 500 rows added, painted)
//   main_list_scroll_frame_ms  500 rows, one wheel notch, the window's picture updated
//   main_row_hover_ms          the pointer moved from one row to the next, the two rows
//                              repainted and handed to the screen
// The rating service is pointed at a closed port, so no run waits for the network.
//
//   bench_main [RUNS]
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/system_values.h"
#include "demo_images.h"
#include "platform/headless/headless_window_system.h"
#include "platform/platform.h"
#include "platform/raster.h"
#include "rating/rate_session.h"
#include "shell/app_config.h"
#include "shell/language.h"
#include "shell/main_window.h"
#include "ui/application.h"
#include "timing.h"
#include "ui/image_module.h"

extern char** environ;

namespace fs = std::filesystem;

namespace orvo {
namespace {

using Clock = std::chrono::steady_clock;
constexpr char kClosedService[] = "http://127.0.0.1:1";

bool Contains(const fs::path& file, const std::string& text) {
  std::ifstream in(file);
  std::string all((std::istreambuf_iterator<char>(in)), {});
  return all.find(text) != std::string::npos;
}

// One start of the program: until its trace says the main window was shown (it is, once
// painted), then it is stopped as a user would close it.
double FirstPaintMs(const fs::path& image, const fs::path& scratch) {
  const fs::path trace = scratch / "trace.txt";
  fs::remove(trace);
  const std::string program = ORVO_PROGRAM;
  const std::string image_arg = image.string(), trace_arg = trace.string();
  std::vector<char*> argv = {const_cast<char*>(program.c_str()),   const_cast<char*>("--image"),
                             const_cast<char*>(image_arg.c_str()), const_cast<char*>("--trace"),
                             const_cast<char*>(trace_arg.c_str()), nullptr};
  pid_t pid = 0;
  const auto start = Clock::now();
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  double ms = -1;
  while (std::chrono::duration<double>(Clock::now() - start).count() < 20) {
    if (Contains(trace, "shown")) {
      ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  return ms;
}

double FirstPaint(const fs::path& image, const fs::path& scratch, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double ms = FirstPaintMs(image, scratch);
    if (ms < 0) {
      std::fprintf(stderr, "bench_main: OrvoPM did not show its window on %s\n", image.c_str());
      std::exit(1);
    }
    times.push_back(ms);
  }
  return Median(times);
}

// The in-process timings on the synthetic image.
void WindowTimings(const fs::path& image, int runs) {
  std::string error;
  std::shared_ptr<os::Platform> platform = os::OpenPlatform(image.string(), &error);
  auto raster = os::OpenRasterSystem(&error);
  if (!platform || !raster) {
    std::fprintf(stderr, "bench_main: %s\n", error.c_str());
    std::exit(1);
  }
  UseSystem(platform);
  os::InstallRaster(raster.get());
  os::headless::ScreenOptions options;
  options.width = 1024;
  options.height = 720;
  auto owned = std::make_unique<os::headless::HeadlessWindowSystem>(options);
  os::headless::HeadlessWindowSystem& screen = *owned;
  {
    os::WindowSystemScope scope(std::move(owned));
    InstallRateSession(std::make_shared<TRateSession>(kClosedService));
    ChooseLanguageFile("English");
    TimgModule module;
    auto main = TfrmBase::Create<TfrmXOBMain>();
    Application().MainForm = main.get();
    Application().ShowHint = false;
    main->Show();
    screen.ProcessMessages();
    TLumButton* chrome = main->TabOf(bkChrome);
    TLumButton* other = main->TabOf(bkIE);
    if (!chrome || !other || !other->Enabled() || main->m_lstView->ItemCount() < 500) {
      std::fprintf(stderr, "bench_main: the synthetic image lacks its tabs\n");
      std::exit(1);
    }
    std::vector<double> tab_switch;
    for (int i = 0; i < runs * 10; ++i) {
      main->SelectTab(*other);
      screen.ProcessMessages();
      const auto start = Clock::now();
      main->SelectTab(*chrome);
      screen.ProcessMessages();
      tab_switch.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }

    TLumListView& list = *main->m_lstView;
    const Point origin = main->ClientToScreen(list.FormOrigin());
    screen.Click(origin.x + 300, origin.y + 30);  // the list takes the wheel
    int step = 0;
    const std::vector<double> scroll = Samples(runs * 30, [&] {
      // Down twenty notches, up twenty, so every frame has rows to move.
      screen.Wheel((step++ / 20) % 2 == 0 ? -os::kWheelDelta : os::kWheelDelta);
    });
    const Point upper{origin.x + 300, origin.y + 30};
    const Point lower{upper.x, upper.y + list.Itemheight + list.MarginItem};
    bool down = false;
    const std::vector<double> hover = Samples(runs * 40, [&] {
      const Point p = down ? upper : lower;
      down = !down;
      screen.MoveMouse(p.x, p.y);
    });
    std::printf("main_tab_switch_ms: %.3f ms\n", Median(tab_switch));
    std::printf("main_list_scroll_frame_ms: %.3f ms\n", Median(scroll));
    std::printf("main_row_hover_ms: %.3f ms\n", Median(hover));
    main.reset();
  }
  UseSystem(nullptr);
}

}  // namespace
}  // namespace orvo

int main(int argc, char** argv) {
  using namespace orvo;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const fs::path scratch = fs::temp_directory_path() / ("bench_main." + std::to_string(getpid()));
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  const fs::path demo = scratch / "demo", heavy = scratch / "heavy";
  fs::copy(ORVO_DEMO_IMAGE, demo, fs::copy_options::recursive);
  tools::WriteSyntheticImage(heavy, 500, 2.0);
  // Internet Explorer too, for a second tab to switch from.
  const fs::path ie = "C/Program Files/Internet Explorer";
  fs::create_directories(heavy / ie);
  fs::copy_file(demo / ie / "iexplore.exe", heavy / ie / "iexplore.exe");
  setenv("ORVO_RATING_SERVICE_URL", kClosedService, 1);

  std::printf("main_first_paint_ms: %.1f ms\n", FirstPaint(demo, scratch, runs));
  std::printf("main_first_paint_500_ms: %.1f ms\n", FirstPaint(heavy, scratch, runs));
  std::fflush(stdout);
  WindowTimings(heavy, runs);
  fs::remove_all(scratch);
  return 0;
}
