#include "catalogue/ie_extensions.h"

#include "catalogue/shell_helpers.h"

namespace orvo {

TIEExtensions::TIEExtensions() {
  BrowserKind = bkIE;
  DisplayName = BrowserDisplayNames[bkIE];
  AppDescription = "Internet Explorer";
  OpenCommand = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
  IsDefault = CurrentHttpProgId() == BrowserProgIds[bkIE];
}

void TIEExtensions::CloseBrowser() {}  // no window of the program asks IE to close
bool TIEExtensions::IsRunning() { return IsIERunning(); }
ChangeResult TIEExtensions::DeleteItem(TBrowserExtensionInfo*) { return {}; }
ChangeResult TIEExtensions::ToggleItem(TBrowserExtensionInfo*) { return {}; }

}  // namespace orvo
