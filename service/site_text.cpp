// Base address substitution of the site files; see site_text.h.
#include "site_text.h"

namespace orvo::service {

std::string BaseUrlFor(std::string_view host_header, std::string_view fallback) {
  if (host_header.empty() || host_header.size() > 255) return std::string(fallback);
  for (char c : host_header) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
    if (!ok) return std::string(fallback);
  }
  return "http://" + std::string(host_header);
}

std::string ReplaceBaseUrl(std::string text, std::string_view base_url) {
  size_t at = 0;
  while ((at = text.find(kBaseUrlPlaceholder, at)) != std::string::npos) {
    text.replace(at, kBaseUrlPlaceholder.size(), base_url);
    at += base_url.size();
  }
  return text;
}

bool IsSiteTextType(std::string_view content_type) {
  return content_type.starts_with("text/") || content_type.starts_with("application/json");
}

}  // namespace orvo::service
