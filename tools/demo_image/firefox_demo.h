#pragma once
// The demo image's Firefox: two profiles in profiles.ini with an [Install…] section choosing
// the current one, the current profile as today's Firefox keeps it (startup cache,
// translations in three languages, themes, a language pack, a dictionary, built-in and
// system add-ons), and an older second profile with extensions.json alone.
#include <string>
#include <vector>

#include "firefox_profile.h"
#include "profile_writer.h"

namespace orvo::tools {

inline constexpr const char* kFirefoxFolder = "C:\\Users\\demo\\AppData\\Roaming\\Mozilla\\Firefox";
inline constexpr const char* kFirefoxProfile =
    "C:\\Users\\demo\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\k3x9q2lm.default";
inline constexpr const char* kFirefoxWorkProfile =
    "C:\\Users\\demo\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\w0rk5pce.work";

// The current profile's add-ons. The first four are the old database profile's too.
std::vector<FirefoxAddon> FirefoxAddons();
// An add-on's files: packed add-ons are .xpi archives, unpacked ones a folder.
void WriteFirefoxAddonFiles(const ImageWriter& w, const std::vector<FirefoxAddon>& addons);
// profiles.ini and both profiles.
void WriteFirefoxDemo(const ImageWriter& w);

}  // namespace orvo::tools
