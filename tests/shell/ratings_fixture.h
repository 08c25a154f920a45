#pragma once
// What the ratings window tests share: a machine (the sandbox image) with the shipped
// languages, a headless screen, the shared image module, the real rating service on
// loopback started with the demo reviews behind its recording front, a rating session of
// the test's own, and a Chrome catalogue holding add-ons of the demo seed. A test opens
// the window as the main window does (ShowRatings) and walks it from inside its modal
// loop, as a user would: clicks and typing on the screen, waiting for the chains.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/browser_app.h"
#include "rating/rate_session.h"
#include "rating/rating_test_service.h"
#include "shell/ratings_form.h"
#include "shell/ratings_window.h"
#include "shell/shell_fixture.h"
#include "support/headless_screen.h"
#include "ui/image_module.h"

namespace orvo::test {

// Demo add-ons: Tab Tidy has 27 reviews (pages of 10, 10 and 7), the other none.
inline constexpr char kTabTidy[] = "fblkdohiomlcbgpekccokebfafkgegcf";
inline constexpr char kNoReviews[] = "hmejmoapjdlhjmhkabfnkdjjloonhlab";
inline constexpr int kTabTidyReviews = 27;

class DemoCatalogue : public TBrowserAppBase {
 public:
  DemoCatalogue();
  TBrowserExtensionInfo& Add(const std::string& id, const std::string& name,
                             const std::string& version, const std::string& description);
  void CloseBrowser() override {}
  bool IsRunning() override { return false; }
  ChangeResult DeleteItem(TBrowserExtensionInfo*) override { return {}; }
  ChangeResult ToggleItem(TBrowserExtensionInfo*) override { return {}; }
};

class RatingsTest : public ShellTest {
 public:
  RatingsTest();
  ~RatingsTest() override;

  using Steps = std::function<void(TfrmXOBRate&)>;
  // ShowRatings for the add-on; `steps` run inside the window once it is shown, then the
  // window is closed (unless the steps closed it). What ShowRatings returned.
  bool Walk(TBrowserExtensionInfo& addon, const Steps& steps, TRatingsShowOptions options = {});
  // Pumps the user-interface thread until the condition holds (or the time is up).
  bool Pump(const std::function<bool()>& until,
            std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Waits for whatever chain the window runs now to end, and for what it handed over.
  void Settle(TfrmXOBRate& window);
  // A click on the screen at a point of a control (control coordinates).
  void ClickOn(const TControl& control, Point at);
  // A click on a row's area (list coordinates).
  void ClickInList(TfrmXOBRate& window, const Rect& area);
  // The review rows of the list, top first; the "more" row is not one.
  std::vector<TReviewItem*> Reviews(TfrmXOBRate& window);
  bool HasMoreRow(TfrmXOBRate& window);
  // The texts of the toasts shown so far (oldest first), then frees them.
  std::vector<std::string> TakeToasts();
  // Message boxes shown (each answered with OK at once).
  int boxes_shown = 0;
  // Chooses a language of the shipped ones.
  void UseLanguage(const std::string& name);

  HeadlessScreen screen;
  TimgModule module;
  RatingTestService service{true};
  std::shared_ptr<TRateSession> session;
  DemoCatalogue chrome;
  TBrowserExtensionInfo* tab_tidy = nullptr;
  TBrowserExtensionInfo* no_reviews = nullptr;
};

}  // namespace orvo::test
