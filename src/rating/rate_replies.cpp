// Readers of the rating service's replies; see rate_replies.h.
#include "rating/rate_replies.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/failure_log.h"
#include "platform/text.h"
#include "rating/rating_codes.h"

namespace orvo {
namespace {

std::optional<int64_t> WholeInteger(std::string_view text) {
  text = TrimView(text);
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> WholeNumber(std::string_view text) {
  text = TrimView(text);
  double value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// A member read as an integer: an integral JSON number or a numeric string.
std::optional<int64_t> IntegerOf(const Json* value) {
  if (value == nullptr) return std::nullopt;
  if (value->is_number_integer()) return value->get<int64_t>();
  if (value->is_number_unsigned()) {
    const uint64_t u = value->get<uint64_t>();
    if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
    return static_cast<int64_t>(u);
  }
  if (value->is_number_float()) {
    const double d = value->get<double>();
    if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) > 9e15) return std::nullopt;
    return static_cast<int64_t>(d);
  }
  if (value->is_string()) return WholeInteger(value->get_ref<const std::string&>());
  return std::nullopt;
}

std::optional<double> NumberOf(const Json* value) {
  if (value == nullptr) return std::nullopt;
  if (value->is_number()) {
    const double d = value->get<double>();
    if (!std::isfinite(d)) return std::nullopt;
    return d;
  }
  if (value->is_string()) return WholeNumber(value->get_ref<const std::string&>());
  return std::nullopt;
}

int64_t Clamp(int64_t value, int64_t low, int64_t high) { return std::clamp(value, low, high); }

}  // namespace

std::unique_ptr<JsonDocument> ParseRateReply(std::string_view text) {
  try {
    return ParseJsonDocument(text);
  } catch (...) {
    // Out of memory on a hostile reply: as unreadable.
    os::LogCaughtException("reading a rating reply");
    return nullptr;
  }
}

uint32_t ResultCode(int64_t code) {
  if (code < 0 || code > 0xFFFF) return rcUnreadableReply;
  return static_cast<uint32_t>(code);
}

uint32_t ReplyCode(const Json& reply) {
  const auto code = IntegerOf(Member(reply, "msg"));
  return code ? ResultCode(*code) : rcNotVerified;
}

std::string ReadServicePlugId(const Json& reply) {
  const Json* id = Member(reply, "id");
  if (id == nullptr) return {};
  if (id->is_string()) return id->get<std::string>();
  if (const auto number = IntegerOf(id)) return std::to_string(*number);
  return {};
}

TPlugRatings ReadPlugRatings(const Json& reply) {
  TPlugRatings ratings;
  ratings.ServicePlugId = ReadServicePlugId(reply);
  const Json* cache = ObjectMember(reply, "ratings_cache");
  for (int stars = 1; stars <= 5 && cache != nullptr; ++stars) {
    const auto count = IntegerOf(Member(*cache, std::to_string(stars)));
    ratings.StarCounts[stars - 1] = count ? std::max<int64_t>(*count, 0) : 0;
  }
  const double average = NumberOf(Member(reply, "ratings_average")).value_or(0);
  ratings.Average = std::clamp(average, 0.0, 5.0);
  return ratings;
}

std::optional<std::vector<TReviewData>> ReadReviews(const Json& reply) {
  const Json* list = ArrayMember(reply, "comment");
  if (list == nullptr) return std::nullopt;
  std::vector<TReviewData> reviews;
  reviews.reserve(list->size());
  for (const Json& element : *list) {
    if (!element.is_object()) continue;
    TReviewData review;
    review.Id = IntegerOf(Member(element, "id")).value_or(0);
    review.Nickname = StringMember(element, "nickname");
    review.Content = StringMember(element, "content");
    review.Date = StringMember(element, "date");
    review.Score = static_cast<int>(Clamp(IntegerOf(Member(element, "score")).value_or(0), 0, 5));
    reviews.push_back(std::move(review));
  }
  return reviews;
}

int64_t ReadReviewId(const Json& reply) { return IntegerOf(Member(reply, "c_id")).value_or(0); }

TNameValueLines::TNameValueLines(std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t eq = line.rfind('=');
    if (eq == std::string_view::npos) continue;
    std::string name(line.substr(0, eq));
    const size_t index = lines_.size();
    exact_.emplace(name, index);
    folded_.emplace(ToLowerAscii(name), index);
    lines_.emplace_back(std::move(name), std::string(line.substr(eq + 1)));
  }
}

std::optional<std::string_view> TNameValueLines::Value(std::string_view name) const {
  if (const auto it = exact_.find(std::string(name)); it != exact_.end()) {
    return std::string_view(lines_[it->second].second);
  }
  if (const auto it = folded_.find(ToLowerAscii(name)); it != folded_.end()) {
    return std::string_view(lines_[it->second].second);
  }
  return std::nullopt;
}

std::optional<int64_t> TNameValueLines::Integer(std::string_view name) const {
  const auto value = Value(name);
  if (!value) return std::nullopt;
  return WholeInteger(*value);
}

std::optional<double> ParseAverageRating(std::string_view value) {
  const auto number = WholeNumber(value.substr(0, value.find(',')));
  if (!number || *number < 0 || *number > 5) return std::nullopt;
  return number;
}

}  // namespace orvo
