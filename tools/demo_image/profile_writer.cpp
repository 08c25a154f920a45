#include "profile_writer.h"

#include <fstream>
#include <stdexcept>

#include "icon_painter.h"
#include "platform/png_codec.h"

namespace fs = std::filesystem;

namespace orvo::tools {
namespace {

Json ManifestFor(const DemoExtension& e) {
  Json m = Json::object();
  m["background"] = {{"persistent", false}, {"scripts", Json::array({"background.js"})}};
  m["browser_action"] = {{"default_popup", "popup.html"}, {"default_title", e.name}};
  m["description"] = e.description;
  if (!e.icon_sizes.empty()) {
    Json icons = Json::object();
    for (int s : e.icon_sizes)
      icons[std::to_string(s)] = "images/icon" + std::to_string(s) + ".png";
    m["icons"] = icons;
  }
  m["manifest_version"] = 2;
  m["name"] = e.name;
  m["permissions"] = Json::array({"storage", "tabs", "activeTab"});
  m["update_url"] = "https://clients2.google.com/service/update2/crx";
  m["version"] = e.version;
  return m;
}

Json SettingsFor(const DemoExtension& e, int index) {
  Json s = Json::object();
  s["active_permissions"] = {{"api", Json::array({"storage", "tabs"})},
                             {"explicit_host", Json::array()},
                             {"manifest_permissions", Json::array()},
                             {"scriptable_host", Json::array()}};
  s["creation_flags"] = 9;
  s["from_bookmark"] = false;
  s["from_webstore"] = true;
  s["granted_permissions"] = s["active_permissions"];
  s["install_time"] = std::to_string(13098765432109876LL + index * 1000003LL);
  s["location"] = 1;
  s["manifest"] = ManifestFor(e);
  s["path"] = e.id + "\\" + e.version + "_0";
  if (e.state >= 0) s["state"] = e.state;
  s["was_installed_by_default"] = false;
  return s;
}

// Members real profiles carry around "extensions"; a profile parser must step over them.
Json SurroundingMembers() {
  Json p = Json::object();
  p["account_id_migration_state"] = 2;
  p["autofill"] = {{"enabled", true}, {"use_count", 14}};
  p["bookmark_bar"] = {{"show_on_all_tabs", false}};
  p["browser"] = {{"check_default_browser", false},
                  {"window_placement",
                   {{"bottom", 1030},
                    {"left", 10},
                    {"maximized", true},
                    {"right", 1290},
                    {"top", 10},
                    {"work_area_bottom", 1040},
                    {"work_area_left", 0},
                    {"work_area_right", 1920},
                    {"work_area_top", 0}}}};
  p["countryid_at_install"] = 21843;
  p["default_search_provider"] = {{"synced_guid", "2B0D7C1B-1D2D-4F2E-9F11-3C6A7E3B9C11"}};
  p["download"] = {{"directory_upgrade", true},
                   {"default_directory", "C:\\Users\\demo\\Downloads"}};
  return p;
}

}  // namespace

fs::path ImageWriter::Host(const std::string& windows_path) const {
  fs::path p = root_ / std::string(1, windows_path.at(0));
  std::string rest = windows_path.substr(3);
  size_t pos = 0;
  while (pos <= rest.size()) {
    size_t end = rest.find('\\', pos);
    if (end == std::string::npos) end = rest.size();
    if (end > pos) p /= rest.substr(pos, end - pos);
    pos = end + 1;
  }
  return p;
}

void ImageWriter::WriteFile(const std::string& windows_path, const std::string& bytes) const {
  const fs::path host = Host(windows_path);
  fs::create_directories(host.parent_path());
  std::ofstream out(host, std::ios::binary);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + host.string());
}

void ImageWriter::ChromiumProfile(const std::string& profile,
                                  const std::vector<DemoExtension>& extensions,
                                  const std::vector<std::string>& known_disabled,
                                  size_t padding_bytes) const {
  Json prefs = SurroundingMembers();
  Json settings = Json::object();
  int index = 0;
  for (const auto& e : extensions) {
    if (e.has_settings) settings[e.id] = SettingsFor(e, index);
    if (e.has_folder) {
      const std::string folder = profile + "\\Extensions\\" + e.id + "\\" + e.version + "_0";
      WriteFile(folder + "\\manifest.json", ManifestFor(e).dump(2));
      WriteFile(folder + "\\background.js", "chrome.runtime.onInstalled.addListener(() => {});\n");
      for (int s : e.icon_sizes) {
        WriteFile(folder + "\\images\\icon" + std::to_string(s) + ".png",
                  ExtensionIconPng(s, e.colour, index));
      }
    }
    ++index;
  }
  // A component extension: absolute path, no state, no folder under Extensions.
  settings["mhbcdeafgkjnlmopqrstuvabcdefghij"] = {
      {"location", 5},
      {"manifest", {{"name", "Chromium PDF Viewer"}, {"version", "1"}}},
      {"path", "C:\\Program Files\\Google\\Chrome\\Application\\49.0.2623.112\\resources\\pdf"}};
  prefs["extensions"] = {
      {"alerts", {{"initialized", true}}},
      {"autoupdate", {{"last_check", "13101234567890123"}, {"next_check", "13101245678901234"}}},
      {"chrome_url_overrides", Json::object()},
      {"known_disabled", known_disabled},
      {"last_chrome_version", "49.0.2623.112"},
      {"settings", settings}};
  prefs["intl"] = {{"accept_languages", "en-US,en"}};
  prefs["profile"] = {{"avatar_index", 26},
                      {"exit_type", "Normal"},
                      {"exited_cleanly", true},
                      {"name", "Person 1"},
                      {"zoom_level", 0.5}};
  prefs["session"] = {{"restore_on_startup", 1},
                      {"startup_urls", Json::array({"https://www.example.org/"})}};
  prefs["translate_blocked_languages"] = Json::array({"en"});
  // Heavy profiles grow by site settings: one member per site visited.
  if (padding_bytes > 0) {
    Json sites = Json::object();
    size_t size = prefs.dump().size();
    for (int i = 0; size < padding_bytes; ++i) {
      const std::string site = "https://site" + std::to_string(i) + ".example.org:443,*";
      Json entry = {
          {"last_modified", std::to_string(13101234567890123LL + i)},
          {"setting", {{"lastEngagementTime", 1.3101234567890123e16 + i}, {"rawScore", 4.5}}}};
      size += site.size() + entry.dump().size() + 4;
      sites[site] = std::move(entry);
    }
    prefs["profile"]["content_settings"] = {{"exceptions", {{"site_engagement", sites}}}};
  }
  WriteFile(profile + "\\Preferences", prefs.dump());
}

std::string ExtensionIconPng(int size, uint32_t colour, int variant) {
  IconPainter p(size);
  p.RoundRect(colour, 0.04, 0.04, 0.96, 0.96, 0.2);
  switch (variant % 4) {
    case 0: p.Circle(0xFFFFFF, 0.5, 0.5, 0.24); break;
    case 1: p.Ring(0xFFFFFF, 0.5, 0.5, 0.3, 0.18); break;
    case 2: p.RoundRect(0xFFFFFF, 0.26, 0.26, 0.74, 0.74, 0.06); break;
    default: p.Arc(0xFFFFFF, 0.5, 0.5, 0.32, 0.18, 30, 300); break;
  }
  return *os::EncodePng(p.pixels());
}

}  // namespace orvo::tools
