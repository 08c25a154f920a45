#include "firefox_current_profile.h"

#include <cstdio>
#include <stdexcept>

#include "catalogue/moz_lz4.h"

namespace orvo::tools {
namespace {

// The browser's file: URL of a Windows path (nsIFile's URL: forward slashes, blanks and
// bytes beyond ASCII escaped).
std::string FileUrl(const std::string& path) {
  std::string out = "file:///";
  for (unsigned char c : path) {
    if (c == '\\') {
      out += '/';
    } else if (c <= ' ' || c >= 0x80 || c == '%' || c == '#') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool IsXpi(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".xpi") == 0;
}

std::string RootUri(const FirefoxAddon& a) {
  if (!a.root_uri.empty()) return a.root_uri;
  return IsXpi(a.descriptor) ? "jar:" + FileUrl(a.descriptor) + "!/" : FileUrl(a.descriptor) + "/";
}

// XPIState's "enabled" and the database's "active": visible and not disabled.
bool Enabled(const FirefoxAddon& a) {
  return !a.user_disabled && !a.app_disabled && !a.soft_disabled;
}

std::string Folder(const std::string& path) { return path.substr(0, path.rfind('\\')); }

constexpr long long kInstalled = 1450000000000LL;

Json Entry(const FirefoxAddon& a, int index) {
  Json e = Json::object();
  e["id"] = a.id;
  e["syncGUID"] = "{5e1f0c2a-" + std::to_string(2000 + index) + "-4b7d-9c3e-8f2a1b0c9d7e}";
  e["version"] = a.version;
  e["type"] = a.type;
  e["loader"] = nullptr;
  e["updateURL"] = nullptr;
  e["manifestVersion"] = 2;
  e["optionsURL"] = nullptr;
  e["defaultLocale"] = {{"name", a.name},
                        {"description", a.description},
                        {"creator", "Orvo Demo"},
                        {"homepageURL", nullptr}};
  e["visible"] = true;
  e["active"] = Enabled(a);
  e["userDisabled"] = a.user_disabled;
  e["appDisabled"] = a.app_disabled;
  e["embedderDisabled"] = false;
  e["installDate"] = kInstalled + index * 86400000LL;
  e["updateDate"] = kInstalled + index * 86400000LL;
  e["applyBackgroundUpdates"] = 1;
  e["path"] = a.descriptor.empty() ? Json() : Json(a.descriptor);
  e["skinnable"] = false;
  e["sourceURI"] =
      a.location == "app-profile" ? Json("https://addons.example.org/" + a.id + ".xpi") : Json();
  e["releaseNotesURI"] = nullptr;
  e["softDisabled"] = a.soft_disabled;
  e["foreignInstall"] = false;
  e["strictCompatibility"] = a.type == "theme" || a.type == "locale";
  Json locales = Json::array();
  for (const auto& l : a.locales) {
    locales.push_back({{"name", l.name},
                       {"description", l.description},
                       {"creator", "Orvo Demo"},
                       {"homepageURL", nullptr},
                       {"locales", l.tags}});
  }
  e["locales"] = locales;
  e["targetApplications"] =
      Json::array({{{"id", "toolkit@mozilla.org"}, {"minVersion", "58.0"}, {"maxVersion", "*"}}});
  e["targetPlatforms"] = Json::array();
  e["signedState"] = a.location == "app-profile" ? 2 : 3;
  e["signedDate"] = kInstalled;
  e["seen"] = true;
  e["dependencies"] = Json::array();
  e["incognito"] = "spanning";
  e["userPermissions"] = {{"permissions", Json::array({"storage", "tabs"})},
                          {"origins", Json::array()}};
  if (!a.icon_sizes.empty()) {
    Json icons = Json::object();
    for (int s : a.icon_sizes) icons[std::to_string(s)] = FirefoxIconUrl(a, s);
    e["icons"] = icons;
  } else {
    e["icons"] = Json::object();
  }
  e["iconURL"] = nullptr;
  e["blocklistState"] = a.soft_disabled ? 1 : 0;
  e["blocklistURL"] = nullptr;
  e["startupData"] = nullptr;
  e["hidden"] = false;
  e["installTelemetryInfo"] = {{"source", a.location == "app-profile" ? "amo" : "app-builtin"}};
  e["recommendationState"] = nullptr;
  e["rootURI"] = RootUri(a);
  e["location"] = a.location;
  return e;
}

// XPIState.toJSON: "type" only when it is not an extension, "path" relative to the
// location's folder when the add-on lies in it.
Json State(const FirefoxAddon& a, int index) {
  Json s = Json::object();
  s["dependencies"] = Json::array();
  s["enabled"] = Enabled(a);
  s["lastModifiedTime"] = kInstalled + index * 86400000LL;
  s["loader"] = nullptr;
  if (!a.descriptor.empty()) s["path"] = a.descriptor.substr(a.descriptor.rfind('\\') + 1);
  s["recommendationState"] = nullptr;
  s["rootURI"] = RootUri(a);
  s["runInSafeMode"] = a.location != "app-profile";
  s["signedState"] = a.location == "app-profile" ? 2 : 3;
  s["signedDate"] = kInstalled;
  s["telemetryKey"] = a.id + ":" + a.version;
  s["version"] = a.version;
  if (a.type != "extension") s["type"] = a.type;
  return s;
}

}  // namespace

Json FirefoxStartupCacheJson(const std::string& profile, const std::vector<FirefoxAddon>& addons) {
  Json cache = Json::object();
  int index = 0;
  for (const auto& a : addons) {
    if (!cache.contains(a.location)) {
      Json place = {{"addons", Json::object()}, {"staged", Json::object()}};
      if (a.location == "app-profile")
        place["path"] = profile + "\\extensions";
      else if (!a.descriptor.empty())
        place["path"] = Folder(a.descriptor);
      cache[a.location] = place;
    }
    cache[a.location]["addons"][a.id] = State(a, index++);
  }
  return cache;
}

void WriteFirefoxStartupCache(const ImageWriter& w, const std::string& profile,
                              const std::vector<FirefoxAddon>& addons) {
  std::string why;
  const auto cache = EncodeMozLz4(FirefoxStartupCacheJson(profile, addons).dump(), &why);
  if (!cache) throw std::runtime_error("startup cache: " + why);
  w.WriteFile(profile + "\\addonStartup.json.lz4", *cache);
}

void WriteCurrentFirefoxProfile(const ImageWriter& w, const std::string& profile,
                                const std::vector<FirefoxAddon>& addons,
                                const std::string& active_theme) {
  Json list = Json::array();
  Json names = Json::array();
  int index = 0;
  for (const auto& a : addons) {
    list.push_back(Entry(a, index++));
    if (a.location == "app-profile") {
      names.push_back({{"id", a.id}, {"name", a.name}, {"description", a.description}});
    }
  }
  w.WriteFile(profile + "\\extensions.json", Json{{"schemaVersion", 36}, {"addons", list}}.dump());
  w.WriteFile(profile + "\\addons.json", Json{{"schema", 6}, {"addons", names}}.dump());
  WriteFirefoxStartupCache(w, profile, addons);
  w.WriteFile(profile + "\\prefs.js",
              "// Mozilla User Preferences\r\n\r\n"
              "user_pref(\"browser.startup.homepage\", \"https://www.example.org/\");\r\n"
              "user_pref(\"extensions.activeThemeID\", \"" +
                  active_theme +
                  "\");\r\n"
                  "user_pref(\"extensions.databaseSchema\", 36);\r\n");
}

}  // namespace orvo::tools
