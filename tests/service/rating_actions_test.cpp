// The rating actions against the real service process: keys, add-on registration,
// reviews, pages and sorting, and the average-ratings lines.
#include <thread>

#include "service/service_fixture.h"

namespace orvo::service::test {
namespace {

using nlohmann::json;

class RatingActions : public ServiceTest {
 protected:
  void SetUp() override {
    Start({.extra_args = {"--reviews-per-minute", "0", "--keys-per-minute", "0"}});
  }
};

TEST_F(RatingActions, GetCaptchaGrantsAKey) {
  const json reply = Post("get_captcha", "");
  EXPECT_EQ(MsgOf(reply), 13);
  const std::string key = reply.value("key", "");
  EXPECT_EQ(key.size(), 32u);
  EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(NewKey(), key);
}

TEST_F(RatingActions, EveryActionWantsAGrantedKey) {
  const std::string key = NewKey();
  const int64_t plug = AddPlug(key, "abc");
  const int64_t review = AddReview(key, plug, 4);
  ASSERT_GT(review, 0);
  const std::pair<const char*, std::string> requests[] = {
      {"get_plug_info", "browser_id=1&sort_type=0&plug_id=abc"},
      {"add_plug", "browser_id=1&name=n&introduction=i&plug_id=new"},
      {"get_comments", "plug_id=" + std::to_string(plug) + "&sort_type=0&start_id=0"},
      {"add_comment", "plug_id=" + std::to_string(plug) + "&nickname=&content=&ver=&score=5"},
      {"add_comment_ratings", "comment_id=" + std::to_string(review) + "&score=1"},
  };
  for (const auto& [action, fields] : requests) {
    const std::string bad_keys[] = {"", "&key=", "&key=0123456789abcdef0123456789abcdef",
                                    "&key=" + key + "x"};
    for (const std::string& bad_key : bad_keys) {
      SCOPED_TRACE(std::string(action) + " " + bad_key);
      EXPECT_EQ(Code(action, fields + bad_key), 0);
    }
  }
  EXPECT_EQ(PostText("get_plugs_rating", "browser_id=1&plug_ids_json=%5B%22abc%22%5D&key=nope"),
            "msg=0\n");
  // Nothing of the refused requests was stored.
  EXPECT_EQ(CountRows("SELECT count(*) FROM plugs"), 1);
  EXPECT_EQ(CountRows("SELECT count(*) FROM reviews"), 1);
  EXPECT_EQ(CountRows("SELECT count(*) FROM marks"), 0);
}

TEST_F(RatingActions, UnknownAddonIsRegisteredThenKnown) {
  const std::string key = NewKey();
  EXPECT_EQ(Code("get_plug_info", "browser_id=1&sort_type=0&plug_id=tabtidy&key=" + key), 2);
  const json added = Post("add_plug",
                          "browser_id=1&name=Tab%20Tidy&introduction=Tabs&"
                          "plug_id=tabtidy&key=" +
                              key);
  EXPECT_EQ(MsgOf(added), 1);
  ASSERT_TRUE(added["id"].is_string());
  EXPECT_EQ(added["ratings_cache"], json::parse(R"({"1":0,"2":0,"3":0,"4":0,"5":0})"));
  EXPECT_EQ(added["ratings_average"], 0.0);

  const json info = Post("get_plug_info", "browser_id=1&plug_id=tabtidy&key=" + key);
  EXPECT_EQ(MsgOf(info), 1);
  EXPECT_EQ(info["id"], added["id"]);
  // Registering again keeps the add-on; the same id under another browser is another one.
  EXPECT_EQ(Post("add_plug", "browser_id=1&name=x&introduction=y&plug_id=tabtidy&key=" + key)["id"],
            added["id"]);
  EXPECT_EQ(Code("get_plug_info", "browser_id=3&plug_id=tabtidy&key=" + key), 2);
  EXPECT_NE(AddPlug(key, "tabtidy", 3), std::stoll(added["id"].get<std::string>()));
}

TEST_F(RatingActions, OneReviewPerUserAndAddon) {
  const std::string ann = NewKey(), bob = NewKey();
  const int64_t plug = AddPlug(ann, "abc");
  const std::string review =
      "plug_id=" + std::to_string(plug) + "&nickname=Ann&content=Good%20tool&ver=1.2&score=4&key=";
  const json stored = Post("add_comment", review + ann);
  EXPECT_EQ(MsgOf(stored), 4);
  EXPECT_TRUE(stored["c_id"].is_number_integer());
  EXPECT_EQ(Code("add_comment", review + ann), 11);
  EXPECT_EQ(AddReview(bob, plug, 5) > 0, true);
  EXPECT_EQ(Code("add_comment", "plug_id=999&nickname=&content=&ver=&score=4&key=" + bob), 3);

  const json info = Post("get_plug_info", "browser_id=1&plug_id=abc&key=" + bob);
  EXPECT_EQ(info["ratings_cache"], json::parse(R"({"1":0,"2":0,"3":0,"4":1,"5":1})"));
  EXPECT_DOUBLE_EQ(info["ratings_average"].get<double>(), 4.5);
}

TEST_F(RatingActions, ReviewTextArrivesAsTyped) {
  const std::string key = NewKey();
  const int64_t plug = AddPlug(key, "abc");
  // As the program encodes it: blanks and non-ASCII escaped, "&", "=", "+" not.
  const json stored = Post("add_comment", "plug_id=" + std::to_string(plug) +
                                              "&nickname=J%C3%B6rg&content=1+1=2%20&%20more"
                                              "&ver=2.0&score=3&key=" +
                                              key);
  ASSERT_EQ(MsgOf(stored), 4);
  const json page = Post("get_comments",
                         "plug_id=" + std::to_string(plug) + "&sort_type=1&start_id=0&key=" + key);
  ASSERT_EQ(MsgOf(page), 5);
  ASSERT_EQ(page["comment"].size(), 1u);
  const json& row = page["comment"][0];
  EXPECT_EQ(row["content"], "1+1=2 & more");
  EXPECT_EQ(row["nickname"], "J\xC3\xB6rg");
  EXPECT_EQ(row["score"], 3);
  EXPECT_EQ(row["id"], stored["c_id"]);
  EXPECT_EQ(row["date"].get<std::string>().size(), 10u);  // YYYY-MM-DD
  // Replies are ASCII: non-ASCII text travels as \u escapes.
  EXPECT_NE(PostText("get_comments",
                     "plug_id=" + std::to_string(plug) + "&sort_type=1&start_id=0&key=" + key)
                .find("J\\u00f6rg"),
            std::string::npos);
}

TEST_F(RatingActions, AverageRatingsAreNameValueLines) {
  const std::string key = NewKey(), other = NewKey();
  const int64_t a = AddPlug(key, "aaa");
  const int64_t npapi = AddPlug(key, "@demo/Player,version=2.1");
  AddPlug(key, "unrated");
  AddPlug(key, "firefox-only", 3);
  AddReview(key, a, 4);
  AddReview(key, npapi, 5);
  AddReview(other, npapi, 4);
  EXPECT_EQ(PostText("get_plugs_rating",
                     "browser_id=1&plug_ids_json=%5B\"unknown\",\"@demo/Player,version=2.1\","
                     "\"aaa\",\"unrated\",\"firefox-only\"%5D&key=" +
                         key),
            "msg=9\n@demo/Player,version=2.1=4.50,2\naaa=4.00,1\nunrated=0.00,0\n");
  EXPECT_EQ(PostText("get_plugs_rating",
                     "browser_id=3&plug_ids_json=%5B\"aaa\",\"firefox-only\"%5D&key=" + key),
            "msg=9\nfirefox-only=0.00,0\n");
  EXPECT_EQ(PostText("get_plugs_rating", "browser_id=1&plug_ids_json=%5B%5D&key=" + key),
            "msg=9\n");
  EXPECT_EQ(PostText("get_plugs_rating", "browser_id=1&plug_ids_json=nonsense&key=" + key),
            "msg=0\n");
  EXPECT_EQ(PostText("get_plugs_rating", "browser_id=2&plug_ids_json=%5B%5D&key=" + key),
            "msg=0\n");
}

TEST_F(RatingActions, CommentsComeInPagesOfTen) {
  const std::string owner = NewKey();
  const int64_t plug = AddPlug(owner, "paged");
  std::vector<int64_t> ids;
  for (int i = 0; i < 23; ++i) ids.push_back(AddReview(NewKey(), plug, 1 + i % 5));
  auto page = [&](int start, int sort) {
    return Post("get_comments", "plug_id=" + std::to_string(plug) +
                                    "&sort_type=" + std::to_string(sort) +
                                    "&start_id=" + std::to_string(start) + "&key=" + owner);
  };
  struct Expect {
    int start, code;
    size_t rows;
  };
  for (const Expect& e : {Expect{0, 6, 10}, Expect{10, 6, 10}, Expect{13, 5, 10}, Expect{20, 5, 3},
                          Expect{23, 5, 0}, Expect{500, 5, 0}}) {
    SCOPED_TRACE(e.start);
    const json reply = page(e.start, 1);
    EXPECT_EQ(MsgOf(reply), e.code);
    EXPECT_EQ(reply["comment"].size(), e.rows);
  }
  // By date: newest first; within one second the later review first.
  const json first = page(0, 1);
  EXPECT_EQ(first["comment"][0]["id"], ids.back());
  EXPECT_EQ(first["comment"][9]["id"], ids[13]);
  // The program's opening request sends start_id before sort_type; both orders work.
  EXPECT_EQ(MsgOf(Post("get_comments", "plug_id=" + std::to_string(plug) +
                                           "&start_id=20&sort_type=0&key=" + owner)),
            5);
  EXPECT_EQ(Code("get_comments", "plug_id=424242&sort_type=0&start_id=0&key=" + owner), 5);
}

TEST_F(RatingActions, UsefulnessOrderIsLikesMinusDislikesThenDate) {
  const std::string owner = NewKey();
  const int64_t plug = AddPlug(owner, "sorted");
  const int64_t oldest = AddReview(NewKey(), plug, 3);
  const int64_t liked = AddReview(NewKey(), plug, 4);
  const int64_t disliked = AddReview(NewKey(), plug, 2);
  const int64_t newest = AddReview(NewKey(), plug, 5);
  for (int voter = 0; voter < 2; ++voter) {
    const std::string key = NewKey();
    ASSERT_EQ(
        Code("add_comment_ratings", "comment_id=" + std::to_string(liked) + "&score=1&key=" + key),
        8);
    ASSERT_EQ(Code("add_comment_ratings",
                   "comment_id=" + std::to_string(disliked) + "&score=0&key=" + key),
              8);
  }
  // A report does not change the order.
  ASSERT_EQ(
      Code("add_comment_ratings", "comment_id=" + std::to_string(newest) + "&score=2&key=" + owner),
      7);
  const json reply = Post(
      "get_comments", "plug_id=" + std::to_string(plug) + "&sort_type=0&start_id=0&key=" + owner);
  std::vector<int64_t> order;
  for (const json& row : reply["comment"]) order.push_back(row["id"].get<int64_t>());
  EXPECT_EQ(order, (std::vector<int64_t>{liked, newest, oldest, disliked}));
}

TEST_F(RatingActions, FailedChainGetIsAnsweredWithCodeZero) {
  // A chain whose previous post failed sends a GET, which carries no fields.
  const std::string reply =
      harness::RawExchange(port(),
                           "GET /plugin/index.php?to=get_comments HTTP/1.1\r\n"
                           "Host: 127.0.0.1\r\nConnection: close\r\n\r\n");
  EXPECT_NE(reply.find("{\"msg\":0}"), std::string::npos) << reply;
  EXPECT_EQ(PostRaw("no_such_action", "key=" + NewKey()).status, 404);
}

}  // namespace
}  // namespace orvo::service::test
