#pragma once
// The Firefox catalogue: one profile named in the Firefox folder's profiles.ini. Its
// add-ons come from extensions.json, or, in older profiles without that file, from the
// extensions.sqlite database with display names from addons.json; switching and deleting
// go back to whichever store they came from. A current profile also has the startup
// cache addonStartup.json.lz4, which the browser starts add-ons from: there every switch
// and delete changes both files together (firefox_startup_cache.h).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/browser_app.h"
#include "catalogue/json_document.h"

namespace orvo {

struct FileWrite;
class EntrySwitches;

class TFireFoxExtensions final : public TBrowserAppBase {
 public:
  // `profile`: the Name= of a profile in profiles.ini (letter case aside). Empty: the
  // profile the browser starts with (an [Install…] section's Default=), else [Profile0]'s.
  // A name profiles.ini does not hold gives an empty catalogue with an empty ProfileName.
  explicit TFireFoxExtensions(const std::string& profile = "");
  ~TFireFoxExtensions() override;
  void CloseBrowser() override;
  bool IsRunning() override;
  ChangeResult DeleteItem(TBrowserExtensionInfo* item) override;
  ChangeResult ToggleItem(TBrowserExtensionInfo* item) override;

  std::unique_ptr<JsonDocument> AddonsDocument;  // parsed addons.json, or null
  std::unique_ptr<JsonDocument>
      StartupCache;  // parsed addonStartup.json.lz4, or null (older Firefox)

  // Icons are fetched in the background unless this is false (a command-line run has no
  // list to show them in).
  static bool DownloadIcons;

 private:
  // Adds a reason to LoadError (several stores may fail).
  void NoteLoadError(const std::string& reason);
  void ChooseProfile(const std::string& profile);
  void ReadJson();
  void ReadDatabase();
  ChangeResult WriteBack();
  ChangeResult JsonToggle(TBrowserExtensionInfo& item);
  ChangeResult CachedToggle(TBrowserExtensionInfo& item);
  ChangeResult JsonDelete(TBrowserExtensionInfo& item, const std::string& files_note);
  ChangeResult CachedDelete(TBrowserExtensionInfo& item, const std::string& files_note);
  // The theme rule of a current profile: when `theme_id` is turned on, every other theme
  // goes off; when the theme that was on goes (`theme_id` empty), the default theme comes
  // on. Adds prefs.js with extensions.activeThemeID to `writes`.
  void SelectTheme(EntrySwitches& switches, Json& cache, const std::string& theme_id,
                   std::vector<FileWrite>& writes);
  // Writes the held extensions.json (changed in place) and the changed copy of the cache
  // (and anything else in `writes`) together; on success the copy becomes the held cache
  // and the records of `item` and of the themes show the new states. A failure leaves the
  // held documents to the caller to take back.
  ChangeResult CommitCached(Json cache, std::vector<FileWrite> writes,
                            const TBrowserExtensionInfo& item);
  ChangeResult DatabaseToggle(TBrowserExtensionInfo& item);
  ChangeResult DatabaseDelete(const TBrowserExtensionInfo& item);
  std::string DatabasePath() const;

  std::vector<std::string> requested_locales_;
  // The install location of each extensions.json record ("app-profile", ...): the same id
  // may be installed in two locations.
  std::map<const TBrowserExtensionInfo*, std::string> locations_;
};

}  // namespace orvo
