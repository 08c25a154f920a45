// The advert description reply; see advert_reply.h.
#include "advert_reply.h"

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "site_text.h"

namespace orvo::service {
namespace {

using Json = nlohmann::ordered_json;

Reply JsonText(const Json& value) {
  return {200, "application/json; charset=utf-8",
          value.dump(-1, ' ', true, Json::error_handler_t::replace)};
}

void ReplaceInStrings(Json& value, std::string_view base_url) {
  if (value.is_string()) {
    value = ReplaceBaseUrl(value.get<std::string>(), base_url);
  } else if (value.is_structured()) {
    for (Json& member : value) ReplaceInStrings(member, base_url);
  }
}

// A member read as text whether the file wrote it as a string or a number.
std::string TextMember(const Json& object, const char* name, const char* fallback) {
  const auto it = object.find(name);
  if (it == object.end()) return fallback;
  return it->is_string() ? it->get<std::string>() : it->dump();
}

}  // namespace

Reply AnswerAdvert(const std::string& description_path, const AdvertQuery& query,
                   std::string_view base_url) {
  if (query.name != "xob" || query.ver.empty() || query.lang.empty() || query.adver.empty()) {
    return JsonText(Json{{"msg", 2}});
  }
  std::ifstream file(description_path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  Json description = Json::parse(text.str(), nullptr, false);
  if (!file || description.is_discarded() || !description.is_object()) {
    std::fprintf(stderr, "advert: no readable description at %s\n", description_path.c_str());
    return JsonText(Json{{"msg", 2}});
  }
  try {
    const std::string adver = TextMember(description, "adver", "1");
    if (query.adver == adver) return JsonText(Json{{"msg", 0}});
    ReplaceInStrings(description, base_url);
    Json reply{{"msg", 1},
               {"adcheckurl", std::string(base_url) + "/ad/ad1.php"},
               {"adid", TextMember(description, "adid", "")},
               {"adlang", std::string(query.lang)},
               {"adver", adver},
               {"adrefresh", description.value("adrefresh", 86400)},
               {"adgroup", description.value("adgroup", Json::array())}};
    return JsonText(reply);
  } catch (const Json::exception& e) {
    std::fprintf(stderr, "advert: %s: %s\n", description_path.c_str(), e.what());
    return JsonText(Json{{"msg", 2}});
  }
}

}  // namespace orvo::service
