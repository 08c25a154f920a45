// OrvoPM: the program. On Windows it is the real thing on the real system. Natively it
// runs on the headless screen, on a Windows image folder:
//
//   OrvoPM --image DIR --png FILE [--size WxH] [--lang NAME]
//       starts as the program does, writes the main window to FILE once it has painted
//       and its advert has come (or failed; 10 s at most), and ends as the program does
//       (the settings are saved into the image)
//   OrvoPM --image DIR --news-png FILE
//       starts as the program does and, once the news window has slid in with its page
//       and pictures, writes it to FILE and ends (fails when no news window settles
//       within 30 s: news off, no new item, or no service)
//   OrvoPM --image DIR
//       starts and runs until SIGINT or SIGTERM closes the main window (a second start
//       finds it, as on Windows)
//
// Both builds take --trace FILE: one line per notable event (shown, first-paint-ms N,
// restore, news settled), for the tests that watch whole processes, and --site URL: the base address of the update and news
// descriptions and the advert service instead of the built-in one (for a site on
// another port).
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "notices/news_window.h"
#include "notices/notice_site.h"
#include "notices/notices.h"
#include "platform/platform.h"
#include "platform/raster.h"
#include "platform/window_system.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "ui/application.h"

#ifndef _WIN32
#include "platform/headless/headless_window_system.h"
#endif

namespace {

using namespace orvo;

struct Options {
  std::string image;
  std::string png;
  std::string news_png;
  std::string lang;
  std::string trace;
  std::string site;
  int width = 0;
  int height = 0;
};

int Usage() {
  std::fputs(
      "usage: OrvoPM [--image DIR] [--png FILE [--size WxH] [--lang NAME]] [--news-png FILE]\n"
      "              [--trace FILE] [--site URL]\n",
      stderr);
  return 2;
}

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (arg == "--image") {
      o.image = value;
    } else if (arg == "--png") {
      o.png = value;
    } else if (arg == "--news-png") {
      o.news_png = value;
    } else if (arg == "--lang") {
      o.lang = value;
    } else if (arg == "--trace") {
      o.trace = value;
    } else if (arg == "--site") {
      o.site = value;
    } else if (arg == "--size") {
      if (std::sscanf(value.c_str(), "%dx%d", &o.width, &o.height) != 2 || o.width < 100 ||
          o.height < 100 || o.width > 4096 || o.height > 4096) {
        return false;
      }
    } else {
      return false;
    }
  }
  return true;
}

void Trace(const std::string& file, const char* line) {
  if (file.empty()) return;
  std::ofstream out(file, std::ios::app);
  out << line << '\n';
}

constexpr uint64_t kNewsWaitMs = 30000;
constexpr uint64_t kAdvertWaitMs = 10000;

// The form's picture into a PNG file (the headless screen only).
bool SaveWindow(os::WindowSystem& windows, TForm& form, const std::string& file) {
#ifdef _WIN32
  (void)windows, (void)form, (void)file;
  return false;
#else
  auto& headless = static_cast<os::headless::HeadlessWindowSystem&>(windows);
  if (form.Handle() && headless.SaveWindowPng(*form.Handle(), file)) return true;
  std::fprintf(stderr, "OrvoPM: cannot write %s\n", file.c_str());
  return false;
#endif
}

volatile std::sig_atomic_t stop_requested = 0;

extern "C" void RequestStop(int) { stop_requested = 1; }

}  // namespace

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  Options o;
  if (!Parse(argc, argv, o)) return Usage();
#ifdef _WIN32
  if (!o.png.empty() || !o.news_png.empty()) {
    std::fputs("OrvoPM: --png and --news-png need the headless screen of the native build\n", stderr);
    return 2;
  }
