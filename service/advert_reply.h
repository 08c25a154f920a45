#pragma once
// The advert request, GET /ad/ad1.php?name=xob&ver=...&lang=...&adver=...: answered from
// the description file of the site folder (ad/adverts.json). A client that already holds
// the current advert version gets msg 0 (keep the cached description); any other gets
// msg 1 with the whole description; a request without its keys, or a site without a
// readable description, gets msg 2 (no adverts).
#include <string>
#include <string_view>

#include "rating_service.h"

namespace orvo::service {

struct AdvertQuery {
  std::string_view name, ver, lang, adver;
};

Reply AnswerAdvert(const std::string& description_path, const AdvertQuery& query,
                   std::string_view base_url);

}  // namespace orvo::service
