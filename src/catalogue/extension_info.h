#pragma once
// One add-on as every part of the program sees it: the row of the add-on list, the
// subject of a rating, the thing a catalogue switches off or deletes.
#include <cstdint>
#include <memory>
#include <string>

#include "catalogue/png_image.h"

namespace orvo {

// ItemKind in the Chrome, Firefox and Opera catalogues. Higher kinds sort first.
inline constexpr uint8_t ikPlugin = 0;     // NPAPI plug-in from the registry
inline constexpr uint8_t ikExtension = 1;  // extension from the browser's own data
// ItemKind in the Internet Explorer catalogue.
inline constexpr uint8_t pkBHO = 0;
inline constexpr uint8_t pkToolbar = 1;
inline constexpr uint8_t pkExtension = 2;
inline constexpr uint8_t pkMenuExt = 3;

class TBrowserExtensionInfo {
 public:
  std::string Id;    // folder name, add-on id, plug-in key name or CLSID
  std::string Name;  // when empty the list shows Id
  std::string Description;
  std::string Path;     // install folder or file; for a plug-in ROOT\key\subkey
  std::string IconRef;  // icon file relative to Path, or an icon URL
  std::string Version;
  uint8_t ItemKind = ikPlugin;
  std::unique_ptr<TPngImage> Image;  // null: the list draws its default picture
  bool Disabled = false;
  // Why the browser keeps it off, where that is more than the user's own switch ("the
  // browser's policy blocks it"); empty otherwise.
  std::string DisabledReason;
  // The file the browser keeps the add-on's entry in ("Secure Preferences" for a guarded
  // Chromium extension), and whether a checksum guards that entry, so that only the
  // browser may change it.
  std::string EntryFile;
  bool Protected = false;
  double Rating = 0;  // average community rating, 0 until known
  uint8_t Is64 = 0;   // from the native registry view / the per-user plug-in key
  // What kind of add-on the browser says it is, in its own word (Firefox's "type":
  // extension, theme, locale, dictionary); empty where ItemKind says it all.
  std::string TypeName;
  // Part of the browser itself (Firefox's system and built-in add-ons): listed, never
  // deleted here.
  bool BrowserOwned = false;
  // Why the on/off switch cannot change this add-on here (the browser decides its state
  // itself, for instance it turned an incompatible add-on off); empty when it can.
  std::string SwitchLock;

  // Set while an icon download for this record may still report (see icon_download.h);
  // the download holds only a weak reference, so a record deleted meanwhile is skipped.
  std::shared_ptr<TBrowserExtensionInfo*> IconAnchor;

  // The title the add-on list shows: Name (or Id), with " (64)" for native entries on
  // 64-bit Windows.
  std::string ListTitle(bool is_win64) const;
};

}  // namespace orvo
