#pragma once
// The maker's web site: one base address chosen when the program is built (the CMake
// cache variable ORVO_SITE_URL, beside the rating service's) and the paths of everything
// the program opens or reads there: the pages the windows and the menu open, the update
// and news descriptions, and the advert service. The demo build points the base at the
// local rating service, whose site folder holds something for every path here. A run may
// point it elsewhere (`OrvoPM --site URL`; the tests at a loopback server of their own).
#include <string>
#include <string_view>

namespace orvo {

// Pages opened in the browser.
inline constexpr char kHomePath[] = "/";
inline constexpr char kDownloadPath[] = "/download.html";
inline constexpr char kContactPath[] = "/help.html";
inline constexpr char kOnlineHelpPath[] = "/online-help.html";
inline constexpr char kForumPath[] = "/forum.html";
inline constexpr char kFacebookPath[] = "/facebook.html";
inline constexpr char kTwitterPath[] = "/twitter.html";

// What the online notices read.
inline constexpr char kUpdateInfoPath[] = "/update/xobverinfo.htm";
inline constexpr char kNewsInfoPath[] = "/news/xobinfo.htm";
// The news description a news thread reads when it is given no address.
inline constexpr char kNewsFallbackPath[] = "/news/r512info.htm";
inline constexpr char kNewsPagePath[] = "/news/msg.html";
inline constexpr char kAdvertPath[] = "/ad/ad1.php";

// Replaces the built-in base for the rest of the run (UI thread, before anything reads it).
void SetSiteBaseUrl(std::string base_url);
// Base + path.
std::string SitePage(std::string_view path);

// The support mailbox the about window names.
inline constexpr char kSupportMail[] = "support@orvo.example";

}  // namespace orvo