#endif
  std::string error;
  std::unique_ptr<os::Platform> platform = os::OpenPlatform(o.image, &error);
  if (!platform) {
    std::fprintf(stderr, "OrvoPM: %s\n", error.c_str());
    return 3;
  }
  os::Install(platform.get());
  auto raster = os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "OrvoPM: no text back end: %s\n", error.c_str());
    return 1;
  }
  os::InstallRaster(raster.get());

  std::unique_ptr<os::WindowSystem> system;
#ifdef _WIN32
  system = os::OpenWindowSystem(&error);
#else
  os::headless::ScreenOptions screen;
  screen.real_clock = true;
  if (o.width > 0) {
    screen.width = std::max(screen.width, o.width + 80);
    screen.height = std::max(screen.height, o.height + 80);
  }
  system = std::make_unique<os::headless::HeadlessWindowSystem>(screen);
#endif
  if (!system) {
    std::fprintf(stderr, "OrvoPM: no window system: %s\n", error.c_str());
    return 1;
  }
  os::WindowSystem& windows = *system;
  os::WindowSystemScope scope(std::move(system));

  InstallNoticeChecks();
  if (!o.site.empty()) SetNoticeSite(o.site);

  StartupOptions options;
  options.width = o.width;
  options.height = o.height;
  if (!o.lang.empty()) options.language = o.lang;
  options.on_restore = [&] { Trace(o.trace, "restore"); };
  int code = 0;
  // The pictures --png and --news-png ask for, taken on a 100 ms look-out once the main
  // window has painted: the main window when its advert has come (or could not), the news
  // window when it has slid in with its page; the run ends when both are taken.
  bool main_taken = o.png.empty();
  bool news_taken = o.news_png.empty();
  int advert_ready_looks = 0;
  uint64_t deadline = 0;
  const auto look_out = [&] {
    TForm* main = Application().MainForm;
    if (!main || !main->Shown() || (main_taken && news_taken)) return;
    const bool late = windows.TickCount() >= deadline;
    // One look after the advert is ready, so that its picture has been painted.
    advert_ready_looks = AdvertsSettled() ? advert_ready_looks + 1 : 0;
    if (!main_taken && (advert_ready_looks >= 2 || late)) {
      if (!SaveWindow(windows, *main, o.png)) code = 1;
      main_taken = true;
    }
    TFrmNews* news = ExistingNewsWindow();
    if (!news_taken && ((news && news->Settled()) || late)) {
      if (news && news->Settled()) {
        if (!SaveWindow(windows, *news, o.news_png)) code = 1;
      } else {
        std::fputs("OrvoPM: no news window settled\n", stderr);
        code = 1;
      }
      news_taken = true;
    }
    if (main_taken && news_taken) main->Close();
  };
  options.on_shown = [&](TfrmXOBMain&) {
    Trace(o.trace, "shown");
    const auto painted = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started);
    Trace(o.trace, ("first-paint-ms " + std::to_string(painted.count())).c_str());
    if (main_taken && news_taken) return;
    deadline = windows.TickCount() + (news_taken ? kAdvertWaitMs : kNewsWaitMs);
    windows.StartTimer(std::chrono::milliseconds(100), look_out);
  };
  // SIGINT and SIGTERM close the main window, as the user would.
  // The trace also tells when a news window has settled on the screen (the Wine tests
  // take their screenshot then).
  bool news_traced = false;
  windows.StartTimer(std::chrono::milliseconds(100), [&] {
    const TFrmNews* news = ExistingNewsWindow();
    const bool settled = news && news->Settled();
    if (settled && !news_traced) Trace(o.trace, "news settled");
    news_traced = settled;
  });
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  windows.StartTimer(std::chrono::milliseconds(100), [] {
    if (stop_requested && Application().MainForm) Application().MainForm->Close();
  });
  const StartupOutcome outcome = RunProgram(options);
  if (outcome.second_instance) Trace(o.trace, "second instance");
  if (outcome.refused) Trace(o.trace, "refused");
  std::fflush(nullptr);
  // The program ends at once: worker threads are cut off and nothing is cleaned up.
  std::_Exit(code);
}
