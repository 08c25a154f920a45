// The rating service's replies, read by every rating chain: the service is a remote peer,
// so whatever it sends must give a code, a value or nothing. The promises the windows
// build on are checked: codes fit the 16 bits a window message carries, averages and
// stars stay within 0 to 5, texts are UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/text.h"
#include "rating/rate_replies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  if (const auto reply = ParseRateReply(text)) {
    FUZZ_CHECK(ResultCode(ReplyCode(reply->value)) <= 0xFFFF);
    const TPlugRatings ratings = ReadPlugRatings(reply->value);
    FUZZ_CHECK(ratings.Average >= 0 && ratings.Average <= 5);
    FUZZ_CHECK(IsValidUtf8(ratings.ServicePlugId) &&
               ratings.ServicePlugId == ReadServicePlugId(reply->value));
    if (const auto reviews = ReadReviews(reply->value)) {
      for (const TReviewData& review : *reviews) {
        FUZZ_CHECK(review.Score >= 0 && review.Score <= 5);
        FUZZ_CHECK(IsValidUtf8(review.Nickname) && IsValidUtf8(review.Content) &&
                   IsValidUtf8(review.Date));
      }
    }
    ReadReviewId(reply->value);
  }

  // get_plugs_rating's lines: the code, and each name the reply itself holds, as the
  // main window asks for its add-ons' ids.
  const TNameValueLines lines(text);
  lines.Integer("msg");
  size_t start = 0;
  for (int n = 0; n < 64 && start < text.size(); ++n) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    const size_t equals = line.rfind('=');
    if (equals != std::string_view::npos) {
      if (const auto value = lines.Value(line.substr(0, equals))) {
        if (const auto average = ParseAverageRating(*value))
          FUZZ_CHECK(*average >= 0 && *average <= 5);
      }
    }
    start = end + 1;
  }
  return 0;
}
