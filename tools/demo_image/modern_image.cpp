#include "modern_image.h"

#include <fstream>

#include "chromium_modern.h"
#include "image_parts.h"

namespace fs = std::filesystem;

namespace orvo::tools {
namespace {

constexpr const char* kEdgeExe =
    "C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe";
constexpr const char* kOperaExe = "C:\\Users\\demo\\AppData\\Local\\Programs\\Opera\\launcher.exe";
constexpr const char* kLocal = "C:\\Users\\demo\\AppData\\Local";

// Ids of the extensions the tests and the demo talk about.
constexpr const char* kCouponFinder = "lblbplamhdghlbicigeijlkfkdikabla";  // blocked for this user
constexpr const char* kEdgeShopping =
    "lpokplhadlemdcbmdoegobiaddephjjj";  // blocked by Edge's machine policy

Json Reasons(std::initializer_list<int> r) { return Json(std::vector<int>(r)); }

std::vector<ModernExtension> ChromeDefault() {
  std::vector<ModernExtension> list;
  ModernExtension e;
  e = {};
  e.id = "njljfidahmnikmebegegkdcjncpenkan", e.name = "Tab Tidy",
  e.description = "Groups and sorts your open tabs.", e.version = "3.0.2", e.colour = 0x1695E6;
  list.push_back(e);
  e = {};
  e.id = kCouponFinder, e.name = "Coupon Finder",
  e.description = "Finds discount codes while you shop.", e.version = "5.1.0", e.colour = 0xF9A825;
  list.push_back(e);
  e = {};
  e.id = "oipbgjicpaempmfgiedgbjkkbfncjimp", e.name = "Quiet Pages",
  e.description = "Hides autoplaying videos.", e.version = "2.0.0", e.colour = 0x34A853,
  e.disable_reasons = Reasons({1});
  list.push_back(e);
  e = {};
  e.id = "cchhifjbpmphnocoghpkglanbkfhklfg", e.name = "Screenshot Studio",
  e.description = "Capture, crop and annotate the visible page.", e.version = "6.0.0",
  e.colour = 0x3949AB, e.disable_reasons = Reasons({1, 2});
  list.push_back(e);
  // Localised: British English from its own catalog; the second from its parent "en",
  // its message named in other letters than the catalog spells it.
  e = {};
  e.id = "jnlocdagfoooepoajifaokkgbidaadpj", e.name = "__MSG_extName__",
  e.description = "__MSG_extDescription__", e.version = "1.4.0", e.colour = 0xE8710A,
  e.default_locale = "en";
  e.locales = {
      {"en", {{"extName", "Color Lens"}, {"extDescription", "Pick any color on a page."}}},
      {"en_GB", {{"extName", "Colour Lens"}, {"extDescription", "Pick any colour on a page."}}},
      {"de", {{"extName", "Farblupe"}, {"extDescription", "Wählt jede Farbe einer Seite."}}}};
  list.push_back(e);
  e = {};
  e.id = "gdaohamdnbbgiillnmakcbjkkdkehpjo", e.name = "__MSG_APPNAME__",
  e.description = "__MSG_appDesc__", e.version = "2.2.1", e.colour = 0x00897B,
  e.default_locale = "de";
  e.locales = {
      {"de", {{"appName", "$product$ Übersetzer"}, {"appDesc", "Übersetzt ganze Seiten."}}},
      {"en", {{"appName", "$product$ Translator"}, {"appDesc", "Translates whole pages."}}}};
  e.placeholders = {{"product", "Page"}};
  list.push_back(e);
  // A developer's own folder, loaded unpacked.
  e = {};
  e.id = "dihcnjgplegejcnomeefkpjnchfehnko", e.name = "JSON Lens (dev)",
  e.description = "Shows JSON responses as a tree.", e.version = "0.5.0", e.colour = 0x5F6368,
  e.location = 4, e.unpacked_folder = "C:\\Users\\demo\\Projects\\json-lens";
  list.push_back(e);
  // Installed by the company's policy.
  e = {};
  e.id = "ejhpigladkpcncmhfcjcjkokeeijmken", e.name = "Company Portal Helper",
  e.description = "Signs you in to the company portal.", e.version = "4.0.0", e.colour = 0x455A64,
  e.location = 7;
  list.push_back(e);
  // Older entries without checksum in Preferences: one with "state", one of a newer
  // browser with a reasons list and no "state", one with the old integer mask.
  e = {};
  e.id = "dihgglnmicjmgkabblpmnijofnggglgh", e.name = "Reading Ruler",
  e.description = "A ruler that follows your reading line.", e.version = "0.9.2",
  e.colour = 0x8E44AD, e.secure = false, e.state = 1;
  list.push_back(e);
  e = {};
  e.id = "mcoglepocehnmhmmpkhkmgfpapdnpdfp", e.name = "Clip Notes",
  e.description = "Save selected text to a notebook.", e.version = "5.0.0", e.colour = 0xD93025,
  e.secure = false, e.disable_reasons = Reasons({1});
  list.push_back(e);
  e = {};
  e.id = "aipegfiebdjobcjijmibajcbijlpgdbl", e.name = "Focus Timer",
  e.description = "Pomodoro timer in the toolbar.", e.version = "1.2", e.colour = 0xC2185B,
  e.secure = false, e.state = 0, e.disable_reasons = 1;
  list.push_back(e);
  return list;
}

std::vector<ModernExtension> ChromeWork() {
  std::vector<ModernExtension> list;
  ModernExtension e;
  e.id = "kancmaodkkobpcojdeckbegjncdmbpnn", e.name = "Meeting Notes",
  e.description = "Notes beside your calendar.", e.version = "1.1.0", e.colour = 0x0B8043;
  list.push_back(e);
  e = {};
  e.id = "njljfidahmnikmebegegkdcjncpenkan", e.name = "Tab Tidy",
  e.description = "Groups and sorts your open tabs.", e.version = "3.0.2", e.colour = 0x1695E6,
  e.disable_reasons = Reasons({1});
  list.push_back(e);
  return list;
}

std::vector<ModernExtension> EdgeDefault() {
  std::vector<ModernExtension> list;
  ModernExtension e;
  e.id = "ihmehkhkpkgdgogonlnbgdhaibilnmba", e.name = "Edge Reader",
  e.description = "Reads pages aloud.", e.version = "2.3.0", e.colour = 0x0C59A4;
  list.push_back(e);
  e = {};
  e.id = kEdgeShopping, e.name = "Shopping Helper", e.description = "Compares prices as you shop.",
  e.version = "7.0.1", e.colour = 0x34C38F;
  list.push_back(e);
  return list;
}

std::vector<ModernExtension> OperaDefault() {
  std::vector<ModernExtension> list;
  ModernExtension e;
  e.id = "akkflkhioodeaeoeoaafmmmdiggeaoke", e.name = "Night Owl",
  e.description = "A dark theme for every site.", e.version = "1.5", e.colour = 0x263238;
  list.push_back(e);
  e = {};
  e.id = "phnliopcfdhphjdiikoimaoifggdbldb", e.name = "Price Watch",
  e.description = "Warns when a price drops.", e.version = "0.8.0", e.colour = 0x43A047,
  e.disable_reasons = Reasons({1});
  list.push_back(e);
  return list;
}

}  // namespace

void WriteModernDemoImage(const fs::path& root) {
  ImageWriter w(root);
  WriteImageIni(root, "", true);
  const auto lm = os::RegRoot::LocalMachine;
  const auto cu = os::RegRoot::CurrentUser;
  Registry reg;
  RegisterBrowser(reg, "SOFTWARE\\Clients\\StartMenuInternet\\Google Chrome", "Google Chrome",
                  kChromeExe, "Google Chrome is a fast, simple and secure web browser.");
  RegisterBrowser(reg, "SOFTWARE\\Clients\\StartMenuInternet\\Microsoft Edge", "Microsoft Edge",
                  kEdgeExe, "Browse the web");
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
  // A block this user's Chrome policy already holds (beside an extension no longer
  // installed), and Edge's computer-wide one.
  reg.Set(cu, "SOFTWARE\\Policies\\Google\\Chrome\\ExtensionInstallBlocklist", "1", kCouponFinder);
  reg.Set(cu, "SOFTWARE\\Policies\\Google\\Chrome\\ExtensionInstallBlocklist", "2",
          "ofpnmcalabcbjgholdjcjblkibolbppb");
  reg.Set(lm, "SOFTWARE\\Policies\\Microsoft\\Edge\\ExtensionInstallBlocklist", "1", kEdgeShopping);
  std::ofstream(root / "registry.reg", std::ios::binary) << reg.Text();

  WriteBrowserProgram(w, kChromeExe, "chrome");
  WriteBrowserProgram(w, kEdgeExe, "edge");
  WriteBrowserProgram(w, kOperaExe, "opera");
  WriteBrowserProgram(w, kIeExe, "ie");
  WriteModernChromium(
      w, std::string(kLocal) + "\\Google\\Chrome\\User Data",
      {{"Default", "Person 1", ChromeDefault()}, {"Profile 1", "Work", ChromeWork()}}, "Default");
  WriteModernChromium(w, std::string(kLocal) + "\\Microsoft\\Edge\\User Data",
                      {{"Default", "Personal", EdgeDefault()}}, "Default");
  WriteModernChromium(w, "C:\\Users\\demo\\AppData\\Roaming\\Opera Software\\Opera Stable",
                      {{"Default", "Default", OperaDefault()}}, "Default");
}

}  // namespace orvo::tools
