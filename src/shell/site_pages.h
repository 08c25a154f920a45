#pragma once
// The maker's web pages the program opens: one base address chosen when the program is
// built (the CMake cache variable ORVO_SITE_URL, beside the rating service's), and the
// page paths under it. The demo build points the base at the local rating service, whose
// site folder holds a page for every path here.
#include <string>
#include <string_view>

namespace orvo {

inline constexpr char kHomePath[] = "/";
inline constexpr char kDownloadPath[] = "/download.html";
inline constexpr char kContactPath[] = "/help.html";
inline constexpr char kOnlineHelpPath[] = "/online-help.html";
inline constexpr char kForumPath[] = "/forum.html";
inline constexpr char kFacebookPath[] = "/facebook.html";
inline constexpr char kTwitterPath[] = "/twitter.html";

// The base address the program was built with (no "/" at the end).
std::string_view SiteBaseUrl();
// Base + path.
std::string SitePage(std::string_view path);

// The support mailbox the about window names.
inline constexpr char kSupportMail[] = "support@orvo.example";

}  // namespace orvo
