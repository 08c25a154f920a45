// The rating actions; see rating_service.h. Field lists name, per action, the fields the
// program sends and whether each is found at its first or last marker (form_body.h).
#include "rating_service.h"

#include <ctime>
#include <nlohmann/json.hpp>

#include "field_values.h"
#include "form_body.h"
#include "plug_id_list.h"

namespace orvo::service {
namespace {

using Json = nlohmann::ordered_json;
using enum Marker;

constexpr FieldSpec kPlugsRatingFields[] = {
    {"browser_id", kFirst}, {"plug_ids_json", kFirst}, {"key", kLast}};
constexpr FieldSpec kPlugInfoFields[] = {
    {"browser_id", kFirst}, {"sort_type", kFirst}, {"plug_id", kFirst}, {"key", kLast}};
constexpr FieldSpec kAddPlugFields[] = {{"browser_id", kFirst},
                                        {"name", kFirst},
                                        {"introduction", kFirst},
                                        {"plug_id", kLast},
                                        {"key", kLast}};
constexpr FieldSpec kCommentsFields[] = {
    {"plug_id", kFirst}, {"sort_type", kFirst}, {"start_id", kFirst}, {"key", kLast}};
constexpr FieldSpec kAddCommentFields[] = {{"plug_id", kFirst}, {"nickname", kFirst},
                                           {"content", kFirst}, {"ver", kLast},
                                           {"score", kLast},    {"key", kLast}};
constexpr FieldSpec kCommentRatingsFields[] = {
    {"comment_id", kFirst}, {"score", kFirst}, {"key", kLast}};

constexpr int64_t kMaxId = 999'999'999'999;
constexpr int64_t kMaxStart = 1'000'000'000;

Reply JsonReply(const Json& value) {
  // ASCII with \u escapes: readable whatever code page a client decodes with.
  return {200, "application/json; charset=utf-8",
          value.dump(-1, ' ', true, Json::error_handler_t::replace)};
}

Reply Code(int code) { return JsonReply(Json{{"msg", code}}); }

Reply Failure() { return {500, "text/plain; charset=utf-8", ""}; }

std::optional<std::string_view> Field(const FormFields& fields, std::string_view name) {
  const auto it = fields.find(name);
  if (it == fields.end()) return std::nullopt;
  return std::string_view(it->second);
}

// Rating browser ids: 1 Chrome, 0 Internet Explorer, 3 Firefox, 4 Opera.
std::optional<int> BrowserId(const FormFields& fields) {
  const auto text = Field(fields, "browser_id");
  if (!text) return std::nullopt;
  const auto id = ParseWholeNumber(*text, 0, 4);
  if (!id || *id == 2) return std::nullopt;
  return static_cast<int>(*id);
}

// A numeric field; a missing one takes the fallback when there is one.
std::optional<int64_t> Number(const FormFields& fields, std::string_view name, int64_t min,
                              int64_t max, std::optional<int64_t> fallback = std::nullopt) {
  const auto text = Field(fields, name);
  if (!text) return fallback;
  return ParseWholeNumber(*text, min, max);
}

Json RatingsObject(int code, const PlugSummary& plug) {
  Json counts = Json::object();
  for (int s = 0; s < 5; ++s) counts[std::to_string(s + 1)] = plug.stars[s];
  return Json{{"msg", code},
              {"id", std::to_string(plug.id)},
              {"ratings_cache", std::move(counts)},
              {"ratings_average", RoundedAverage(plug.stars)}};
}

std::string DateText(int64_t unix_seconds) {
  const auto t = static_cast<std::time_t>(unix_seconds);
  std::tm parts{};
  gmtime_r(&t, &parts);
  char text[16];
  // A date beyond year 99999 does not fit and strftime leaves the buffer undefined.
  if (std::strftime(text, sizeof text, "%Y-%m-%d", &parts) == 0) return {};
  return text;
}

}  // namespace

struct RatingService::Request {
  FormFields fields;
  int64_t user_id = 0;
};

RatingService::RatingService(RatingStore& store, KeyRegistry& keys, PlugDirectory& plugs,
                             Clock clock, ReviewLimits limits)
    : store_(store), keys_(keys), plugs_(plugs), clock_(std::move(clock)), limits_(limits) {}

Reply RatingService::Handle(std::string_view action, std::string_view body,
                            std::string_view address) {
  if (action == "get_captcha") {
    bool failed = false;
    const auto key = keys_.Grant(address, &failed);
    if (failed) return Failure();
    if (!key) return Code(0);
    return JsonReply(Json{{"msg", 13}, {"key", *key}});
  }
  struct Entry {
    std::string_view name;
    std::span<const FieldSpec> fields;
    Reply (RatingService::*run)(const Request&);
  };
  static const Entry kActions[] = {
      {"get_plugs_rating", kPlugsRatingFields, &RatingService::GetPlugsRating},
      {"get_plug_info", kPlugInfoFields, &RatingService::GetPlugInfo},
      {"add_plug", kAddPlugFields, &RatingService::AddPlug},
      {"get_comments", kCommentsFields, &RatingService::GetComments},
      {"add_comment", kAddCommentFields, &RatingService::AddComment},
      {"add_comment_ratings", kCommentRatingsFields, &RatingService::AddCommentRatings},
  };
  for (const Entry& entry : kActions) {
    if (entry.name != action) continue;
    Request request{ReadFormBody(body, entry.fields)};
    const auto user = keys_.UserOf(Field(request.fields, "key").value_or(""));
    if (!user) {
      if (action == "get_plugs_rating") return {200, "text/plain; charset=utf-8", "msg=0\n"};
      return Code(0);
    }
    request.user_id = *user;
    return (this->*entry.run)(request);
  }
  return {404, "application/json; charset=utf-8", Json{{"msg", 0}}.dump()};
}

Reply RatingService::GetPlugsRating(const Request& request) {
  Reply reply{200, "text/plain; charset=utf-8", ""};
  const auto browser = BrowserId(request.fields);
  const auto ids = ReadPlugIdList(Field(request.fields, "plug_ids_json").value_or(""));
  if (!browser || !ids) {
    reply.body = "msg=0\n";
    return reply;
  }
  reply.body.reserve(16 + ids->size() * 48);
  reply.body = "msg=9\n";
  plugs_.VisitKnown(*browser, *ids, [&](const std::string& id, const PlugSummary& plug) {
    // An id with a line break would split its own line; no real add-on has one.
    if (id.find_first_of("\r\n") != std::string::npos) return;
    reply.body += id;
    reply.body += plug.rating_line;
  });
  return reply;
}

Reply RatingService::GetPlugInfo(const Request& request) {
  const auto browser = BrowserId(request.fields);
  const auto plug_key = Field(request.fields, "plug_id");
  if (!browser || !plug_key || plug_key->empty() || plug_key->size() > limits_.plug_key_bytes) {
    return Code(0);
  }
  const auto plug = plugs_.Find(*browser, *plug_key);
  if (!plug) return Code(2);
  return JsonReply(RatingsObject(1, *plug));
}

Reply RatingService::AddPlug(const Request& request) {
  const auto browser = BrowserId(request.fields);
  const auto plug_key = Field(request.fields, "plug_id");
  const std::string_view name = Field(request.fields, "name").value_or("");
  const std::string_view introduction = Field(request.fields, "introduction").value_or("");
  if (!browser || !plug_key || plug_key->empty() || plug_key->size() > limits_.plug_key_bytes ||
      !IsStorableText(*plug_key) || !IsStorableText(name) || !IsStorableText(introduction)) {
    return Code(0);
  }
  const auto row = store_.AddPlug(
      *browser, std::string(*plug_key), std::string(TruncateUtf16Units(name, limits_.name_units)),
      std::string(TruncateUtf16Units(introduction, limits_.introduction_units)), clock_());
  if (!row) return Failure();
  plugs_.Put(*row);
  const auto plug = plugs_.Find(*browser, *plug_key);
  return JsonReply(RatingsObject(1, plug.value_or(PlugSummary{row->id, row->stars, {}})));
}

Reply RatingService::GetComments(const Request& request) {
  const auto plug_id = Number(request.fields, "plug_id", 1, kMaxId);
  const auto sort = Number(request.fields, "sort_type", 0, 1, 0);
  const auto start = Number(request.fields, "start_id", 0, kMaxStart, 0);
  if (!plug_id || !sort || !start) return Code(0);
  const auto rows =
      store_.ReviewPage(*plug_id, static_cast<SortOrder>(*sort), *start, limits_.page_size + 1);
  if (!rows) return Failure();
  const bool more = static_cast<int>(rows->size()) > limits_.page_size;
  Json list = Json::array();
  for (size_t i = 0; i < rows->size() && static_cast<int>(i) < limits_.page_size; ++i) {
    const ReviewRow& row = (*rows)[i];
    list.push_back(Json{{"content", row.content},
                        {"score", row.score},
                        {"date", DateText(row.created_at)},
                        {"nickname", row.nickname},
                        {"id", row.id}});
  }
  return JsonReply(Json{{"msg", more ? 6 : 5}, {"comment", std::move(list)}});
}

Reply RatingService::AddComment(const Request& request) {
  const auto plug_id = Number(request.fields, "plug_id", 1, kMaxId);
  const auto score = Number(request.fields, "score", 1, 5);
  const std::string_view nickname = Field(request.fields, "nickname").value_or("");
  const std::string_view content = Field(request.fields, "content").value_or("");
  const std::string_view ver = Field(request.fields, "ver").value_or("");
  if (!plug_id || !score || !IsStorableText(nickname) || !IsStorableText(content) ||
      !IsStorableText(ver) || Utf16Units(nickname) > limits_.nickname_units ||
      Utf16Units(content) > limits_.content_units || Utf16Units(ver) > limits_.ver_units) {
    return Code(3);
  }
  if (!keys_.TakeReviewSlot(request.user_id)) return Code(3);
  NewReview review{*plug_id,
                   request.user_id,
                   std::string(nickname),
                   std::string(content),
                   std::string(ver),
                   static_cast<int>(*score),
                   clock_()};
  int64_t review_id = 0;
  const ReviewOutcome outcome = store_.AddReview(review, &review_id);
  if (outcome != ReviewOutcome::kStored) keys_.ReturnReviewSlot(request.user_id);
  switch (outcome) {
    case ReviewOutcome::kStored:
      plugs_.AddStar(review.plug_id, review.score);
      return JsonReply(Json{{"msg", 4}, {"c_id", review_id}});
    case ReviewOutcome::kAlreadyReviewed: return Code(11);
    case ReviewOutcome::kNoSuchPlug:
    case ReviewOutcome::kFailed: break;
  }
  return Code(3);
}

Reply RatingService::AddCommentRatings(const Request& request) {
  const auto review_id = Number(request.fields, "comment_id", 1, kMaxId);
  const auto score = Number(request.fields, "score", 0, 2);
  if (!review_id || !score) return Code(0);
  const MarkKind kind = *score == 1   ? MarkKind::kLike
                        : *score == 0 ? MarkKind::kDislike
                                      : MarkKind::kReport;
  switch (store_.MarkReview(*review_id, request.user_id, kind, clock_())) {
    case MarkOutcome::kStored: return Code(kind == MarkKind::kReport ? 7 : 8);
    case MarkOutcome::kAlreadyMarked: return Code(kind == MarkKind::kReport ? 12 : 10);
    case MarkOutcome::kNoSuchReview: return Code(0);
    case MarkOutcome::kFailed: break;
  }
  return Failure();
}

}  // namespace orvo::service
