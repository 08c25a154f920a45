#pragma once
// One browser: its registration (open command, icon, whether it is the default browser),
// its data file held for write-back, and its add-on records in display order. The four
// descendants (Chrome, Internet Explorer, Firefox, Opera) read everything when they are
// created and change only through ToggleItem and DeleteItem afterwards.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/extension_info.h"
#include "catalogue/png_image.h"
#include "platform/file_system.h"

namespace orvo {

struct JsonDocument;

inline constexpr uint8_t bkNone = 0;
inline constexpr uint8_t bkChrome = 1;
inline constexpr uint8_t bkIE = 2;
inline constexpr uint8_t bkFirefox = 3;
inline constexpr uint8_t bkOpera = 4;
// Chromium's other relatives, known to orvopm only: the window keeps its four tabs.
inline constexpr uint8_t bkEdge = 5;
inline constexpr uint8_t bkBrave = 6;
inline constexpr uint8_t bkVivaldi = 7;
inline constexpr size_t kBrowserKinds = 8;

// Indexed by BrowserKind (index 0 empty).
extern const std::array<const char*, kBrowserKinds> BrowserDisplayNames;
extern const std::array<const char*, kBrowserKinds> StartMenuKeys;
extern const std::array<const char*, kBrowserKinds> BrowserProgIds;
extern const std::array<const char*, kBrowserKinds>
    BrowserProcessNames;  // IE: none (a window class)
// The number the rating service knows the browser by: the kind, except IE (0).
int RatingBrowserId(uint8_t browser_kind);

// One profile of a browser. `Name` is what a catalogue is made for and what orvopm's
// --profile takes (for the Chromium family the profile's folder name: "Default",
// "Profile 1"); `Title` is what the browser itself calls it (the person's name), or Name
// when it has none.
struct TBrowserProfile {
  std::string Name;
  std::string Title;
};

// What a change did: success, or the error with a reason a window can show in `message`
// (the file or registry key and what failed; a folder left partly deleted is named). A
// success may carry a note in `message` on what was deliberately left alone.
using ChangeResult = os::WriteResult;

// Results a change may give besides the system's codes (an application's codes have bit
// 29 set). The message says what it means for the add-on in the user's terms.
// The switch goes through the browser's policy, which the user has not agreed to yet.
inline constexpr long kChangeNeedsPolicyConsent = 0x20000101;
// Only the browser itself (or the computer's administrator) can make this change; the
// browser's own page for the add-on is where to do it (OpenAddonPage).
inline constexpr long kChangeOnlyInBrowser = 0x20000102;

class TBrowserAppBase {
 public:
  TBrowserAppBase();
  virtual ~TBrowserAppBase();
  TBrowserAppBase(const TBrowserAppBase&) = delete;
  TBrowserAppBase& operator=(const TBrowserAppBase&) = delete;

  uint8_t BrowserKind = bkNone;
  std::string AppDescription;
  std::string DisplayName;
  std::unique_ptr<TPngImage> Icon;  // null: not installed, the browser's button is disabled
  std::string OpenCommand;
  int32_t RatingsRequested = 0;
  bool IsDefault = false;
  std::string DataFileName;
  std::string ProfileDir;  // ends in a backslash
  std::unique_ptr<JsonDocument> Document;
  std::vector<std::unique_ptr<TBrowserExtensionInfo>> Items;
  std::string ReinstallCommand;
  // Every profile of the browser, the one read here among them, in the browser's order;
  // empty for a browser without profiles (Internet Explorer) or when none was found.
  std::vector<TBrowserProfile> Profiles;
  // The profile this catalogue reads (the Name of one of Profiles); empty when Profiles is.
  std::string ProfileName;
  // Why the browser's data could not be read (the file and what failed), empty when it was
  // read or is absent. A catalogue with a reason refuses every change with it.
  std::string LoadError;

  // Null outside 0..count-1.
  virtual TBrowserExtensionInfo* GetItem(int index) const;
  virtual int GetCount() const;
  virtual void CloseBrowser() = 0;
  virtual bool IsRunning() = 0;
  // Removes and frees the record when the add-on is gone; a failure keeps the record, and
  // the browser's data as it was wherever the failure allows (see the catalogue).
  virtual ChangeResult DeleteItem(TBrowserExtensionInfo* item) = 0;
  // Flips the record's Disabled when the browser's data took the change; a failure leaves
  // the record and the data held in memory as they were.
  virtual ChangeResult ToggleItem(TBrowserExtensionInfo* item) = 0;

  // Opens the browser's own page for the add-on, where the browser makes the changes it
  // keeps to itself; false when it has none or it could not be started.
  virtual bool OpenAddonPage(const TBrowserExtensionInfo& item);

  // Switches that go through a browser's policy instead of its data files are made only
  // once the user has agreed to that (for the run); until then they answer
  // kChangeNeedsPolicyConsent with the explanation, changing nothing.
  static bool PolicyChangesAllowed;

  // For Chrome, Firefox and Opera: OpenCommand, ReinstallCommand, Icon, AppDescription
  // and IsDefault from the browser's StartMenuInternet registration.
  void ReadBrowserInfo();

  // The Title of the profile read here when the browser has several, else empty: what a
  // count text or a listing adds to the browser's name.
  std::string ProfileCaption() const;

  bool Contains(const TBrowserExtensionInfo* item) const;
  // The record's position in Items, or -1.
  int IndexOf(const TBrowserExtensionInfo* item) const;

 protected:
  // The refusal every change gets while LoadError is set; success when it is empty.
  ChangeResult RefusalForLoadError() const;
  // The opening every catalogue's delete shares: a record not listed is already gone, data
  // that could not be read refuses, and a plug-in goes with its registry key. True when
  // that settled the delete, with its result in *result.
  bool SettleCommonDelete(TBrowserExtensionInfo* item, ChangeResult* result);
  void RemoveItem(TBrowserExtensionInfo* item);
  void SortItems();
};

// Sort order of every catalogue: higher ItemKind first, then Name by ordinal comparison.
int CompareItems(const TBrowserExtensionInfo& a, const TBrowserExtensionInfo& b);

// Makes the browser the default for http, https and ftp (nothing when it already is):
// the UserChoice ProgIds and the open commands. Success only when every one of those
// values was written; a key that is missing or refuses access is named, and then nothing
// is written. IsDefault afterwards says what the registry holds.
ChangeResult SetDefaultBrowser(TBrowserAppBase& app);

// The ProgId of the current http handler (UserChoice), compared by IsDefault.
std::string CurrentHttpProgId();

}  // namespace orvo
