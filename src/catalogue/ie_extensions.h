#pragma once
// The Internet Explorer catalogue: always present in the browser list; its add-ons live in
// the registry and arrive with the registry scanner of their own.
#include "catalogue/browser_app.h"

namespace orvo {

class TIEExtensions final : public TBrowserAppBase {
 public:
  TIEExtensions();
  void CloseBrowser() override;
  // A top-level window of class "IEFrame" exists, whatever process owns it.
  bool IsRunning() override;
  ChangeResult DeleteItem(TBrowserExtensionInfo* item) override;
  ChangeResult ToggleItem(TBrowserExtensionInfo* item) override;
};

}  // namespace orvo
