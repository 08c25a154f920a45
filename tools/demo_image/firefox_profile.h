#pragma once
// Firefox profiles as the browser keeps them: extensions.json (with addons.json beside it)
// in current profiles; extensions.sqlite in the last schema the browser used (version 14)
// in old ones.
#include <string>
#include <vector>

#include "profile_writer.h"

namespace orvo::tools {

// A translation of an add-on's name, with the language tags it serves.
struct FirefoxLocale {
  std::vector<std::string> tags;
  std::string name;
  std::string description;
};

struct FirefoxAddon {
  std::string id;
  std::string name;
  std::string description;
  std::string version;
  bool user_disabled = false;
  bool app_disabled = false;
  bool active = true;
  std::vector<int> icon_sizes;  // keys of "icons" (64, 32, 48); empty: no "icons"
  std::string locale_name;      // non-empty: a "locales" entry that wins over defaultLocale
  std::string descriptor;       // where the add-on lives; empty for built-in ones
  // Current profiles only (firefox_current_profile.h):
  std::string type = "extension";  // extension, theme, locale, dictionary
  std::string location = "app-profile";
  std::vector<FirefoxLocale> locales;  // its translations
  bool soft_disabled = false;
  std::string root_uri;  // built-in add-ons: where the browser keeps them
};

// The icon URL of an add-on for a size, on the demo rating service's site.
std::string FirefoxIconUrl(const FirefoxAddon& addon, int size);

void WriteFirefoxJsonProfile(const ImageWriter& w, const std::string& profile,
                             const std::vector<FirefoxAddon>& addons, size_t padding_bytes = 0);
// Where the icon URLs point (the demo site unless changed, say to a test server).
void SetFirefoxIconSite(const std::string& base_url);
// The database plus addons.json naming the add-ons listed in `named` (by index).
void WriteFirefoxSqliteProfile(const ImageWriter& w, const std::string& profile,
                               const std::vector<FirefoxAddon>& addons,
                               const std::vector<size_t>& named);

}  // namespace orvo::tools
