// Likes, dislikes and reports: one like-or-dislike and one report per user and review,
// also when the same user's requests race each other.
#include <atomic>
#include <thread>

#include "service/service_fixture.h"

namespace orvo::service::test {
namespace {

class ReviewVotes : public ServiceTest {
 protected:
  void SetUp() override {
    Start({.extra_args = {"--reviews-per-minute", "0", "--keys-per-minute", "0"}});
    author_ = NewKey();
    plug_ = AddPlug(author_, "voted");
    review_ = AddReview(author_, plug_, 4);
    ASSERT_GT(review_, 0);
  }
  int Vote(const std::string& key, int score, int64_t review = 0) {
    return Code("add_comment_ratings", "comment_id=" + std::to_string(review ? review : review_) +
                                           "&score=" + std::to_string(score) + "&key=" + key);
  }

  std::string author_;
  int64_t plug_ = 0;
  int64_t review_ = 0;
};

TEST_F(ReviewVotes, EachUserVotesOnceAndReportsOnce) {
  const std::string ann = NewKey(), bob = NewKey();
  struct Step {
    const std::string* key;
    int score;
    int code;
  };
  const Step steps[] = {
      {&ann, 1, 8},   // like
      {&ann, 1, 10},  // again
      {&ann, 0, 10},  // a dislike after a like is still a second vote
      {&ann, 2, 7},   // the report is separate
      {&ann, 2, 12}, {&bob, 0, 8}, {&bob, 2, 7}, {&bob, 1, 10},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.score);
    EXPECT_EQ(Vote(*s.key, s.score), s.code);
  }
  EXPECT_EQ(ReviewCounts(review_), (std::vector<int64_t>{1, 1, 2}));
}

TEST_F(ReviewVotes, BadVotesAreAnsweredWithCodeZero) {
  const std::string key = NewKey();
  EXPECT_EQ(Vote(key, 1, 987654), 0);  // no such review
  for (const char* body :
       {"comment_id=abc&score=1", "comment_id=&score=1", "comment_id=1&score=3",
        "comment_id=1&score=-1", "comment_id=1&score=", "score=1", "comment_id=1"}) {
    SCOPED_TRACE(body);
    EXPECT_EQ(Code("add_comment_ratings", std::string(body) + "&key=" + key), 0);
  }
  EXPECT_EQ(ReviewCounts(review_), (std::vector<int64_t>{0, 0, 0}));
}

TEST_F(ReviewVotes, ManyUsersAtOnceAreAllCounted) {
  constexpr int kUsers = 12;
  std::vector<std::string> keys;
  for (int i = 0; i < kUsers; ++i) keys.push_back(NewKey());
  std::atomic<int> liked{0}, reported{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kUsers; ++i) {
    threads.emplace_back([&, i] {
      liked += Vote(keys[i], 1) == 8;
      reported += Vote(keys[i], 2) == 7;
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(liked.load(), kUsers);
  EXPECT_EQ(reported.load(), kUsers);
  EXPECT_EQ(ReviewCounts(review_), (std::vector<int64_t>{kUsers, 0, kUsers}));
}

TEST_F(ReviewVotes, OneUserRacingItselfCountsOnce) {
  const std::string key = NewKey();
  constexpr int kTries = 10;
  std::atomic<int> stored{0}, refused{0}, reviews{0}, duplicates{0};
  const int64_t other_plug = AddPlug(key, "raced");
  std::vector<std::thread> threads;
  for (int i = 0; i < kTries; ++i) {
    threads.emplace_back([&, i] {
      const int code = Vote(key, i % 2);  // likes and dislikes mixed
      stored += code == 8;
      refused += code == 10;
      const int review = Code("add_comment", "plug_id=" + std::to_string(other_plug) +
                                                 "&nickname=&content=&ver=&score=3&key=" + key);
      reviews += review == 4;
      duplicates += review == 11;
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(stored.load(), 1);
  EXPECT_EQ(refused.load(), kTries - 1);
  EXPECT_EQ(reviews.load(), 1);
  EXPECT_EQ(duplicates.load(), kTries - 1);
  const auto counts = ReviewCounts(review_);
  EXPECT_EQ(counts[0] + counts[1], 1);
  const nlohmann::json info = Post("get_plug_info", "browser_id=1&plug_id=raced&key=" + key);
  EXPECT_EQ(info["ratings_cache"]["3"], 1);
}

}  // namespace
}  // namespace orvo::service::test
