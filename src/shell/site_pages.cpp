// The maker's page addresses from the build's setting.
#include "shell/site_pages.h"

#ifndef ORVO_SITE_URL
#error "ORVO_SITE_URL comes from the build (CMake cache variable of the same name)"
#endif

namespace orvo {

std::string_view SiteBaseUrl() {
  std::string_view base = ORVO_SITE_URL;
  while (!base.empty() && base.back() == '/') base.remove_suffix(1);
  return base;
}

std::string SitePage(std::string_view path) {
  std::string url(SiteBaseUrl());
  url += path;
  return url;
}

}  // namespace orvo
