#include "firefox_profile.h"

#include <sqlite3.h>

#include <cctype>
#include <stdexcept>
#include <variant>

namespace orvo::tools {
namespace {

std::string& IconSite() {
  static std::string site = "http://127.0.0.1:8086/icons/";
  return site;
}

// The browser's schema 14, with its triggers.
constexpr const char* kSchema14 = R"sql(
CREATE TABLE addon (internal_id INTEGER PRIMARY KEY AUTOINCREMENT, id TEXT, syncGUID TEXT,
  location TEXT, version TEXT, type TEXT, internalName TEXT, updateURL TEXT, updateKey TEXT,
  optionsURL TEXT, optionsType TEXT, aboutURL TEXT, iconURL TEXT, icon64URL TEXT,
  defaultLocale INTEGER, visible INTEGER, active INTEGER, userDisabled INTEGER,
  appDisabled INTEGER, pendingUninstall INTEGER, descriptor TEXT, installDate INTEGER,
  updateDate INTEGER, applyBackgroundUpdates INTEGER, bootstrap INTEGER, skinnable INTEGER,
  size INTEGER, sourceURI TEXT, releaseNotesURI TEXT, softDisabled INTEGER,
  isForeignInstall INTEGER, hasBinaryComponents INTEGER, strictCompatibility INTEGER,
  UNIQUE (id, location), UNIQUE (syncGUID));
CREATE TABLE targetApplication (addon_internal_id INTEGER, id TEXT, minVersion TEXT,
  maxVersion TEXT, UNIQUE (addon_internal_id, id));
CREATE TABLE targetPlatform (addon_internal_id INTEGER, os, abi TEXT,
  UNIQUE (addon_internal_id, os, abi));
CREATE TABLE addon_locale (addon_internal_id INTEGER, locale TEXT, locale_id INTEGER,
  UNIQUE (addon_internal_id, locale));
CREATE TABLE locale (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, description TEXT,
  creator TEXT, homepageURL TEXT);
CREATE TABLE locale_strings (locale_id INTEGER, type TEXT, value TEXT);
CREATE TRIGGER delete_addon AFTER DELETE ON addon BEGIN
  DELETE FROM targetApplication WHERE addon_internal_id=old.internal_id;
  DELETE FROM targetPlatform WHERE addon_internal_id=old.internal_id;
  DELETE FROM addon_locale WHERE addon_internal_id=old.internal_id;
  DELETE FROM locale WHERE id=old.defaultLocale;
END;
CREATE TRIGGER delete_addon_locale AFTER DELETE ON addon_locale WHEN NOT EXISTS
  (SELECT * FROM addon_locale WHERE locale_id=old.locale_id) BEGIN
  DELETE FROM locale WHERE id=old.locale_id;
  DELETE FROM locale_strings WHERE locale_id=old.locale_id;
END;
PRAGMA user_version = 14;
)sql";

class Db {
 public:
  explicit Db(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK)
      throw std::runtime_error("cannot create " + path);
  }
  ~Db() { sqlite3_close(db_); }
  void Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string message = error ? error : "?";
      sqlite3_free(error);
      throw std::runtime_error("sqlite: " + message);
    }
  }
  using Param = std::variant<std::string, long long>;
  void Run(const std::string& sql, const std::vector<Param>& params) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
      throw std::runtime_error(sql);
    int i = 1;
    for (const auto& p : params) {
      if (const auto* t = std::get_if<std::string>(&p)) {
        sqlite3_bind_text(st, i++, t->c_str(), -1, SQLITE_TRANSIENT);
      } else {
        sqlite3_bind_int64(st, i++, std::get<long long>(p));
      }
    }
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) throw std::runtime_error("sqlite step: " + sql);
  }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace

std::string FirefoxIconUrl(const FirefoxAddon& addon, int size) {
  std::string stem;
  for (char c : addon.id)
    stem += (std::isalnum(static_cast<unsigned char>(c)) || c == '-') ? c : '_';
  return IconSite() + stem + "-" + std::to_string(size) + ".png";
}

void SetFirefoxIconSite(const std::string& base_url) { IconSite() = base_url; }

