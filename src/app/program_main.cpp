// OrvoPM: the program. On Windows it is the real thing on the real system. Natively it
// runs on the headless screen, on a Windows image folder:
//
//   OrvoPM --image DIR --png FILE [--size WxH] [--lang NAME] [--tab chrome|ie|firefox|opera]
//       starts as the program does, shows that browser's tab, waits (at most 10 s each)
//       until the ratings of its add-ons and the advert have arrived or failed, writes the
//       main window to FILE, and ends as the program does (the settings are saved into the
//       image)
//   OrvoPM --image DIR --png FILE --ratings BROWSER:ADDON [--ratings-tab mine]
//       the same, but the picture is the ratings window of that add-on (its id, or ":N"),
//       opened from the main window once its data came from the rating service, on its
//       "User Reviews" tab or on "My Review"
//   OrvoPM --image DIR --news-png FILE
//       starts as the program does and, once the news window has slid in with its page
//       and pictures, writes it to FILE and ends (fails when no news window settles
//       within 30 s: news off, no new item, or no site); with --png, both pictures
//   OrvoPM --image DIR
//       starts and runs until SIGINT or SIGTERM closes the main window (a second start
//       finds it, as on Windows)
//
//   OrvoPM [--image DIR] --smoke DIR|-
//       the smoke run under synthetic input (see app/main_smoke.h), state files in DIR
//       ("-": none); the exit code says whether every step came true
//
// Both builds take --trace FILE (app/program_trace.h), for the tests that watch whole
// processes, and --site URL: the base address of the update and news descriptions and
// the advert service instead of the built-in one. The environment variable
// ORVO_RATING_SERVICE_URL, when set, names the rating service instead of the built-in
// address (tests, pictures and the smoke run use a service of their own).
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/main_smoke.h"
#include "app/program_options.h"
#include "app/program_pictures.h"
#include "app/program_trace.h"
#include "catalogue/system_values.h"
#include "notices/notices.h"
#include "platform/platform.h"
#include "platform/raster.h"
#include "platform/window_system.h"
#include "rating/rate_session.h"
#include "shell/main_window.h"
#include "shell/ratings_form.h"
#include "shell/site_pages.h"
#include "shell/startup.h"
#include "ui/application.h"
#include "ui/image_module.h"
#include "ui/lum_message_box.h"

#ifndef _WIN32
#include "platform/headless/headless_window_system.h"
#endif

namespace {

using namespace orvo;

volatile std::sig_atomic_t stop_requested = 0;

extern "C" void RequestStop(int) { stop_requested = 1; }

}  // namespace

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  ProgramOptions o;
  if (!ParseProgramOptions(argc, argv, o)) return ProgramUsage();
#ifdef _WIN32
  if (!o.png.empty() || !o.news_png.empty()) {
    std::fputs("OrvoPM: --png and --news-png need the headless screen of the native build\n",
               stderr);
    return 2;
  }
#endif
  std::string error;
  std::shared_ptr<os::Platform> platform = os::OpenPlatform(o.image, &error);
  if (!platform) {
    std::fprintf(stderr, "OrvoPM: %s\n", error.c_str());
    return 3;
  }
  // The platform, and the system facts the catalogues read from it (64-bit Windows, the
  // program files folder).
  UseSystem(platform);
  auto raster = os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "OrvoPM: no text back end: %s\n", error.c_str());
    return 1;
  }
  os::InstallRaster(raster.get());
  if (const char* url = std::getenv("ORVO_RATING_SERVICE_URL"); url && *url) {
    InstallRateSession(std::make_shared<TRateSession>(url));
  }

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
  if (!o.site.empty()) SetSiteBaseUrl(o.site);

  const ProgramTrace trace(o.trace);
  StartupOptions options;
  options.width = o.width;
  options.height = o.height;
  if (!o.lang.empty()) options.language = o.lang;
  options.on_restore = [&] { trace.Line("restore"); };
  int code = 0;
  std::unique_ptr<TMainSmoke> smoke;
  options.on_shown = [&](TfrmXOBMain& main) {
    trace.Line("shown");
    trace.FirstPaint(started);
    if (o.smoking) {
      smoke = std::make_unique<TMainSmoke>(main, o.smoke);
      smoke->Start();
    }
    if (o.ratings) {
#ifndef _WIN32
      auto& headless = static_cast<os::headless::HeadlessWindowSystem&>(windows);
      // Nobody is there to answer a message box ("PlugRatingError"): it is answered at once.
      headless.on_modal_idle = [] {
        if (!imgModule || !imgModule->msgdlg.Busy()) return false;
        imgModule->msgdlg.Finish(kMsgResultOk);
        return true;
      };
      code = OpenRatingsForPicture(*o.ratings, [&](TfrmXOBRate& window) {
        return SaveWindowPicture(windows, window, o.png);
      });
#endif
      main.Close();
      return;
    }
    if (!o.png.empty()) {
      SettleMainWindow(main, o.tab);
      if (!SaveWindowPicture(windows, main, o.png)) code = 1;
      if (o.news_png.empty()) main.Close();
    }
    // The news check runs on its own; its picture is taken once its window has settled.
    if (!o.news_png.empty()) TakeNewsPictureWhenSettled(windows, o.news_png, code);
  };
  // The Wine tests take their screenshot of the news window once it has settled.
  trace.WatchNewsWindow(windows);
  // SIGINT and SIGTERM close the main window, as the user would.
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  windows.StartTimer(std::chrono::milliseconds(100), [] {
    if (stop_requested && Application().MainForm) Application().MainForm->Close();
  });
  const StartupOutcome outcome = RunProgram(options);
  if (outcome.second_instance) trace.Line("second instance");
  if (outcome.refused) trace.Line("refused");
  if (smoke) code = smoke->ExitCode();
  std::fflush(nullptr);
  // The program ends at once: worker threads are cut off and nothing is cleaned up.
  std::_Exit(code);
}
