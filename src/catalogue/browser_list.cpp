#include "catalogue/browser_list.h"

#include "catalogue/chromium_extensions.h"
#include "catalogue/firefox_extensions.h"
#include "catalogue/icon_helpers.h"
#include "catalogue/ie_extensions.h"
#include "catalogue/shell_helpers.h"
#include "catalogue/system_values.h"
#include "platform/platform.h"

namespace orvo {
namespace {

std::unique_ptr<TBrowserAppBase> NewCatalogue(uint8_t kind, const std::string& profile) {
  switch (kind) {
    case bkChrome: return std::make_unique<TChromeExtensions>(profile);
    case bkIE: return std::make_unique<TIEExtensions>();
    case bkFirefox: return std::make_unique<TFireFoxExtensions>(profile);
    case bkOpera: return std::make_unique<TOPeraExtensions>(profile);
    case bkEdge: return std::make_unique<TEdgeExtensions>(profile);
    case bkBrave: return std::make_unique<TBraveExtensions>(profile);
    case bkVivaldi: return std::make_unique<TVivaldiExtensions>(profile);
    default: return nullptr;
  }
}

bool Installed(const TBrowserAppBase& app) {
  return app.BrowserKind == bkIE || FolderExists(app.ProfileDir);
}

}  // namespace

std::unique_ptr<TBrowserAppBase> MakeCatalogue(uint8_t kind, const std::string& profile) {
  std::unique_ptr<TBrowserAppBase> app = NewCatalogue(kind, profile);
  if (!app) return nullptr;
  if (kind == bkIE) {
    app->Icon = IconFileToPng(ProgramFilesDir() + "Internet Explorer\\iexplore.exe", 0);
  } else if (Installed(*app)) {
    app->ReadBrowserInfo();
  }
  return app;
}

void BuildBrowserList(BrowserList& list) {
  BrowserList made;
  for (uint8_t kind : {bkChrome, bkIE, bkFirefox, bkOpera}) made.push_back(MakeCatalogue(kind));
  for (auto& app : made) {
    if (Installed(*app)) list.push_back(std::move(app));
  }
  for (auto& app : made) {
    if (app) list.push_back(std::move(app));
  }
}

void AddChromiumRelatives(BrowserList& list) {
  for (uint8_t kind : {bkEdge, bkBrave, bkVivaldi}) list.push_back(MakeCatalogue(kind));
}

}  // namespace orvo
