// Request addresses and field texts for the rating service; see rate_requests.h.
#include "rating/rate_requests.h"

#ifndef ORVO_RATING_SERVICE_URL
#error "ORVO_RATING_SERVICE_URL comes from the build (CMake cache variable of the same name)"
#endif

namespace orvo {

std::string_view BuiltInRatingServiceUrl() { return ORVO_RATING_SERVICE_URL; }

std::string RatingActionUrl(std::string_view base_url, std::string_view action) {
  if (!base_url.empty() && base_url.back() == '/') base_url.remove_suffix(1);
  std::string url(base_url);
  url += "/plugin/index.php?to=";
  url += action;
  return url;
}

std::string PlugIdsJson(const std::vector<std::string>& ids) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "[";
  for (const std::string& id : ids) {
    if (out.size() > 1) out += ',';
    out += '"';
    for (const char ch : id) {
      const auto c = static_cast<unsigned char>(ch);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += ch;
      } else if (c < 0x20) {
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
      } else {
        out += ch;
      }
    }
    out += '"';
  }
  out += ']';
  return out;
}

std::string FormField(std::string_view name, std::string_view value) {
  std::string field(name);
  field += '=';
  field += value;
  return field;
}

std::string FormField(std::string_view name, long long value) {
  return FormField(name, std::to_string(value));
}

}  // namespace orvo
