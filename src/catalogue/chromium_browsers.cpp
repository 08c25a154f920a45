// The Chromium-family browsers this program knows: where each keeps its data, its
// process, its policy key and the address of its extensions page. Chrome and Opera are
// the window's; Edge, Brave and Vivaldi are orvopm's.
#include "catalogue/chromium_extensions.h"
#include "platform/win_constants.h"

namespace orvo {

TChromeExtensions::TChromeExtensions(const std::string& profile)
    : TChromiumExtensions({bkChrome, os::kCsidlLocalAppData, "\\Google\\Chrome\\User Data\\",
                           "chrome.exe", false, "SOFTWARE\\Policies\\Google\\Chrome", "chrome://"},
                          profile) {}

// Opera kept Preferences in "Opera Stable" itself until it took up profiles; it now keeps
// them in "Opera Stable\Default" as Chrome does. It reads no Windows policies.
TOPeraExtensions::TOPeraExtensions(const std::string& profile)
    : TChromiumExtensions({bkOpera, os::kCsidlAppData, "\\Opera Software\\Opera Stable\\",
                           "opera.exe", true, "", "opera://"},
                          profile) {}

TEdgeExtensions::TEdgeExtensions(const std::string& profile)
    : TChromiumExtensions({bkEdge, os::kCsidlLocalAppData, "\\Microsoft\\Edge\\User Data\\",
                           "msedge.exe", false, "SOFTWARE\\Policies\\Microsoft\\Edge", "edge://"},
                          profile) {}

// Brave's data folder is "Brave-Browser", its policy key "Brave".
TBraveExtensions::TBraveExtensions(const std::string& profile)
    : TChromiumExtensions(
          {bkBrave, os::kCsidlLocalAppData, "\\BraveSoftware\\Brave-Browser\\User Data\\",
           "brave.exe", false, "SOFTWARE\\Policies\\BraveSoftware\\Brave", "brave://"},
          profile) {}

TVivaldiExtensions::TVivaldiExtensions(const std::string& profile)
    : TChromiumExtensions({bkVivaldi, os::kCsidlLocalAppData, "\\Vivaldi\\User Data\\",
                           "vivaldi.exe", false, "SOFTWARE\\Policies\\Vivaldi", "vivaldi://"},
                          profile) {}

}  // namespace orvo
