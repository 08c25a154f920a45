#pragma once
// Reading the rating service's replies. Every action but one answers with a JSON object
// whose "msg" is the result code; get_plugs_rating answers with name=value lines. The
// service is a remote peer: whatever it sends, these readers give a code, a value or
// nothing, and never raise.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/json_document.h"

namespace orvo {

// The reply as a JSON object; null when it is not JSON or not an object (an empty reply
// of a failed request included).
std::unique_ptr<JsonDocument> ParseRateReply(std::string_view text);

// "msg" of a reply object: a JSON number or a numeric string. A reply without one, or
// with anything else, is code 0. See ResultCode for numbers out of range.
uint32_t ReplyCode(const Json& reply);
// A code the service sent, as a window may receive it: a number that does not fit the 16
// bits WM_RATINGRESULT gives the code (or is negative) is an unreadable reply (65535), so
// that no stray number can pass for an average rating (code 9 in the low bits).
uint32_t ResultCode(int64_t code);

// What a reply with code 1 says about one add-on.
struct TPlugRatings {
  std::string ServicePlugId;            // "id", read as text
  std::array<int64_t, 5> StarCounts{};  // ratings_cache "1" to "5"
  double Average = 0;                   // ratings_average, kept within 0 to 5
};
// Counts and average missing from the reply (no ratings_cache object at all included) read
// as 0: a code-1 reply always names the add-on, and the window keeps that id for paging.
TPlugRatings ReadPlugRatings(const Json& reply);
// "id" of a reply, as text (also when the service sent a number); empty when missing.
std::string ReadServicePlugId(const Json& reply);

// One element of a get_comments reply's "comment" array.
struct TReviewData {
  int64_t Id = 0;
  std::string Nickname;
  std::string Content;
  std::string Date;  // shown as the service sent it
  int Score = 0;     // stars, kept within 0 to 5
};
// The reviews of "comment"; null when the reply has no such array. Elements that are not
// objects are left out; missing members read as empty text or 0.
std::optional<std::vector<TReviewData>> ReadReviews(const Json& reply);

// "c_id" of an add_comment reply; 0 when missing.
int64_t ReadReviewId(const Json& reply);

// The name=value lines of a get_plugs_rating reply ("\n" or "\r\n" ended). A name is the
// text before the line's LAST "=": add-on ids may hold "=" themselves, the values never
// do. Lines without "=" are ignored.
class TNameValueLines {
 public:
  explicit TNameValueLines(std::string_view text);
  // The value of the first line of that name: an exact match first, else one that
  // differs only in the case of ASCII letters. Null when no line has that name.
  std::optional<std::string_view> Value(std::string_view name) const;
  // The value read as a whole decimal integer (blanks around it allowed).
  std::optional<int64_t> Integer(std::string_view name) const;

 private:
  std::vector<std::pair<std::string, std::string>> lines_;
  std::unordered_map<std::string, size_t> exact_;
  std::unordered_map<std::string, size_t> folded_;
};

// An average rating as get_plugs_rating sends it: the text before the first ",", a
// decimal number with "." whatever the user's locale, within 0 to 5. Null otherwise.
std::optional<double> ParseAverageRating(std::string_view value);

}  // namespace orvo
