// OrvoPM: the program. On Windows it is the real thing on the real system. Natively it
// runs on the headless screen, on a Windows image folder:
//
//   OrvoPM --image DIR --png FILE [--size WxH] [--lang NAME] [--tab chrome|ie|firefox|opera]
//       starts as the program does, shows that browser's tab, waits (at most 10 s) until
//       the ratings of its add-ons have arrived or failed, writes the main window to FILE,
//       and ends as the program does (the settings are saved into the image)
//   OrvoPM --image DIR --png FILE --ratings BROWSER:ADDON [--ratings-tab mine]
//       the same, but the picture is the ratings window of that add-on (its id, or ":N"),
//       opened from the main window once its data came from the rating service, on its
//       "User Reviews" tab or on "My Review"
//   OrvoPM --image DIR
//       starts and runs until SIGINT or SIGTERM closes the main window (a second start
//       finds it, as on Windows)
//
//   OrvoPM [--image DIR] --smoke DIR|-
//       the smoke run under synthetic input (see app/main_smoke.h), state files in DIR
//       ("-": none); the exit code says whether every step came true
//
// Both builds take --trace FILE: one line per notable event (shown, restore), for the
// tests that watch two processes. The environment variable ORVO_RATING_SERVICE_URL, when
// set, names the rating service instead of the built-in address (tests, pictures and the
// smoke run use a service of their own).
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/main_smoke.h"
#include "app/program_ratings.h"
#include "catalogue/system_values.h"
#include "platform/platform.h"
#include "platform/raster.h"
#include "platform/window_system.h"
#include "rating/rate_session.h"
#include "shell/main_window.h"
#include "shell/ratings_form.h"
#include "shell/startup.h"
#include "ui/application.h"
#include "ui/image_module.h"
#include "ui/lum_message_box.h"

#ifndef _WIN32
#include "platform/headless/headless_window_system.h"
#endif

namespace {

using namespace orvo;

struct Options {
  std::string image;
  std::string png;
  std::string lang;
  std::string trace;
  std::optional<RatingsRequest> ratings;
  std::string smoke;
  bool smoking = false;
  uint8_t tab = 0;  // browser kind; 0: the first tab
  int width = 0;
  int height = 0;
};

int Usage() {
  std::fputs(
      "usage: OrvoPM [--image DIR] [--png FILE [--size WxH] [--lang NAME] "
      "[--tab chrome|ie|firefox|opera]\n"
      "              [--ratings BROWSER:ADDON [--ratings-tab reviews|mine]]] [--smoke DIR]\n"
      "              [--trace FILE]\n",
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
    } else if (arg == "--lang") {
      o.lang = value;
    } else if (arg == "--trace") {
      o.trace = value;
    } else if (arg == "--ratings") {
      const bool mine = o.ratings && o.ratings->my_review;
      o.ratings = ParseRatingsRequest(value);
      if (!o.ratings) return false;
      o.ratings->my_review = mine;
    } else if (arg == "--ratings-tab") {
      if (value != "reviews" && value != "mine") return false;
      if (!o.ratings) o.ratings = RatingsRequest{};
      o.ratings->my_review = value == "mine";
    } else if (arg == "--smoke") {
      o.smoking = true;
      o.smoke = value == "-" ? "" : value;  // "-": no state files
    } else if (arg == "--tab") {
      const char* names[] = {"", "chrome", "ie", "firefox", "opera"};
      o.tab = 0;
      for (uint8_t kind = 1; kind <= 4; ++kind) {
        if (value == names[kind]) o.tab = kind;
      }
      if (o.tab == 0) return false;
    } else if (arg == "--size") {
      if (std::sscanf(value.c_str(), "%dx%d", &o.width, &o.height) != 2 || o.width < 100 ||
          o.height < 100 || o.width > 4096 || o.height > 4096) {
        return false;
      }
    } else {
      return false;
    }
  }
  // A tab without an add-on, or a ratings picture without a file, asks for nothing.
  if (o.ratings && (o.ratings->browser.empty() || o.png.empty())) return false;
  return true;
}

void Trace(const std::string& file, const char* line) {
  if (file.empty()) return;
  std::ofstream out(file, std::ios::app);
  out << line << '\n';
}

#ifndef _WIN32
// The picture is taken once the tab's ratings have arrived or failed, so it is the same
// on every run; a service that never answers is waited for no longer than 10 s.
void ShowTabSettled(TfrmXOBMain& main, uint8_t kind) {
  if (kind != 0) {
    if (TLumButton* tab = main.TabOf(kind); tab && tab->Enabled()) main.SelectTab(*tab);
  }
  const TBrowserAppBase* catalogue = main.SelectedCatalogue();
  if (!catalogue) return;
  const auto pump_until = [](const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      Application().ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    Application().ProcessMessages();
  };
  pump_until([&] { return main.RatingsSettled(*catalogue); }, std::chrono::seconds(10));
  // Icons on the web (Firefox's) come on threads of their own; nothing says when a
  // download gave up, so they get a short while more.
  pump_until([&] {
    for (const auto& item : catalogue->Items) {
      if (!item->Image && item->IconRef.rfind("http", 0) == 0) return false;
    }
    return true;
  }, std::chrono::seconds(2));
}
#endif

volatile std::sig_atomic_t stop_requested = 0;

extern "C" void RequestStop(int) { stop_requested = 1; }

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!Parse(argc, argv, o)) return Usage();
#ifdef _WIN32
  if (!o.png.empty()) {
    std::fputs("OrvoPM: --png needs the headless screen of the native build\n", stderr);
    return 2;
  }
#endif
  std::string error;
  std::unique_ptr<os::Platform> platform = os::OpenPlatform(o.image, &error);
  if (!platform) {
    std::fprintf(stderr, "OrvoPM: %s\n", error.c_str());
    return 3;
  }
  // The platform, and the system facts the catalogues read from it (64-bit Windows, the
  // program files folder).
  UseSystem(platform.get());
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

  StartupOptions options;
  options.width = o.width;
  options.height = o.height;
  if (!o.lang.empty()) options.language = o.lang;
  options.on_restore = [&] { Trace(o.trace, "restore"); };
  int code = 0;
  std::unique_ptr<TMainSmoke> smoke;
  options.on_shown = [&](TfrmXOBMain& main) {
    Trace(o.trace, "shown");
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
        if (window.Handle() && headless.SaveWindowPng(*window.Handle(), o.png)) return true;
        std::fprintf(stderr, "OrvoPM: cannot write %s\n", o.png.c_str());
        return false;
      });
#endif
      main.Close();
      return;
    }
    if (!o.png.empty()) {
#ifndef _WIN32
      ShowTabSettled(main, o.tab);
      auto& headless = static_cast<os::headless::HeadlessWindowSystem&>(windows);
      if (!main.Handle() || !headless.SaveWindowPng(*main.Handle(), o.png)) {
        std::fprintf(stderr, "OrvoPM: cannot write %s\n", o.png.c_str());
        code = 1;
      }
#endif
      main.Close();
    }
  };
  // SIGINT and SIGTERM close the main window, as the user would.
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  windows.StartTimer(std::chrono::milliseconds(100), [] {
    if (stop_requested && Application().MainForm) Application().MainForm->Close();
  });
  const StartupOutcome outcome = RunProgram(options);
  if (outcome.second_instance) Trace(o.trace, "second instance");
  if (outcome.refused) Trace(o.trace, "refused");
  if (smoke) code = smoke->ExitCode();
  std::fflush(nullptr);
  // The program ends at once: worker threads are cut off and nothing is cleaned up.
  std::_Exit(code);
}
