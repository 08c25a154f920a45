#include "catalogue/browser_list.h"

#include "catalogue/chromium_extensions.h"
#include "catalogue/firefox_extensions.h"
#include "catalogue/icon_helpers.h"
#include "catalogue/ie_extensions.h"
#include "catalogue/shell_helpers.h"
#include "catalogue/system_values.h"
#include "platform/platform.h"

namespace orvo {
void BuildBrowserList(BrowserList& list) {
  std::unique_ptr<TBrowserAppBase> chrome = std::make_unique<TChromeExtensions>();
  std::unique_ptr<TBrowserAppBase> ie = std::make_unique<TIEExtensions>();
  std::unique_ptr<TBrowserAppBase> firefox = std::make_unique<TFireFoxExtensions>();
  std::unique_ptr<TBrowserAppBase> opera = std::make_unique<TOPeraExtensions>();

  ie->Icon = IconFileToPng(ProgramFilesDir() + "Internet Explorer\\iexplore.exe", 0);
  for (auto* app : {&chrome, &ie, &firefox, &opera}) {
    const bool installed = app == &ie || FolderExists((*app)->ProfileDir);
    if (!installed) continue;
    if (app != &ie) (*app)->ReadBrowserInfo();
    list.push_back(std::move(*app));
  }
  for (auto* app : {&chrome, &ie, &firefox, &opera}) {
    if (*app) list.push_back(std::move(*app));
  }
}

}  // namespace orvo
