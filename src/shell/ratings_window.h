#pragma once
// The ratings window of one add-on: its community rating, the reviews, and the user's own
// review. The main window opens it from a row's stars, disabled meanwhile.
#include "catalogue/browser_app.h"

namespace orvo {

// Shows the wait window, fetches the add-on's ratings and reviews, and shows the ratings
// window modally; returns once it has closed. False when it was never shown.
bool ShowRatings(TBrowserAppBase& catalogue, TBrowserExtensionInfo& addon);

}  // namespace orvo
