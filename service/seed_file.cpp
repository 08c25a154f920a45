// Seed file reading; see seed_file.h.
#include "seed_file.h"

#include <ctime>
#include <fstream>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <sstream>

#include "field_values.h"

namespace orvo::service {
namespace {

using Json = nlohmann::json;

// "YYYY-MM-DD" at noon UTC, so the date reads the same in every time zone.
bool ParseDate(const std::string& text, int64_t* unix_seconds) {
  std::tm parts{};
  std::istringstream in(text);
  in >> std::get_time(&parts, "%Y-%m-%d");
  if (in.fail() || text.size() != 10) return false;
  parts.tm_hour = 12;
  *unix_seconds = static_cast<int64_t>(timegm(&parts));
  return true;
}

bool ReadReview(const Json& item, SeedReview* review, std::string* error) {
  review->nickname = item.value("nickname", "");
  review->content = item.value("content", "");
  review->ver = item.value("ver", "");
  review->score = item.value("score", 0);
  review->likes = item.value("likes", 0);
  review->dislikes = item.value("dislikes", 0);
  if (review->score < 1 || review->score > 5 || review->likes < 0 || review->dislikes < 0) {
    *error = "a review needs a score of 1 to 5 and no negative votes";
    return false;
  }
  if (!ParseDate(item.value("date", ""), &review->created_at)) {
    *error = "a review needs a date YYYY-MM-DD";
    return false;
  }
  return true;
}

}  // namespace

bool ReadSeedFile(const std::string& path, std::vector<SeedPlug>* plugs, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = "cannot read " + path;
    return false;
  }
  try {
    const Json root = Json::parse(file);
    for (const Json& item : root.at("plugs")) {
      SeedPlug plug;
      plug.browser_id = item.at("browser_id").get<int>();
      plug.plug_key = item.at("plug_id").get<std::string>();
      plug.name = item.value("name", "");
      plug.introduction = item.value("introduction", "");
      if (plug.browser_id < 0 || plug.browser_id > 4 || plug.browser_id == 2 ||
          plug.plug_key.empty()) {
        *error = "an add-on needs a browser_id of 0, 1, 3 or 4 and a plug_id";
        return false;
      }
      for (const Json& review_item : item.value("reviews", Json::array())) {
        SeedReview review;
        if (!ReadReview(review_item, &review, error)) return false;
        plug.reviews.push_back(std::move(review));
      }
      plugs->push_back(std::move(plug));
    }
  } catch (const Json::exception& e) {
    *error = path + ": " + e.what();
    return false;
  }
  return true;
}

}  // namespace orvo::service
