// The ratings window's timings on the headless screen, natively against the local rating
// service (started here with the demo reviews), printed as "name: value unit" lines:
//   ratings_open_ms         from the click (ShowRatings) to the shown window holding the
//                           first page of 10 reviews, painted (median of 20 openings)
//   ratings_scroll_frame_ms the review list holding 200 reviews of mixed heights scrolled
//                           by one wheel notch and painted again (median)
//   ratings_hover_ms        the pointer moved between a review's Like and Report captions
//                           and on to the next review: the rows painted again and handed
//                           to the screen (median)
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "catalogue/browser_list.h"
#include "platform/headless/headless_window_system.h"
#include "platform/platform.h"
#include "platform/raster.h"
#include "rating/rate_session.h"
#include "service/harness/service_process.h"
#include "shell/ratings_form.h"
#include "shell/ratings_window.h"
#include "ui/application.h"
#include "ui/image_module.h"

#include "timing.h"

namespace orvo {
namespace {

using Clock = std::chrono::steady_clock;
constexpr char kTabTidy[] = "fblkdohiomlcbgpekccokebfafkgegcf";

// 200 reviews of one to many lines, some with long words.
std::vector<TReviewData> MixedReviews() {
  static const char* const kWords[] = {"quick",  "tabs",  "order", "works", "well", "after", "the",
                                       "update", "saves", "time",  "every", "day",  "simple"};
  std::vector<TReviewData> reviews;
  for (int i = 0; i < 200; ++i) {
    TReviewData r;
    r.Id = 1000 + i;
    r.Nickname = "Reviewer " + std::to_string(i);
    r.Date = "2025-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10);
    r.Score = 1 + i % 5;
    const int words = 4 + (i * 37) % 160;
    for (int w = 0; w < words; ++w)
      r.Content += std::string(w ? " " : "") + kWords[(i + w * 7) % 13];
    if (i % 17 == 0) r.Content += " " + std::string(300, 'x');
    reviews.push_back(std::move(r));
  }
  return reviews;
}

int Run(const char* image) {
  std::string error;
  std::shared_ptr<os::Platform> platform = os::OpenPlatform(image, &error);
  if (!platform) {
    std::fprintf(stderr, "bench_ratings: %s\n", error.c_str());
    return 1;
  }
  os::Install(platform);
  service::harness::TempFolder folder;
  service::harness::ServiceProcess service;
  const auto launch =
      service::harness::LaunchIn(folder, std::string(ORVO_SOURCE_DIR) + "/service/demo-seed.json");
  if (!service.Start(launch, &error)) {
    std::fprintf(stderr, "bench_ratings: the service did not start: %s\n", error.c_str());
    return 1;
  }
  InstallRateSession(
      std::make_shared<TRateSession>("http://127.0.0.1:" + std::to_string(service.port())));

  os::headless::ScreenOptions options;
  options.width = 1280;
  options.height = 800;
  auto owned = std::make_unique<os::headless::HeadlessWindowSystem>(options);
  os::headless::HeadlessWindowSystem& screen = *owned;
  os::WindowSystemScope scope(std::move(owned));
  TimgModule module;
  Application().ShowHint = false;
  TForm main;
  main.SetBounds(100, 100, 800, 500);
  Application().MainForm = &main;
  main.Show();

  BrowserList browsers;
  BuildBrowserList(browsers);
  TBrowserAppBase* chrome = browsers.front().get();
  TBrowserExtensionInfo* tab_tidy = nullptr;
  for (auto& item : chrome->Items) {
    if (item->Id == kTabTidy) tab_tidy = item.get();
  }
  if (!tab_tidy) {
    std::fprintf(stderr, "bench_ratings: the image has no Tab Tidy in Chrome\n");
    return 1;
  }

  // --- opening ---
  std::vector<double> opening;
  bool complete = true;
  for (int i = 0; i < 21; ++i) {
    Clock::time_point start = Clock::now();
    TRatingsShowOptions show;
    show.on_shown = [&](TfrmXOBRate& w) {
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      if (i > 0) opening.push_back(ms);  // the first one also fetches the session key
      complete = complete && w.m_lstView->ItemCount() == 11;
      w.Close();
    };
    if (!ShowRatings(*chrome, *tab_tidy, show)) complete = false;
  }
  if (!complete || opening.empty()) {
    std::fprintf(stderr, "bench_ratings: the window did not open with its first page\n");
    return 1;
  }

  // --- scrolling and hovering 200 reviews ---
  auto window = TfrmBase::Create<TfrmXOBRate>(*chrome, *tab_tidy, &main);
  window->Fill();
  window->AddReviewRows(MixedReviews(), false);
  window->Show();
  screen.ProcessMessages();
  TLumListView& list = *window->m_lstView;
  const Point origin = window->ClientToScreen(list.FormOrigin());
  screen.Click(origin.x + 60, origin.y + 10);  // the list takes the wheel
  int notch = 0;
  const std::vector<double> scroll = Samples(300, [&] {
    // Down through the list and back up, so every notch moves it.
    screen.Wheel(notch++ % 200 < 100 ? -os::kWheelDelta : os::kWheelDelta);
  });

  list.ScrollIntoView(list.Items(0));
  screen.ProcessMessages();
  const TReviewItem* first = TfrmXOBRate::ReviewOf(*list.Items(0));
  const TReviewItem* second = TfrmXOBRate::ReviewOf(*list.Items(1));
  const auto centre = [&](const Rect& r) {
    return Point{origin.x + (r.left + r.right) / 2, origin.y + (r.top + r.bottom) / 2};
  };
  const Point spots[] = {centre(first->LikeArea), centre(first->ReportArea),
                         centre(second->LikeArea), centre(first->DislikeArea)};
  int spot = 0;
  const std::vector<double> hover = Samples(400, [&] {
    const Point p = spots[spot++ % 4];
    screen.MoveMouse(p.x, p.y);
  });
  window->Hide();
  window.reset();
  Application().MainForm = nullptr;
  main.Hide();
  InstallRateSession(nullptr);

  std::printf("ratings_open_ms: %.2f ms\n", Median(opening));
  std::printf("ratings_scroll_frame_ms: %.3f ms\n", Median(scroll));
  std::printf("ratings_hover_ms: %.3f ms\n", Median(hover));
  service.Stop(SIGTERM);
  os::Install(nullptr);
  return 0;
}

}  // namespace
}  // namespace orvo

int main(int argc, char** argv) {
  std::string error;
  auto raster = orvo::os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "bench_ratings: no text back end: %s\n", error.c_str());
    return 1;
  }
  orvo::os::InstallRaster(raster.get());
  const std::string image = argc > 1 ? argv[1] : std::string(ORVO_SOURCE_DIR) + "/fixtures/demo";
  const int code = orvo::Run(image.c_str());
  orvo::os::InstallRaster(nullptr);
  return code;
}
