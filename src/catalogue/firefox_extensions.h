#pragma once
// The Firefox catalogue: the first profile named in the Firefox folder's profiles.ini. Its
// add-ons come from extensions.json, or, in older profiles without that file, from the
// extensions.sqlite database with display names from addons.json; switching and deleting
// go back to whichever store they came from.
#include <memory>

#include "catalogue/browser_app.h"

namespace orvo {

class TFireFoxExtensions final : public TBrowserAppBase {
 public:
  TFireFoxExtensions();
  ~TFireFoxExtensions() override;
  void CloseBrowser() override;
  bool IsRunning() override;
  ChangeResult DeleteItem(TBrowserExtensionInfo* item) override;
  ChangeResult ToggleItem(TBrowserExtensionInfo* item) override;

  std::unique_ptr<JsonDocument> AddonsDocument;  // parsed addons.json, or null

  // Icons are fetched in the background unless this is false (a command-line run has no
  // list to show them in).
  static bool DownloadIcons;

 private:
  // Adds a reason to LoadError (several stores may fail).
  void NoteLoadError(const std::string& reason);
  void ReadJson();
  void ReadDatabase();
  ChangeResult WriteBack();
  ChangeResult DatabaseToggle(TBrowserExtensionInfo& item);
  ChangeResult DatabaseDelete(const TBrowserExtensionInfo& item);
  std::string DatabasePath() const;
};

}  // namespace orvo
