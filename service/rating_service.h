#pragma once
// The actions of POST /plugin/index.php?to=ACTION: each reads its form fields, checks the
// session key, and answers with a JSON object carrying "msg" (or, for get_plugs_rating,
// name=value lines). Every refusal is a result code, never an error page: code 0 for a bad
// key or malformed field, 3 for a review that cannot be stored. HTTP errors are kept for
// what the protocol has no code for (unknown action, database failure).
#include <cstddef>
#include <string>
#include <string_view>

#include "key_registry.h"
#include "plug_directory.h"
#include "rating_store.h"

namespace orvo::service {

struct Reply {
  int status = 200;
  std::string content_type;
  std::string body;
};

struct ReviewLimits {
  size_t nickname_units = 25;
  size_t content_units = 2000;
  size_t ver_units = 64;
  size_t plug_key_bytes = 512;
  size_t name_units = 256;           // longer add-on names are cut
  size_t introduction_units = 1024;  // likewise descriptions
  int page_size = 10;
};

class RatingService {
 public:
  RatingService(RatingStore& store, KeyRegistry& keys, PlugDirectory& plugs, Clock clock,
                ReviewLimits limits = {});

  Reply Handle(std::string_view action, std::string_view body, std::string_view address);

 private:
  struct Request;
  Reply GetPlugsRating(const Request& request);
  Reply GetPlugInfo(const Request& request);
  Reply AddPlug(const Request& request);
  Reply GetComments(const Request& request);
  Reply AddComment(const Request& request);
  Reply AddCommentRatings(const Request& request);

  RatingStore& store_;
  KeyRegistry& keys_;
  PlugDirectory& plugs_;
  Clock clock_;
  ReviewLimits limits_;
};

}  // namespace orvo::service
