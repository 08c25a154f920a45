#pragma once
// The four browser catalogues in display order: Chrome, Internet Explorer, Firefox,
// Opera, with the installed ones first.
#include <memory>
#include <vector>

#include "catalogue/browser_app.h"

namespace orvo {

using BrowserList = std::vector<std::unique_ptr<TBrowserAppBase>>;

// Appends exactly four catalogues.
void BuildBrowserList(BrowserList& list);

}  // namespace orvo
