#pragma once
// The notice files and the advert description name pages of the same site (the download
// page, the newsletter, the advert pictures). They are written with the placeholder
// {{BASE_URL}}, replaced when served by the address the client used to reach the service,
// so one site folder works on any host and port.
#include <string>
#include <string_view>

namespace orvo::service {

inline constexpr std::string_view kBaseUrlPlaceholder = "{{BASE_URL}}";

// "http://" + the Host header when it is a plain host[:port], else the fallback.
std::string BaseUrlFor(std::string_view host_header, std::string_view fallback);
std::string ReplaceBaseUrl(std::string text, std::string_view base_url);
// Whether a served file is text whose placeholder is to be replaced.
bool IsSiteTextType(std::string_view content_type);

}  // namespace orvo::service
