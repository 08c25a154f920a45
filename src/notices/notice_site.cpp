// The site's base address, built in and replaceable.
#include "notices/notice_site.h"

namespace orvo {
namespace {

std::string& Site() {
  static std::string site = ORVO_NOTICE_SITE_URL;
  return site;
}

}  // namespace

const std::string& NoticeSite() { return Site(); }

void SetNoticeSite(std::string base_url) {
  while (!base_url.empty() && base_url.back() == '/') base_url.pop_back();
  Site() = std::move(base_url);
}

std::string NoticeUrl(std::string_view path) { return Site() + std::string(path); }

}  // namespace orvo
