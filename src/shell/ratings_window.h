#pragma once
// Opening the ratings window for one add-on, as the main window's ratings caption does:
//
//   1. the wait window over the main window, painted at once
//   2. the ratings window made (not shown) and its opening chain started
//   3. messages keep flowing until the chain has ended or 10 s have passed (monotonic)
//   4. too slow, or the chain could not load: "PlugRatingError" over the wait window, and
//      no ratings window; otherwise the window filled, the wait window closed, and the
//      ratings window shown modally
//
// The main window (disabled by its caller for the call) is enabled again on every path:
// before the ratings window shows, after a failure, after a quit request or an exception
// cuts the wait short.
#include <chrono>
#include <functional>

#include "catalogue/browser_app.h"

namespace orvo {

class TfrmXOBRate;

inline constexpr std::chrono::milliseconds kRatingsOpenLimit{10000};

struct TRatingsShowOptions {
  // How long the opening chain may take.
  std::chrono::milliseconds open_limit = kRatingsOpenLimit;
  // Runs inside the window's modal loop once it has been shown and painted.
  std::function<void(TfrmXOBRate&)> on_shown;
};

// Returns when the ratings window has closed (true), or was never shown (false). The
// catalogue and the record must outlive the call.
bool ShowRatings(TBrowserAppBase& catalogue, TBrowserExtensionInfo& addon);
bool ShowRatings(TBrowserAppBase& catalogue, TBrowserExtensionInfo& addon,
                 const TRatingsShowOptions& options);

}  // namespace orvo