void WriteFirefoxJsonProfile(const ImageWriter& w, const std::string& profile,
                             const std::vector<FirefoxAddon>& addons, size_t padding_bytes) {
  // Real entries also carry what the browser needs to check compatibility and
  // permissions; heavy profiles are made of those.
  const size_t per_addon = addons.empty() ? 0 : padding_bytes / addons.size();
  Json list = Json::array();
  Json names = Json::array();
  int index = 0;
  for (const auto& a : addons) {
    Json e = Json::object();
    e["id"] = a.id;
    e["syncGUID"] = "{0a1b2c3d-" + std::to_string(1000 + index++) + "-4e5f-8a9b-0c1d2e3f4a5b}";
    e["location"] = "app-profile";
    e["version"] = a.version;
    e["type"] = a.id.find("dark") == 0 ? "theme" : "extension";
    e["defaultLocale"] = {
        {"name", a.name}, {"description", a.description}, {"creator", "Orvo Demo"}};
    e["visible"] = true;
    e["active"] = a.active;
    e["userDisabled"] = a.user_disabled;
    e["appDisabled"] = a.app_disabled;
    e["descriptor"] = a.descriptor;
    e["installDate"] = 1450000000000LL + index * 86400000LL;
    if (!a.locale_name.empty()) {
      e["locales"] = Json::array({{{"name", a.locale_name},
                                   {"description", a.description + " (de)"},
                                   {"locales", Json::array({"de"})}}});
    }
    if (!a.icon_sizes.empty()) {
      Json icons = Json::object();
      for (int s : a.icon_sizes) icons[std::to_string(s)] = FirefoxIconUrl(a, s);
      e["icons"] = icons;
    }
    if (per_addon > 0) {
      Json apps = Json::array();
      for (size_t k = 0; apps.dump().size() < per_addon / 2; ++k) {
        apps.push_back({{"id", "{ec8030f7-c20a-464f-9b0e-13a3a9e97384}"},
                        {"minVersion", std::to_string(k) + ".0"},
                        {"maxVersion", std::to_string(k + 40) + ".*"}});
      }
      e["targetApplications"] = apps;
      Json perms = Json::array();
      for (size_t k = 0; perms.dump().size() < per_addon / 2; ++k) {
        perms.push_back("https://site" + std::to_string(k) + ".example.org/*");
      }
      e["userPermissions"] = {{"permissions", Json::array({"storage", "tabs"})},
                              {"origins", perms}};
    }
    list.push_back(e);
    names.push_back({{"id", a.id}, {"name", a.name}, {"description", a.description}});
  }
  w.WriteFile(profile + "\\extensions.json", Json{{"schemaVersion", 16}, {"addons", list}}.dump());
  w.WriteFile(profile + "\\addons.json", Json{{"schema", 5}, {"addons", names}}.dump());
}

void WriteFirefoxSqliteProfile(const ImageWriter& w, const std::string& profile,
                               const std::vector<FirefoxAddon>& addons,
                               const std::vector<size_t>& named) {
  w.WriteFile(profile + "\\prefs.js", "// Mozilla User Preferences\r\n");
  const std::string path = w.Host(profile + "\\extensions.sqlite").string();
  Db db(path);
  db.Exec(kSchema14);
  // Locale rows are made in the opposite order, so locale ids differ from add-on ids and a
  // join on the wrong column shows another add-on's name.
  const long long n = static_cast<long long>(addons.size());
  for (long long i = n - 1; i >= 0; --i) {
    const auto& a = addons[static_cast<size_t>(i)];
    db.Run("insert into locale (name, description, creator) values (?, ?, ?)",
           {a.name, a.description, std::string("Orvo Demo")});
  }
  for (long long i = 0; i < n; ++i) {
    const auto& a = addons[static_cast<size_t>(i)];
    const std::string icon =
        a.icon_sizes.empty() ? std::string() : FirefoxIconUrl(a, a.icon_sizes.front());
    db.Run(
        "insert into addon (id, syncGUID, location, version, type, internalName, iconURL, "
        "defaultLocale,"
        " visible, active, userDisabled, appDisabled, pendingUninstall, descriptor, installDate, "
        "bootstrap)"
        " values (?, ?, 'app-profile', ?, 'extension', ?, ?, ?, 1, ?, ?, ?, 0, ?, 1450000000000, "
        "1)",
        {a.id, "{sync-" + std::to_string(i) + "}", a.version, a.id, icon, n - i,
         static_cast<long long>(a.active), static_cast<long long>(a.user_disabled),
         static_cast<long long>(a.app_disabled), a.descriptor});
    db.Run("insert into addon_locale (addon_internal_id, locale, locale_id) values (?, 'en-US', ?)",
           {i + 1, n - i});
  }
  Json names = Json::array();
  for (size_t i : named) {
    names.push_back(
        {{"id", addons[i].id}, {"name", addons[i].name}, {"description", addons[i].description}});
  }
  w.WriteFile(profile + "\\addons.json", Json{{"schema", 5}, {"addons", names}}.dump());
}

}  // namespace orvo::tools
