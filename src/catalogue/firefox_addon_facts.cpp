#include "catalogue/firefox_addon_facts.h"

namespace orvo {

std::string FirefoxTypeName(std::string_view type) {
  if (type.empty() || type == "webextension") return "extension";
  if (type == "webextension-theme") return "theme";
  if (type == "webextension-langpack") return "locale";
  if (type == "webextension-dictionary") return "dictionary";
  return std::string(type);
}

bool IsBrowserOwnedLocation(std::string_view location) {
  return location == "app-builtin" || location == "app-builtin-addons" ||
         location == "app-system-addons" || location == "app-system-defaults";
}

bool IsSystemLocation(std::string_view location) {
  return location == "app-builtin-addons" || location == "app-system-addons" ||
         location == "app-system-defaults" || location == "app-system-profile";
}

std::string FirefoxSwitchLock(const Json& entry) {
  if (BoolMember(entry, "appDisabled")) {
    return "Firefox itself keeps it off (not compatible with this version, not signed, or "
           "blocked), so it cannot be "
           "turned on here";
  }
  if (BoolMember(entry, "embedderDisabled")) {
    return "the application Firefox is built into keeps it off, so it cannot be turned on here";
  }
  if (IsSystemLocation(StringMember(entry, "location"))) {
    return "it is part of Firefox, which keeps it as it is, so it cannot be switched here";
  }
  return "";
}

bool FirefoxEntryDisabled(const Json& entry) {
  return BoolMember(entry, "userDisabled") || BoolMember(entry, "appDisabled") ||
         BoolMember(entry, "softDisabled") || BoolMember(entry, "embedderDisabled");
}

}  // namespace orvo
