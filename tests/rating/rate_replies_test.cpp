// Reading the service's replies and building what goes into a request: whatever a reply
// holds gives a code, a value or nothing; the average-rating message carries the rating
// as the windows expect it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "catalogue/extension_info.h"
#include "net/rate_http_client.h"
#include "rating/rate_replies.h"
#include "rating/rate_requests.h"
#include "rating/rate_session.h"
#include "rating/rating_codes.h"

namespace orvo {
namespace {

TEST(RateReplies, OnlyJsonObjectsAreReplies) {
  for (const char* text :
       {"", "not json", "[1]", "\"text\"", "13", "{\"msg\":1", "<html></html>"}) {
    EXPECT_EQ(ParseRateReply(text), nullptr) << text;
  }
  EXPECT_EQ(ParseRateReply(std::string(100000, '[')), nullptr);
  EXPECT_NE(ParseRateReply("\xEF\xBB\xBF{\"msg\":5}"), nullptr);
}

TEST(RateReplies, ResultCodeOfAReply) {
  // clang-format off
  const struct {
    const char* reply;
    uint32_t code;
  } cases[] = {
      {R"({"msg":13})", 13},        {R"({"msg":"4"})", 4},        {R"({"msg":" 6 "})", 6},
      {R"({"msg":4.0})", 4},        {R"({})", 0},                 {R"({"msg":"x"})", 0},
      {R"({"msg":null})", 0},       {R"({"msg":true})", 0},       {R"({"msg":4.5})", 0},
      {R"({"msg":[9]})", 0},        {R"({"msg":""})", 0},         {R"({"msg":65534})", 65534},
      // Beyond the message's 16 bits a number would pass for code 9 with a rating.
      {R"({"msg":65545})", 65535},  {R"({"msg":-1})", 65535},
      {R"({"msg":99999999999999999999})", 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    const auto reply = ParseRateReply(c.reply);
    ASSERT_NE(reply, nullptr) << c.reply;
    EXPECT_EQ(ReplyCode(reply->value), c.code) << c.reply;
  }
}

TEST(RateReplies, RatingsOfAPlug) {
  auto reply = ParseRateReply(
      R"({"msg":1,"id":"17","ratings_cache":{"1":0,"2":3,"3":1,"4":5,"5":9},"ratings_average":4.11})");
  TPlugRatings ratings = ReadPlugRatings(reply->value);
  EXPECT_EQ(ratings.ServicePlugId, "17");
  EXPECT_EQ(ratings.StarCounts, (std::array<int64_t, 5>{0, 3, 1, 5, 9}));
  EXPECT_DOUBLE_EQ(ratings.Average, 4.11);

  // Numbers where text is expected and the reverse; gaps; values out of range.
  reply = ParseRateReply(
      R"({"msg":1,"id":17,"ratings_cache":{"1":"2","3":-4,"4":"x","5":1.0},"ratings_average":"7.5"})");
  ratings = ReadPlugRatings(reply->value);
  EXPECT_EQ(ratings.ServicePlugId, "17");
  EXPECT_EQ(ratings.StarCounts, (std::array<int64_t, 5>{2, 0, 0, 0, 1}));
  EXPECT_DOUBLE_EQ(ratings.Average, 5.0);

  reply = ParseRateReply(R"({"msg":1,"ratings_cache":{}})");
  ratings = ReadPlugRatings(reply->value);
  EXPECT_EQ(ratings.ServicePlugId, "");
  EXPECT_DOUBLE_EQ(ratings.Average, 0);

  // Without a ratings_cache object the counts are 0, and the add-on's id is still there.
  for (const char* text :
       {R"({"msg":1,"id":"17"})", R"({"msg":1,"id":"17","ratings_cache":[1,2]})"}) {
    ratings = ReadPlugRatings(ParseRateReply(text)->value);
    EXPECT_EQ(ratings.ServicePlugId, "17") << text;
    EXPECT_EQ(ratings.StarCounts, (std::array<int64_t, 5>{})) << text;
  }
}

TEST(RateReplies, ReviewsOfAPage) {
  auto reply = ParseRateReply(
      R"({"msg":6,"comment":[{"content":"Good","score":4,"date":"2024-03-01","nickname":"Ann","id":12},)"
      R"(7,{"id":"13","score":99},{"content":["x"],"score":-2}]})");
  const auto reviews = ReadReviews(reply->value);
  ASSERT_TRUE(reviews);
  ASSERT_EQ(reviews->size(), 3u);
  const TReviewData& first = (*reviews)[0];
  EXPECT_EQ(first.Id, 12);
  EXPECT_EQ(first.Content, "Good");
  EXPECT_EQ(first.Score, 4);
  EXPECT_EQ(first.Date, "2024-03-01");
  EXPECT_EQ(first.Nickname, "Ann");
  EXPECT_EQ((*reviews)[1].Id, 13);
  EXPECT_EQ((*reviews)[1].Score, 5);
  EXPECT_EQ((*reviews)[1].Nickname, "");
  EXPECT_EQ((*reviews)[2].Content, "");
  EXPECT_EQ((*reviews)[2].Score, 0);

  EXPECT_FALSE(ReadReviews(ParseRateReply(R"({"msg":5})")->value));
  EXPECT_FALSE(ReadReviews(ParseRateReply(R"({"msg":5,"comment":{}})")->value));
  EXPECT_EQ(ReadReviewId(ParseRateReply(R"({"msg":4,"c_id":12})")->value), 12);
  EXPECT_EQ(ReadReviewId(ParseRateReply(R"({"msg":4})")->value), 0);
}

TEST(RateReplies, NameValueLinesSplitAtTheLastEquals) {
  const TNameValueLines lines(
      "msg=9\r\n"
      "@orvo-demo.example/DemoPlayer,version=2.1=4.56,12\n"
      "no equals sign\n"
      "Mixed=1.00,1\n"
      "mixed=2.00,1\n"
      "twice=3.00,1\n"
      "twice=4.00,1\n"
      "=empty name\n"
      "last=0.5");
  EXPECT_EQ(lines.Integer("msg"), 9);
  EXPECT_EQ(lines.Integer("MSG"), 9);
  EXPECT_EQ(lines.Value("@orvo-demo.example/DemoPlayer,version=2.1"), "4.56,12");
  EXPECT_EQ(lines.Value("@orvo-demo.example/DemoPlayer,version"), std::nullopt);
  EXPECT_EQ(lines.Value("Mixed"), "1.00,1");  // an exact match first
  EXPECT_EQ(lines.Value("mixed"), "2.00,1");
  EXPECT_EQ(lines.Value("MIXED"), "1.00,1");  // else the first without regard to case
  EXPECT_EQ(lines.Value("twice"), "3.00,1");
  EXPECT_EQ(lines.Value(""), "empty name");
  EXPECT_EQ(lines.Value("last"), "0.5");
  EXPECT_EQ(lines.Value("no equals sign"), std::nullopt);
  EXPECT_EQ(lines.Integer("last"), std::nullopt);

  EXPECT_EQ(TNameValueLines("msg= 0 \n").Integer("msg"), 0);
  for (const char* text : {"", "garbage", "msg=abc\n", "msg=\n", "msg=9x\n", "msg=1.5\n"}) {
    EXPECT_EQ(TNameValueLines(text).Integer("msg"), std::nullopt) << text;
  }
}

TEST(RateReplies, AverageRatingsAreReadWithADecimalPoint) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"4.56,12", 4.56},
      {"3.5", 3.5},
      {" 4.1 ", 4.1},
      {"0.00,0", 0.0},
      {"5", 5.0},
      {"4,56", 4.0},
      {"1e0", 1.0},
      {"abc", std::nullopt},
      {"", std::nullopt},
      {",12", std::nullopt},
      {"nan", std::nullopt},
      {"inf", std::nullopt},
      {"-1", std::nullopt},
      {"5.01", std::nullopt},
      {"4.5.6", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseAverageRating(c.text), c.value) << c.text;
}

TEST(RatingResult, AverageRatingsArePackedInTenths) {
  TBrowserExtensionInfo record;
  const struct {
    double average;
    uintptr_t wparam;
  } cases[] = {
      {4.56, (45u << 16) + 9}, {4.05, (40u << 16) + 9}, {3.5, (35u << 16) + 9}, {0.0, 9},
      {5.0, (50u << 16) + 9},  {2.3, (23u << 16) + 9},
  };
  for (const auto& c : cases) {
    const TRatingResult result = MakeAverageRatingResult(c.average, &record);
    EXPECT_EQ(result.WParam, c.wparam) << c.average;
    EXPECT_EQ(result.Code(), rcAverageRatings);
    EXPECT_EQ(result.Record(), &record);
    EXPECT_EQ(result.LParam, reinterpret_cast<intptr_t>(&record));
  }
  EXPECT_DOUBLE_EQ(MakeAverageRatingResult(4.56, &record).Rating(), 4.5);

  const TRatingResult plain = MakeRatingResult(rcCommentStored, 12);
  EXPECT_EQ(plain.WParam, 4u);
  EXPECT_EQ(plain.LParam, 12);
  EXPECT_EQ(plain.Record(), nullptr);
  EXPECT_EQ(WM_RATINGRESULT, 4836u);
}

TEST(RateRequests, PlugIdsJsonEscapesWhatWouldBreakTheArray) {
  EXPECT_EQ(PlugIdsJson({"a", "b"}), R"(["a","b"])");
  EXPECT_EQ(PlugIdsJson({}), "[]");
  EXPECT_EQ(PlugIdsJson({"@orvo-demo.example/DemoPlayer,version=2.1"}),
            R"(["@orvo-demo.example/DemoPlayer,version=2.1"])");
  const std::vector<std::string> awkward = {"a\"b", "c\\d", "e\nf\x01", "caf\xC3\xA9", ""};
  const std::string text = PlugIdsJson(awkward);
  EXPECT_EQ(text, "[\"a\\\"b\",\"c\\\\d\",\"e\\u000af\\u0001\",\"caf\xC3\xA9\",\"\"]");
  EXPECT_EQ(nlohmann::json::parse(text).get<std::vector<std::string>>(), awkward);
  // As it goes on the wire: the brackets escaped, the quotes and commas not.
  EXPECT_EQ(EncodeFormBody({"plug_ids_json=" + PlugIdsJson({"a", "b"})}),
            R"(plug_ids_json=%5B"a","b"%5D)");
}

TEST(RateRequests, ActionUrls) {
  EXPECT_EQ(RatingActionUrl("http://127.0.0.1:8086", "get_comments"),
            "http://127.0.0.1:8086/plugin/index.php?to=get_comments");
  EXPECT_EQ(RatingActionUrl("http://example.test/", "add_plug"),
            "http://example.test/plugin/index.php?to=add_plug");
  EXPECT_EQ(CurrentRateSession()->BaseUrl(), BuiltInRatingServiceUrl());
  EXPECT_TRUE(BuiltInRatingServiceUrl().starts_with("http"));
}

}  // namespace
}  // namespace orvo
