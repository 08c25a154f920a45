#pragma once
// Chromium profiles as current browsers keep them on Windows: "Local State" listing the
// profiles, and per profile "Preferences" beside "Secure Preferences", whose
// extensions.settings entries carry MACs under protection.macs (the values here are
// arbitrary: nothing checks them but the browser). Entries may also sit in Preferences
// without a MAC, as older browsers and domain machines keep them. Extension folders carry
// manifest.json, icons and, for localised names, _locales catalogs.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "profile_writer.h"

namespace orvo::tools {

struct ModernExtension {
  std::string id;
  std::string name;  // as the manifest says it ("__MSG_extName__" for a localised one)
  std::string description;
  std::string version = "1.0.0";
  uint32_t colour = 0x1695E6;
  bool secure = true;  // in Secure Preferences with a MAC; false: in Preferences, no MAC
  int location = 1;
  Json state;            // null: no "state"
  Json disable_reasons;  // null: no "disable_reasons"
  std::string default_locale;
  // locale -> message name -> text, written as _locales/<locale>/messages.json
  std::map<std::string, std::map<std::string, std::string>> locales;
  // "$name$" in a message text stands for this content (the catalogs' placeholders).
  std::map<std::string, std::string> placeholders;
  // An unpacked extension's folder (absolute): its entry has no manifest.
  std::string unpacked_folder;
  bool stored_manifest = true;  // the entry carries the manifest
};

struct ModernProfile {
  std::string folder;  // the profile's folder name ("Default", "Profile 1")
  std::string name;    // the name the browser shows
  std::vector<ModernExtension> extensions;
};

// Local State and each profile under the data folder `data` (a Windows path without
// trailing backslash); `last_used` names the profile a new window opens.
void WriteModernChromium(const ImageWriter& w, const std::string& data,
                         const std::vector<ModernProfile>& profiles, const std::string& last_used);

}  // namespace orvo::tools
