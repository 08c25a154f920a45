#include "firefox_demo.h"

#include "firefox_current_profile.h"

namespace orvo::tools {
namespace {

constexpr const char* kFeatures = "C:\\Program Files (x86)\\Mozilla Firefox\\browser\\features\\";

FirefoxAddon Theme(FirefoxAddon a) {
  a.type = "theme";
  return a;
}

}  // namespace

// Both a default locale and translations (Tab Tidy: Spanish, German and Bulgarian, none of
// them English), one switched off by the browser (appDisabled), one soft-blocked, icons as
// "64"+"32", only "32", only "48", or none; the active theme and the browser's built-in
// default theme; a language pack, a dictionary and a system add-on from the application's
// folder.
std::vector<FirefoxAddon> FirefoxAddons() {
  const std::string ext = std::string(kFirefoxProfile) + "\\extensions\\";
  FirefoxAddon tidy{"tabtidy@orvo-demo.example",
                    "Tab Tidy for Firefox",
                    "Groups and sorts your open tabs.",
                    "2.4.1",
                    false,
                    false,
                    true,
                    {64, 32},
                    "",
                    ext + "tabtidy@orvo-demo.example.xpi"};
  tidy.locales = {
      {{"es-ES", "es-AR"}, "Ordenar pestañas", "Agrupa y ordena tus pestañas abiertas."},
      {{"de"}, "Tab Tidy für Firefox", "Gruppiert und sortiert deine offenen Tabs."},
      {{"bg"}, "Подреждане на раздели", "Групира и подрежда отворените раздели."}};
  FirefoxAddon toolbar{"legacy-toolbar@orvo-demo.example",
                       "Legacy Search Toolbar",
                       "An old toolbar that came with a download.",
                       "6.0.1",
                       false,
                       false,
                       true,
                       {},
                       "",
                       ext + "legacy-toolbar@orvo-demo.example"};
  toolbar.soft_disabled = true;
  FirefoxAddon dark = Theme({"darkfox@orvo-demo.example",
                             "Dark Fox Theme",
                             "A dark theme.",
                             "1.0",
                             false,
                             false,
                             true,
                             {64, 32},
                             "",
                             ext + "darkfox@orvo-demo.example.xpi"});
  FirefoxAddon default_theme =
      Theme({"default-theme@mozilla.org",
             "System theme \xE2\x80\x94 auto",
             "Follow the operating system setting for buttons, menus, and windows.",
             "1.4.1",
             true,
             false,
             false,
             {},
             "",
             ""});
  default_theme.location = "app-builtin";
  default_theme.root_uri = "resource://default-theme/";
  FirefoxAddon langpack{"langpack-de@firefox.mozilla.org",
                        "Deutsch (DE) Language Pack",
                        "Firefox in German.",
                        "115.0.20230710.165010",
                        false,
                        false,
                        true,
                        {},
                        "",
                        ext + "langpack-de@firefox.mozilla.org.xpi"};
  langpack.type = "locale";
  FirefoxAddon dictionary{"de-DE@dictionaries.addons.mozilla.org",
                          "German Dictionary",
                          "Spell checking for German.",
                          "2.1",
                          false,
                          false,
                          true,
                          {},
                          "",
                          ext + "de-DE@dictionaries.addons.mozilla.org.xpi"};
  dictionary.type = "dictionary";
  FirefoxAddon autofill{"formautofill@mozilla.org",
                        "Form Autofill",
                        "Fills in addresses and cards.",
                        "1.0.1",
                        false,
                        false,
                        true,
                        {},
                        "",
                        std::string(kFeatures) + "formautofill@mozilla.org.xpi"};
  autofill.location = "app-system-defaults";
  return {
      tidy,
      {"{3c2b8b0e-5b7a-4f0e-9d2c-1a4e6f7b8c90}",
       "Cookie Jar Cleaner",
       "Clears cookies when a tab closes.",
       "1.3",
       false,
       true,
       false,
       {32},
       "",
       ext + "{3c2b8b0e-5b7a-4f0e-9d2c-1a4e6f7b8c90}.xpi"},
      {"readermode@orvo-demo.example",
       "Reader Mode Plus",
       "A calmer view of long articles.",
       "0.7.2",
       false,
       false,
       true,
       {48},
       "",
       ext + "readermode@orvo-demo.example.xpi"},
      {"unicode-names@orvo-demo.example",
       "Übersetzer",
       "Übersetzt markierten Text – schnell.",
       "3.2",
       true,
       false,
       false,
       {64},
       "",
       ext + "unicode-names@orvo-demo.example.xpi"},
      toolbar,
      dark,
      default_theme,
      langpack,
      dictionary,
      autofill,
  };
}

void WriteFirefoxAddonFiles(const ImageWriter& w, const std::vector<FirefoxAddon>& addons) {
  for (const auto& a : addons) {
    if (a.descriptor.empty()) continue;  // built into the browser
    if (a.descriptor.size() > 4 && a.descriptor.compare(a.descriptor.size() - 4, 4, ".xpi") == 0) {
      // An empty zip archive: the end-of-directory record alone.
      w.WriteFile(a.descriptor, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    } else {
      w.WriteFile(a.descriptor + "\\install.rdf", "<?xml version=\"1.0\"?>\n<RDF/>\n");
      w.WriteFile(a.descriptor + "\\chrome\\toolbar.js", "// toolbar\n");
    }
  }
}

void WriteFirefoxDemo(const ImageWriter& w) {
  // Firefox 67 and later: the install's Default= chooses the profile; the older rule
  // ([Profile0]) would give the work profile.
  w.WriteFile(
      std::string(kFirefoxFolder) + "\\profiles.ini",
      "[Install308046B0AF4A39CB]\r\nDefault=Profiles/k3x9q2lm.default\r\nLocked=1\r\n\r\n"
      "[Profile1]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/k3x9q2lm.default\r\n\r\n"
      "[Profile0]\r\nName=work\r\nIsRelative=1\r\nPath=Profiles/w0rk5pce.work\r\nDefault=1\r\n\r\n"
      "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
  const std::vector<FirefoxAddon> addons = FirefoxAddons();
  WriteCurrentFirefoxProfile(w, kFirefoxProfile, addons, "darkfox@orvo-demo.example");
  WriteFirefoxAddonFiles(w, addons);

  // A profile last used by an older Firefox: extensions.json alone, entries with
  // "descriptor", a translation that is not the user's language.
  const std::string ext = std::string(kFirefoxWorkProfile) + "\\extensions\\";
  const std::vector<FirefoxAddon> work = {
      {"meetingnotes@orvo-demo.example",
       "Meeting Notes",
       "Notes beside your calendar.",
       "1.2",
       false,
       false,
       true,
       {},
       "",
       ext + "meetingnotes@orvo-demo.example.xpi"},
      {"oldtabs@orvo-demo.example",
       "Old Tab Mover",
       "Moves tabs between windows.",
       "0.9",
       true,
       false,
       false,
       {},
       "Alter Tab-Umzug",
       ext + "oldtabs@orvo-demo.example.xpi"},
  };
  w.WriteFile(std::string(kFirefoxWorkProfile) + "\\prefs.js",
              "// Mozilla User Preferences\r\nuser_pref(\"browser.startup.homepage\", "
              "\"https://intranet.example.org/\");\r\n");
  WriteFirefoxJsonProfile(w, kFirefoxWorkProfile, work);
  WriteFirefoxAddonFiles(w, work);
}

}  // namespace orvo::tools
