#pragma once
// What Firefox's own data says about an add-on beyond its name: its type in today's words,
// whether it belongs to the browser, and whether the browser leaves its on/off state to the
// user. The install locations are XPIProvider.sys.mjs's KEY_APP_* names; which of them are
// the browser's own follows its location classes there (SystemBuiltInLocation,
// BuiltInLocation, SystemAddonLocation, and the "app-system-defaults" folder of the
// application in versions before those) and AddonInternal.permissions() in
// XPIDatabase.sys.mjs (no uninstall for built-in and locked locations, no disabling of
// system add-ons: setUserDisabled refuses them).
#include <string>
#include <string_view>

#include "catalogue/json_document.h"

namespace orvo {

inline constexpr const char* kFirefoxDefaultThemeId = "default-theme@mozilla.org";

// extension, theme, locale or dictionary (the older "webextension-theme" and its siblings
// as the browser converts them, migrateAddonLoader in XPIProvider.sys.mjs); an entry
// without a type is an extension; other words are kept as they stand.
std::string FirefoxTypeName(std::string_view type);

// Add-ons that come with the browser (built-in themes, system add-ons): never uninstalled.
bool IsBrowserOwnedLocation(std::string_view location);
// System add-ons: the browser keeps them on.
bool IsSystemLocation(std::string_view location);

// Why the switch of an extensions.json entry cannot change it here; empty when it can.
std::string FirefoxSwitchLock(const Json& entry);

// Off in the browser: off by the user, by the browser (appDisabled), by a soft block, or by
// the embedding application (AddonInternal.disabled).
bool FirefoxEntryDisabled(const Json& entry);

}  // namespace orvo
