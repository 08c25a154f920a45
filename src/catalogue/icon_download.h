#pragma once
// Add-on icons that live on the web (Firefox records carry an icon URL): fetched on a
// background thread so the list appears at once, and copied into the record on the
// user-interface thread when they arrive.
#include <functional>

#include "catalogue/extension_info.h"

namespace orvo {

// Starts the download of the record's IconRef. When a non-empty picture arrives the
// record's Image becomes it and the handler below is told; a failed download leaves
// Image as it was. Needs a UI dispatcher (platform/ui_dispatcher.h).
void DownloadIcon(TBrowserExtensionInfo& record);

// Called on the UI thread after an icon landed in a record (the main window repaints the
// row). Empty by default.
void SetIconArrivedHandler(std::function<void(TBrowserExtensionInfo&)> handler);

}  // namespace orvo
