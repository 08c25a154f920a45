#pragma once
// A Firefox profile as today's browser keeps it: extensions.json in its current fields
// ("path", "rootURI", "location", "type", "locales" with their language tags,
// "softDisabled"), the startup cache addonStartup.json.lz4 the browser starts add-ons from,
// agreeing with it, addons.json, and prefs.js with the active theme.
#include <string>
#include <vector>

#include "firefox_profile.h"
#include "profile_writer.h"

namespace orvo::tools {

// `active_theme`: the id in prefs.js's extensions.activeThemeID.
void WriteCurrentFirefoxProfile(const ImageWriter& w, const std::string& profile,
                                const std::vector<FirefoxAddon>& addons,
                                const std::string& active_theme);

// The startup cache's JSON for the add-ons (one member per install location), as the
// browser's XPIStates.toJSON writes it; `profile` gives app-profile's folder.
Json FirefoxStartupCacheJson(const std::string& profile, const std::vector<FirefoxAddon>& addons);
// That JSON as the profile's addonStartup.json.lz4 (the program's own mozLz40 writer).
void WriteFirefoxStartupCache(const ImageWriter& w, const std::string& profile,
                              const std::vector<FirefoxAddon>& addons);

}  // namespace orvo::tools
