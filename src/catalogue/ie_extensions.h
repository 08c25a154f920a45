#pragma once
// The Internet Explorer catalogue: always present in the browser list, its add-ons read
// from the registry by the sweeper (ie_sweeper.h), one record per entry.
#include <memory>

#include "catalogue/browser_app.h"
#include "catalogue/ie_sweeper.h"

namespace orvo {

class TIEExtensions final : public TBrowserAppBase {
 public:
  TIEExtensions();
  void CloseBrowser() override;
  // A top-level window of class "IEFrame" exists, whatever process owns it.
  bool IsRunning() override;
  ChangeResult DeleteItem(TBrowserExtensionInfo* item) override;
  ChangeResult ToggleItem(TBrowserExtensionInfo* item) override;

  std::unique_ptr<TIESweeper> Sweeper;
};

}  // namespace orvo
