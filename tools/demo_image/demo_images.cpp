// The demo Windows image (fixtures/demo) and large synthetic ones for the benchmarks.
#include "demo_images.h"

#include <fstream>
#include <string>

#include "firefox_current_profile.h"
#include "firefox_demo.h"
#include "firefox_profile.h"
#include "icon_painter.h"
#include "image_parts.h"
#include "profile_writer.h"

namespace fs = std::filesystem;

namespace orvo::tools {
namespace {

constexpr const char* kFirefoxExe = "C:\\Program Files (x86)\\Mozilla Firefox\\firefox.exe";
constexpr const char* kOperaExe = "C:\\Program Files\\Opera\\launcher.exe";
constexpr const char* kChromeProfile =
    "C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\User Data\\Default";
constexpr const char* kOperaProfile =
    "C:\\Users\\demo\\AppData\\Roaming\\Opera Software\\Opera Stable";

os::Pixels ExtensionMark(int size, uint32_t colour) {
  IconPainter p(size);
  p.RoundRect(colour, 0.06, 0.06, 0.94, 0.94, 0.18);
  p.RoundRect(0xFFFFFF, 0.28, 0.24, 0.72, 0.76, 0.05);
  return p.pixels();
}

// Add-ons of all four kinds, in both registry views: a helper object registered in both
// (its class registration too), one whose class key has no name (not listed), a toolbar
// known only to the 32-bit view, two toolbar buttons (one with only a menu text, one
// switched off) and two context-menu entries.
void InternetExplorerAddOns(Registry& reg, ImageWriter& w) {
  const auto lm = os::RegRoot::LocalMachine;
  const auto cu = os::RegRoot::CurrentUser;
  const auto cr = os::RegRoot::ClassesRoot;
  const std::string helper = "{6B1D2F3A-1111-4C2E-9A11-0D3E5F7A9B01}";
  const std::string toolbar = "{6B1D2F3A-2222-4C2E-9A11-0D3E5F7A9B02}";
  const std::string button = "{6B1D2F3A-3333-4C2E-9A11-0D3E5F7A9B03}";
  const std::string nameless = "{6B1D2F3A-4444-4C2E-9A11-0D3E5F7A9B04}";
  const std::string menu_button = "{6B1D2F3A-5555-4C2E-9A11-0D3E5F7A9B05}";
  const std::string bho = "Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\";
  const std::string demo = "C:\\Program Files\\Orvo Demo\\";
  const std::string demo32 = "C:\\Program Files (x86)\\Orvo Demo\\";

  reg.Set(lm, "SOFTWARE\\" + bho + helper, "NoExplorer", "1");
  reg.Set(lm, "SOFTWARE\\Wow6432Node\\" + bho + helper, "NoExplorer", "1");
  reg.Set(lm, "SOFTWARE\\" + bho + nameless, "NoExplorer", "1");
  reg.Set(cr, "CLSID\\" + helper, "", "Orvo Demo Helper");
  reg.Set(cr, "CLSID\\" + helper + "\\InprocServer32", "", demo + "helper64.dll");
  reg.Set(cr, "CLSID\\" + helper + "\\InprocServer32", "ThreadingModel", "Apartment");
  reg.Set(cr, "Wow6432Node\\CLSID\\" + helper, "", "Orvo Demo Helper");
  reg.Set(cr, "Wow6432Node\\CLSID\\" + helper + "\\InprocServer32", "", demo32 + "helper32.dll");
  reg.Set(cr, "CLSID\\" + nameless + "\\InprocServer32", "", demo + "nameless.dll");

  reg.Set(lm, "SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\Toolbar", toolbar, "");
  reg.Set(cr, "Wow6432Node\\CLSID\\" + toolbar, "", "Demo Search Toolbar");
  reg.Set(cr, "Wow6432Node\\CLSID\\" + toolbar + "\\InprocServer32", "", demo32 + "toolbar.dll");

  const std::string ext = "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\";
  reg.Set(lm, ext + button, "ButtonText", "Send to Notes");
  reg.Set(lm, ext + button, "MenuText", "Send page to Notes");
  reg.Set(lm, ext + button, "HotIcon", demo + "notes.ico");
  reg.Set(lm, ext + button, "Icon", demo + "notes-grey.ico");
  reg.Set(lm, ext + button, "CLSID", "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}");
  reg.Set(lm, ext + menu_button, "MenuText", "Translate with Demo");
  reg.Set(lm, ext + menu_button, "HotIcon", demo + "translate.ico");
  reg.Set(lm, ext + menu_button, "CLSID", "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}");
  reg.SetDword(cu, "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\" + button,
               "Flags", 1);
  reg.Set(cu, "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\" + button, "Version",
          "*");

  const std::string menu = "SOFTWARE\\Microsoft\\Internet Explorer\\MenuExt\\";
  reg.Set(cu, menu + "&Send to Clip Notes", "", "res://" + demo + "clip.dll/201");
  reg.SetDword(cu, menu + "&Send to Clip Notes", "Contexts", 0x11);
  reg.Set(cu, menu + "E&xport to Demo Sheet", "", demo + "export.htm");

  w.WriteFile(demo + "notes.ico",
              WriteIcoFile({ExtensionMark(16, 0xF9A825), ExtensionMark(32, 0xF9A825)}));
  w.WriteFile(demo + "translate.ico",
              WriteIcoFile({ExtensionMark(16, 0x00897B), ExtensionMark(32, 0x00897B)}));
}

std::vector<DemoExtension> ChromeExtensions() {
  // clang-format off
  std::vector<DemoExtension> list = {
      {"fblkdohiomlcbgpekccokebfafkgegcf", "Tab Tidy", "Groups and sorts your open tabs.", "2.4.1", {16, 32, 48}, 1, 0x1695E6},
      {"anihaiknkjpemibakigcfnienhfpllen", "Quiet Pages", "Hides autoplaying videos and sound.", "1.0.3", {16, 48}, 0, 0x34A853},
      {"oopjaeeehcadmkbplahcjkdnfdfelmao", "Color Picker \\u0050ro", "Pick any colour on a page.", "3.1", {16, 32, 48}, 1, 0xE8710A},
      {"egkcfjbooihfpdgfdjcbgalldheloafi", "Reading Ruler", "A ruler that follows your reading line.", "0.9.2", {32, 48}, 1, 0x8E44AD},
      {"klngfkoppaageohkfiaojmohnmphfjfc", "Clip Notes", "Save selected text to a notebook.", "5.0.0", {16, 32, 48}, 0, 0xD93025},
      {"fckefgffhlnlbmeifijckdeeanobagjk", "Página Traductor", "Traduce páginas completas al instante.", "1.7", {16, 32, 48}, 1, 0x00897B},
      {"bjfkmmciimmhdeobbhbbnlobgedafpfe", "Screenshot Studio", "Capture, crop and annotate the visible page.", "4.2.0", {16, 32, 48}, 1, 0x3949AB},
      {"dcgggpjkmcndnlmckifahnfdaokoabni", "JSON Lens", "Shows JSON responses as a tree.", "0.4.0", {16}, 1, 0x5F6368},
      {"icelhbjffaccnehokaokgjmdmpdgacbd", "Password Keeper", "Remembers passwords, encrypted on this computer.", "2.0.1", {}, 1, 0x202124},
      {"jncomfdhcfpipkdaadmddodcbbfkgkbb", "Focus Timer", "Pomodoro timer in the toolbar.", "1.2", {16, 32, 48}, -1, 0xC2185B},
      {"idoifbohijbiknjlhibadphkcnpanbcc", "Wörterbuch Plus", "Doppelklick zeigt die Bedeutung eines Wortes.", "3.0.4", {16, 32, 48}, 1, 0x6D4C41},
      {"hmejmoapjdlhjmhkabfnkdjjloonhlab", "__MSG_appName__", "__MSG_appDesc__", "8.1.0", {16, 32, 48}, 1, 0x0288D1},
  };
  // clang-format on
  DemoExtension orphan_folder{"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
                              "Left Behind",
                              "A folder Chrome no longer lists.",
                              "1.0",
                              {48},
                              1,
                              0x9E9E9E};
  orphan_folder.has_settings = false;
  DemoExtension orphan_settings{"bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
                                "Uninstalled Helper",
                                "Its files are gone.",
                                "1.0",
                                {48},
                                1,
                                0x9E9E9E};
  orphan_settings.has_folder = false;
  list.push_back(orphan_folder);
  list.push_back(orphan_settings);
  return list;
}

std::vector<DemoExtension> OperaExtensions() {
  return {
      {"phonibhekbdcldjdnfbjjlodamhpdonh",
       "Opera Tab Tidy",
       "Groups and sorts your open tabs.",
       "2.4.1",
       {16, 32, 48},
       1,
       0xFF1B2D},
      {"ijhalcmpfecbabjmpagjaihimajngpoo",
       "Night Owl",
       "A dark theme for every site.",
       "1.5",
       {16, 48},
       0,
       0x263238},
      {"almkpllbonkcbenbgbfbcjacdoeiibpg",
       "Price Watch",
       "Warns when a price drops.",
       "0.8.0",
       {16, 32, 48},
       1,
       0x43A047},
      {"gilheacpmmkbgjpffhfeicphlhchnlkf",
       "Quick Dial Sync",
       "Keeps your speed dial in step.",
       "3.3.3",
       {32},
       1,
       0x1E88E5},
  };
}

void DemoImage(const fs::path& root) {
  ImageWriter w(root);
  WriteImageIni(root, "");
  const auto lm = os::RegRoot::LocalMachine;
  const auto cu = os::RegRoot::CurrentUser;
  Registry reg;
  RegisterBrowser(reg, "SOFTWARE\\Clients\\StartMenuInternet\\Google Chrome", "Google Chrome",
                  kChromeExe, "Google Chrome is a fast, simple and secure web browser.");
  RegisterBrowser(reg, "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet\\FIREFOX.EXE",
                  "Mozilla Firefox", kFirefoxExe, "Firefox delivers safe, easy web browsing.");
  RegisterBrowser(reg, "SOFTWARE\\Clients\\StartMenuInternet\\OperaStable", "Opera Stable",
                  kOperaExe, "Opera - the fast, secure web browser.");
  for (const char* scheme : {"http", "https", "ftp"}) {
    reg.Set(cu,
            std::string("Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\") +
                scheme + "\\UserChoice",
            "Progid", "ChromeHTML");
    reg.Set(os::RegRoot::ClassesRoot, std::string(scheme) + "\\shell\\open\\command", "",
            std::string("\"") + kChromeExe + "\" -- \"%1\"");
  }
  const std::string cu_plugins =
      "SOFTWARE\\MozillaPlugins\\@orvo-demo.example/DemoPlayer,version=2.1";
  reg.Set(cu, cu_plugins, "ProductName", "Demo Media Player");
  reg.Set(cu, cu_plugins, "Description", "Plays demo media inside web pages");
  reg.Set(cu, cu_plugins, "Version", "2.1.0.4");
  reg.Set(cu, cu_plugins, "Vendor", "Orvo Demo");
  reg.Set(cu, cu_plugins, "Path", "C:\\Users\\demo\\AppData\\Local\\DemoPlayer\\npdemo.dll");
  const std::string wow_plugins = "SOFTWARE\\Wow6432Node\\MozillaPlugins\\";
  reg.Set(lm, wow_plugins + "@orvo-demo.example/PdfView", "ProductName", "PDF View");
  reg.Set(lm, wow_plugins + "@orvo-demo.example/PdfView", "Description",
          "Shows PDF documents in the browser");
  reg.Set(lm, wow_plugins + "@orvo-demo.example/PdfView", "Version", "11.0.23");
  reg.Set(lm, wow_plugins + "@orvo-demo.example/PdfView", "Path",
          "C:\\Program Files (x86)\\PdfView\\nppdf32.dll");
  reg.Set(lm, wow_plugins + "@orvo-demo.example/NoName,version=1.0", "Description",
          "A plug-in without a product name");
  reg.Set(lm, wow_plugins + "@orvo-demo.example/NoName,version=1.0", "Version", "1.0");
  reg.Set(lm, wow_plugins + "@orvo-demo.example/NoName,version=1.0", "Path",
          "C:\\Windows\\SysWOW64\\npnoname.dll");
  InternetExplorerAddOns(reg, w);
  std::ofstream(root / "registry.reg", std::ios::binary) << reg.Text();

  WriteBrowserProgram(w, kChromeExe, "chrome");
  WriteBrowserProgram(w, kFirefoxExe, "firefox");
  WriteBrowserProgram(w, kOperaExe, "opera");
  WriteBrowserProgram(w, kIeExe, "ie");
  // Quiet Pages is listed twice, as profiles that were switched back and forth show.
  w.ChromiumProfile(kChromeProfile, ChromeExtensions(),
                    {"anihaiknkjpemibakigcfnienhfpllen", "klngfkoppaageohkfiaojmohnmphfjfc",
                     "anihaiknkjpemibakigcfnienhfpllen"});
  w.ChromiumProfile(kOperaProfile, OperaExtensions(), {"ijhalcmpfecbabjmpagjaihimajngpoo"});
  WriteFirefoxDemo(w);
  // The user's temporary folder (%TEMP%), which every Windows profile has and the notice
  // checks write their description files into; a file keeps it in the repository.
  w.WriteFile("C:\\Users\\demo\\AppData\\Local\\Temp\\FXSAPIDebugLogFile.txt", "");
}

}  // namespace

void WriteDemoImage(const fs::path& root) { DemoImage(root); }

void WriteLegacyDemoImage(const fs::path& root) {
  ImageWriter w(root);
  WriteImageIni(root, "");
  Registry reg;
  RegisterBrowser(reg, "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet\\FIREFOX.EXE",
                  "Mozilla Firefox", kFirefoxExe, "Firefox delivers safe, easy web browsing.");
  reg.Set(os::RegRoot::CurrentUser,
          "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice",
          "Progid", "FirefoxURL");
  std::ofstream(root / "registry.reg", std::ios::binary) << reg.Text();
  WriteBrowserProgram(w, kFirefoxExe, "firefox");
  WriteBrowserProgram(w, kIeExe, "ie");
  w.WriteFile(
      "C:\\Users\\demo\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini",
      "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
      "Path=Profiles/k3x9q2lm.default\r\nDefault=1\r\n");
  // An old profile: the add-ons as the database knew them. The first two carry their names
  // in addons.json; the others only in the database's locale rows.
  std::vector<FirefoxAddon> addons = FirefoxAddons();
  addons.resize(4);
  addons[1].active = false;  // user-disabled 0, active 0: disabled all the same
  addons[1].user_disabled = false;
  addons[3].active = true;  // user-disabled 1, active 1: disabled
  WriteFirefoxSqliteProfile(w, kFirefoxProfile, addons, {0, 1});
  WriteFirefoxAddonFiles(w, addons);
}

void WriteSyntheticFirefoxImage(const fs::path& root, int count, double megabytes, bool database,
                                const std::string& icon_site) {
  ImageWriter w(root);
  WriteImageIni(root, "");
  Registry reg;
  RegisterBrowser(reg, "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet\\FIREFOX.EXE",
                  "Mozilla Firefox", kFirefoxExe, "Firefox delivers safe, easy web browsing.");
  std::ofstream(root / "registry.reg", std::ios::binary) << reg.Text();
  w.WriteFile("C:\\Users\\demo\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini",
              "[Profile0]\r\nPath=Profiles/k3x9q2lm.default\r\n");
  SetFirefoxIconSite(icon_site);
  std::vector<FirefoxAddon> addons;
  for (int i = 0; i < count; ++i) {
    FirefoxAddon a;
    a.id = "addon" + std::to_string(i) + "@synthetic.example";
    a.name = "Synthetic Add-on " + std::to_string(i);
    a.description = "Add-on number " + std::to_string(i) + " of a heavy profile.";
    a.version = "1." + std::to_string(i);
    a.user_disabled = i % 7 == 0;
    a.active = !a.user_disabled;
    a.icon_sizes = {64, 32};
    a.descriptor = std::string(kFirefoxProfile) + "\\extensions\\" + a.id + ".xpi";
    addons.push_back(a);
  }
  if (database) {
    std::vector<size_t> named;
    for (size_t i = 0; i < addons.size(); i += 2) named.push_back(i);
    WriteFirefoxSqliteProfile(w, kFirefoxProfile, addons, named);
  } else {
    WriteFirefoxJsonProfile(w, kFirefoxProfile, addons,
                            static_cast<size_t>(megabytes * 1024 * 1024));
    WriteFirefoxStartupCache(w, kFirefoxProfile, addons);  // as a current Firefox keeps it
  }
  SetFirefoxIconSite("http://127.0.0.1:8086/icons/");
}

void WriteFirefoxIcons(const fs::path& folder) {
  fs::create_directories(folder);
  int variant = 0;
  for (const auto& a : FirefoxAddons()) {
    for (int size : a.icon_sizes) {
      const std::string url = FirefoxIconUrl(a, size);
      std::ofstream(folder / url.substr(url.rfind('/') + 1), std::ios::binary)
          << ExtensionIconPng(size, 0xE66000 + 0x101010u * static_cast<uint32_t>(variant), variant);
    }
    ++variant;
  }
}

void WriteSyntheticImage(const fs::path& root, int count, double megabytes) {
  ImageWriter w(root);
  WriteImageIni(root, "");
  Registry reg;
  RegisterBrowser(reg, "SOFTWARE\\Clients\\StartMenuInternet\\Google Chrome", "Google Chrome",
                  kChromeExe, "Google Chrome is a fast, simple and secure web browser.");
  std::ofstream(root / "registry.reg", std::ios::binary) << reg.Text();
  WriteBrowserProgram(w, kChromeExe, "chrome");
  std::vector<DemoExtension> list;
  std::vector<std::string> disabled;
  for (int i = 0; i < count; ++i) {
    DemoExtension e;
    // Ids are 32 letters a-p, as Chrome makes them; the number keeps them distinct.
    std::string id = std::to_string(i);
    for (char& c : id) c = static_cast<char>('a' + (c - '0'));
    id += 'p';  // never a digit letter, so the number part ends unambiguously
    while (id.size() < 32) id += static_cast<char>('a' + (id.size() * 7 + i) % 16);
    e.id = id;
    e.name = "Synthetic Extension " + std::to_string(i);
    e.description =
        "Extension number " + std::to_string(i) + " of a heavy profile, with a longer description.";
    e.state = i % 5 == 0 ? 0 : 1;
    e.icon_sizes = {16, 48};
    e.colour = 0x101010u * static_cast<uint32_t>(i % 15 + 1);
    if (e.state == 0) disabled.push_back(e.id);
    list.push_back(e);
  }
  w.ChromiumProfile(kChromeProfile, list, disabled, static_cast<size_t>(megabytes * 1024 * 1024));
}

}  // namespace orvo::tools
