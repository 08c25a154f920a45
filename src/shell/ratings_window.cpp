// The ratings window comes with its own change; until then nothing opens.
#include "shell/ratings_window.h"

namespace orvo {

bool ShowRatings(TBrowserAppBase&, TBrowserExtensionInfo&) { return false; }

}  // namespace orvo
