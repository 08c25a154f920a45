// ui-gallery: the toolkit's gallery window.
//
//   ui-gallery                      the window on the screen (Windows)
//   ui-gallery --png FILE [--state NAME] [--screen WxH]
//                                   headless: the screen in that state as a PNG
//   ui-gallery --smoke DIR          the smoke run (see gallery_smoke.h); --smoke - runs
//                                   it without the state file and acknowledgements
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/gallery_smoke.h"
#include "app/gallery_states.h"
#include "app/gallery_window.h"
#include "platform/headless/headless_window_system.h"
#include "platform/integer_text.h"
#include "platform/raster.h"
#include "ui/application.h"
#include "ui/image_module.h"

namespace {

using namespace orvo;

struct Options {
  std::string png;
  std::string state = "idle";
  int width = 1024;
  int height = 720;
  bool smoke = false;
  std::string smoke_dir;
};

int Usage() {
  std::fputs(
      "usage: ui-gallery [--png FILE [--state NAME] [--screen WxH]] [--smoke DIR]\n"
      "states: idle hover hint menu scrolled question notice maximized\n",
      stderr);
  return 2;
}

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--png" && has_value) {
      o.png = argv[++i];
    } else if (arg == "--state" && has_value) {
      o.state = argv[++i];
    } else if (arg == "--screen" && has_value) {
      if (!ParseSize(argv[++i], o.width, o.height) || o.width < 200 || o.height < 200 ||
          o.width > 8192 || o.height > 8192) {
        return false;
      }
    } else if (arg == "--smoke" && has_value) {
      o.smoke = true;
      o.smoke_dir = argv[++i];
      if (o.smoke_dir == "-") o.smoke_dir.clear();
    } else {
      return false;
    }
  }
  return true;
}

int RenderPng(const Options& o) {
  os::headless::ScreenOptions screen_options;
  screen_options.width = o.width;
  screen_options.height = o.height;
  auto owned = std::make_unique<os::headless::HeadlessWindowSystem>(screen_options);
  os::headless::HeadlessWindowSystem& screen = *owned;
  os::WindowSystemScope scope(std::move(owned));
  TimgModule module;
  gallery::TGalleryWindow window(module);
  Application().MainForm = &window;
  window.Show();
  screen.ProcessMessages();
  bool saved = false;
  const bool known =
      gallery::ShowState(window, screen, o.state, [&] { saved = screen.SaveScreenPng(o.png); });
  if (!known) {
    std::fprintf(stderr, "ui-gallery: unknown state %s\n", o.state.c_str());
    return 2;
  }
  if (!saved) {
    std::fprintf(stderr, "ui-gallery: cannot write %s\n", o.png.c_str());
    return 1;
  }
  return 0;
}

int RunWindow(const Options& o) {
  std::string error;
  auto system = os::OpenWindowSystem(&error);
  if (!system) {
    std::fprintf(stderr, "ui-gallery: no window system: %s\n", error.c_str());
    return 1;
  }
#ifndef _WIN32
  if (!o.smoke) {
    std::fputs("ui-gallery: no screen in this build; use --png FILE (or --smoke -)\n", stderr);
    return 2;
  }
#endif
  os::WindowSystemScope scope(std::move(system));
  TimgModule module;
  gallery::TGalleryWindow window(module);
  if (o.smoke) window.SetBounds(40, 40, window.Width(), window.Height());
  Application().MainForm = &window;
  window.Show();
  std::unique_ptr<gallery::GallerySmoke> smoke;
  if (o.smoke) {
    smoke = std::make_unique<gallery::GallerySmoke>(window, o.smoke_dir);
    smoke->Start();
  }
  Application().Run();
  return smoke ? smoke->ExitCode() : 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, options)) return Usage();
  std::string error;
  auto raster = os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "ui-gallery: no text back end: %s\n", error.c_str());
    return 1;
  }
  os::InstallRaster(raster.get());
  const int code = options.png.empty() ? RunWindow(options) : RenderPng(options);
  os::InstallRaster(nullptr);
  return code;
}
