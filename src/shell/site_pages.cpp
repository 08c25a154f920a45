// The maker's site address from the build's setting, replaceable for a run.
#include "shell/site_pages.h"

#ifndef ORVO_SITE_URL
#error "ORVO_SITE_URL comes from the build (CMake cache variable of the same name)"
#endif

namespace orvo {
namespace {

std::string WithoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

std::string& Base() {
  static std::string base = WithoutTrailingSlash(ORVO_SITE_URL);
  return base;
}

}  // namespace

void SetSiteBaseUrl(std::string base_url) { Base() = WithoutTrailingSlash(std::move(base_url)); }

std::string SitePage(std::string_view path) { return Base() + std::string(path); }

}  // namespace orvo
