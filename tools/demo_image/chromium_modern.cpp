#include "chromium_modern.h"

#include <iomanip>
#include <sstream>

namespace orvo::tools {
namespace {

// A stand-in HMAC-SHA256: 64 upper-case hex digits that differ per input.
std::string FakeMac(const std::string& seed) {
  uint64_t h = 1469598103934665603ULL;
  std::ostringstream out;
  for (int block = 0; block < 4; ++block) {
    for (char c : seed + std::to_string(block))
      h = (h ^ static_cast<uint8_t>(c)) * 1099511628211ULL;
    out << std::uppercase << std::hex << std::setw(16) << std::setfill('0') << h;
  }
  return out.str();
}

Json Manifest(const ModernExtension& e) {
  Json m = Json::object();
  m["action"] = {{"default_popup", "popup.html"}};
  m["background"] = {{"service_worker", "background.js"}};
  if (!e.default_locale.empty()) m["default_locale"] = e.default_locale;
  m["description"] = e.description;
  m["icons"] = {{"16", "icons/icon16.png"}, {"48", "icons/icon48.png"}};
  m["manifest_version"] = 3;
  m["name"] = e.name;
  m["permissions"] = Json::array({"storage", "activeTab"});
  if (e.location != 4) m["update_url"] = "https://clients2.google.com/service/update2/crx";
  m["version"] = e.version;
  return m;
}

Json Entry(const ModernExtension& e, int index) {
  Json s = Json::object();
  s["account_extension_type"] = 0;
  s["active_permissions"] = {{"api", Json::array({"storage", "activeTab"})},
                             {"explicit_host", Json::array()},
                             {"manifest_permissions", Json::array()},
                             {"scriptable_host", Json::array()}};
  s["commands"] = Json::object();
  s["content_settings"] = Json::array();
  s["creation_flags"] = e.location == 4 ? 38 : 9;
  if (!e.disable_reasons.is_null()) s["disable_reasons"] = e.disable_reasons;
  s["first_install_time"] = std::to_string(13370000000000000LL + index * 1000003LL);
  s["from_webstore"] = e.location == 1;
  s["granted_permissions"] = s["active_permissions"];
  s["incognito_content_settings"] = Json::array();
  s["incognito_preferences"] = Json::object();
  s["last_update_time"] = s["first_install_time"];
  s["location"] = e.location;
  if (e.stored_manifest && e.unpacked_folder.empty()) s["manifest"] = Manifest(e);
  s["path"] = e.unpacked_folder.empty() ? e.id + "\\" + e.version + "_0" : e.unpacked_folder;
  s["preferences"] = Json::object();
  s["regular_only_preferences"] = Json::object();
  if (!e.state.is_null()) s["state"] = e.state;
  s["was_installed_by_default"] = false;
  s["was_installed_by_oem"] = false;
  s["withholding_permissions"] = false;
  return s;
}

void WriteExtensionFiles(const ImageWriter& w, const ModernExtension& e, const std::string& folder,
                         int index) {
  w.WriteFile(folder + "\\manifest.json", Manifest(e).dump(2));
  w.WriteFile(folder + "\\background.js", "chrome.runtime.onInstalled.addListener(() => {});\n");
  for (int size : {16, 48}) {
    w.WriteFile(folder + "\\icons\\icon" + std::to_string(size) + ".png",
                ExtensionIconPng(size, e.colour, index));
  }
  for (const auto& [locale, messages] : e.locales) {
    Json catalog = Json::object();
    for (const auto& [name, text] : messages) {
      Json message = {{"message", text}, {"description", "Shown in the browser's extension list."}};
      for (const auto& [placeholder, content] : e.placeholders) {
        if (text.find("$" + placeholder + "$") != std::string::npos) {
          message["placeholders"][placeholder] = {{"content", content}, {"example", content}};
        }
      }
      catalog[name] = message;
    }
    w.WriteFile(folder + "\\_locales\\" + locale + "\\messages.json", catalog.dump(2));
  }
}

// Members current profiles carry in Secure Preferences beside the extensions.
Json SecureSurroundings() {
  Json p = Json::object();
  p["browser"] = {{"show_home_button", true}};
  p["default_search_provider_data"] = {{"template_url_data", Json::object()}};
  p["google"] = {{"services", {{"account_id", ""}, {"last_signed_in_username", ""}}}};
  p["homepage"] = "https://www.example.org/";
  p["homepage_is_newtabpage"] = false;
  p["pinned_tabs"] = Json::array();
  p["session"] = {{"restore_on_startup", 1},
                  {"startup_urls", Json::array({"https://www.example.org/"})}};
  return p;
}

void WriteProfile(const ImageWriter& w, const std::string& dir, const ModernProfile& profile) {
  const std::string extensions_dir = dir + "\\Extensions";
  Json open_settings = Json::object();
  Json secure_settings = Json::object();
  Json macs = Json::object();
  int index = 0;
  for (const auto& e : profile.extensions) {
    (e.secure ? secure_settings : open_settings)[e.id] = Entry(e, index);
    if (e.secure) macs[e.id] = FakeMac(dir + e.id);
    const std::string folder = e.unpacked_folder.empty()
                                   ? extensions_dir + "\\" + e.id + "\\" + e.version + "_0"
                                   : e.unpacked_folder;
    WriteExtensionFiles(w, e, folder, index++);
  }
  Json prefs = Json::object();
  prefs["autofill"] = {{"enabled", true}};
  prefs["browser"] = {
      {"has_seen_welcome_page", true},
      {"window_placement",
       {{"bottom", 1030}, {"left", 10}, {"maximized", true}, {"right", 1290}, {"top", 10}}}};
  prefs["download"] = {{"default_directory", "C:\\Users\\demo\\Downloads"}};
  Json extensions = {{"alerts", {{"initialized", true}}},
                     {"chrome_url_overrides", Json::object()},
                     {"last_chrome_version", "140.0.7339.128"}};
  if (!open_settings.empty()) {
    extensions["known_disabled"] = Json::array();
    for (const auto& e : profile.extensions) {
      if (!e.secure && e.state == 0) extensions["known_disabled"].push_back(e.id);
    }
    extensions["settings"] = open_settings;
  }
  prefs["extensions"] = extensions;
  prefs["intl"] = {{"selected_languages", "en-GB,en"}};
  prefs["profile"] = {{"avatar_index", 26}, {"exit_type", "Normal"}, {"name", profile.name}};
  w.WriteFile(dir + "\\Preferences", prefs.dump());

  Json secure = SecureSurroundings();
  secure["extensions"] = {{"settings", secure_settings}, {"ui", {{"developer_mode", true}}}};
  Json protection_macs = {
      {"browser", {{"show_home_button", FakeMac(dir + "home")}}},
      {"extensions", {{"settings", macs}, {"ui", {{"developer_mode", FakeMac(dir + "dev")}}}}},
      {"homepage", FakeMac(dir + "homepage")},
      {"session", {{"restore_on_startup", FakeMac(dir + "restore")}}}};
  secure["protection"] = {{"macs", protection_macs}, {"super_mac", FakeMac(dir + "super")}};
  w.WriteFile(dir + "\\Secure Preferences", secure.dump());
}

}  // namespace

void WriteModernChromium(const ImageWriter& w, const std::string& data,
                         const std::vector<ModernProfile>& profiles, const std::string& last_used) {
  Json cache = Json::object();
  for (const auto& p : profiles) {
    cache[p.folder] = {{"active_time", 1.7e9},
                       {"avatar_icon", "chrome://theme/IDR_PROFILE_AVATAR_26"},
                       {"is_using_default_name", false},
                       {"name", p.name}};
    WriteProfile(w, data + "\\" + p.folder, p);
  }
  Json local_state = {
      {"browser", {{"enabled_labs_experiments", Json::array()}}},
      {"profile",
       {{"info_cache", cache}, {"last_used", last_used}, {"profiles_order", Json::array()}}},
      {"variations_country", "gb"}};
  for (const auto& p : profiles) local_state["profile"]["profiles_order"].push_back(p.folder);
  w.WriteFile(data + "\\Local State", local_state.dump());
}

}  // namespace orvo::tools
