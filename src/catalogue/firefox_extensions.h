#pragma once
// The Firefox catalogue: the first profile named in the Firefox folder's profiles.ini.
// It knows where the profile is; reading its add-ons arrives with the Firefox storage
// readers.
#include "catalogue/browser_app.h"

namespace orvo {

class TFireFoxExtensions final : public TBrowserAppBase {
 public:
  TFireFoxExtensions();
  void CloseBrowser() override;
  bool IsRunning() override;
  ChangeResult DeleteItem(TBrowserExtensionInfo* item) override;
  ChangeResult ToggleItem(TBrowserExtensionInfo* item) override;
};

}  // namespace orvo
