#pragma once
// Where the maker's web site is: the update and news descriptions, the default pages and
// the advert service all live under one base address (scheme and host), fixed when the
// program is built (the CMake cache variable ORVO_NOTICE_SITE_URL; the local rating
// service serves a demo site there). Tests point it at a server of their own.
#include <string>
#include <string_view>

namespace orvo {

inline constexpr char kUpdateInfoPath[] = "/update/xobverinfo.htm";
inline constexpr char kNewsInfoPath[] = "/news/xobinfo.htm";
// The news description a news thread reads when it is given no address.
inline constexpr char kNewsFallbackPath[] = "/news/r512info.htm";
inline constexpr char kNewsPagePath[] = "/news/msg.html";
inline constexpr char kDownloadPagePath[] = "/download.html";
inline constexpr char kAdvertPath[] = "/ad/ad1.php";

// The base address without a trailing "/", e.g. "http://127.0.0.1:8086".
const std::string& NoticeSite();
void SetNoticeSite(std::string base_url);
// NoticeSite() + path.
std::string NoticeUrl(std::string_view path);

}  // namespace orvo
