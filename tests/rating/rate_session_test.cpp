// The session key against the service: fetched before the first request, kept for 598
// seconds and renewed at 599 (by an injected clock), fetched once when many threads ask
// at the same moment, and left empty, to be tried again, when no key can be had.
#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <thread>

#include "rating/rate_session.h"
#include "rating/rating_test_service.h"
#include "support/loopback_server.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

using namespace std::chrono_literals;
using Clock = TRateSession::TimePoint;

class RateSessionTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(service_.Error(), ""); }
  std::shared_ptr<TRateSession> Session() {
    return std::make_shared<TRateSession>(service_.BaseUrl(),
                                          [this] { return Clock(now_.load()); });
  }
  size_t Fetches() const { return service_.Count("get_captcha"); }

  test::TestMachine machine_;
  test::RatingTestService service_;
  std::atomic<Clock::duration> now_{Clock::duration::zero()};
};

TEST_F(RateSessionTest, TheFirstRequestFetchesAKeyAndLaterOnesReuseIt) {
  now_ = 5s;
  const auto session = Session();
  EXPECT_EQ(session->LifeSeconds(), 0);
  EXPECT_FALSE(session->ObtainedAt());
  const std::string key = session->GetKey();
  EXPECT_EQ(key.size(), 32u) << key;
  EXPECT_EQ(Fetches(), 1u);
  EXPECT_EQ(service_.Bodies("get_captcha"), std::vector<std::string>{""});
  EXPECT_EQ(service_.Exchanges()[0].method, "POST");
  EXPECT_EQ(session->Key(), key);
  EXPECT_EQ(session->LifeSeconds(), 599);
  EXPECT_EQ(session->ObtainedAt(), Clock(5s));
  EXPECT_EQ(session->GetKey(), key);
  EXPECT_EQ(Fetches(), 1u);
}

// Granted at t, a key serves requests up to t + 598 s; one at t + 599 s or later fetches
// a new key first. The clock is monotonic, so "midnight" is any instant: a day's last
// second is tried as well.
TEST_F(RateSessionTest, AKeyIsRenewedAt599Seconds) {
  const Clock::duration grants[] = {0s, 86399s + 500ms};
  for (const auto granted : grants) {
    const auto session = Session();
    const size_t before = Fetches();
    now_ = granted;
    const std::string first = session->GetKey();
    now_ = granted + 598s;
    EXPECT_EQ(session->GetKey(), first);
    now_ = granted + 598s + 999ms;
    EXPECT_EQ(session->GetKey(), first);
    EXPECT_EQ(Fetches(), before + 1);
    now_ = granted + 599s;
    const std::string second = session->GetKey();
    EXPECT_NE(second, first);
    EXPECT_EQ(Fetches(), before + 2);
    EXPECT_EQ(session->ObtainedAt(), Clock(granted + 599s));
    now_ = granted + 599s + 598s;
    EXPECT_EQ(session->GetKey(), second);
    now_ = granted + 3600s;
    EXPECT_NE(session->GetKey(), second);
    EXPECT_EQ(Fetches(), before + 3);
  }
}

TEST_F(RateSessionTest, ARefusedGrantLeavesTheKeyEmptyAndTheNextRequestTriesAgain) {
  const struct {
    const char* reply;
    int status;
  } refusals[] = {
      {R"({"msg":0})", 200},
      {R"({"msg":13})", 200},
      {"not json", 200},
      {R"({"msg":13,"key":"k"})", 500},
      {"", 200},
      {R"({"msg":12,"key":"k"})", 200},
  };
  for (const auto& refusal : refusals) {
    const auto session = Session();
    service_.ScriptNext("get_captcha", refusal.reply, refusal.status);
    EXPECT_EQ(session->GetKey(), "") << refusal.reply;
    EXPECT_EQ(session->LifeSeconds(), 0);
    const size_t before = Fetches();
    EXPECT_EQ(session->GetKey().size(), 32u);
    EXPECT_EQ(Fetches(), before + 1);
  }
  // A numeric string is a code like any other.
  const auto session = Session();
  service_.ScriptNext("get_captcha", R"({"msg":"13","key":"abc"})");
  EXPECT_EQ(session->GetKey(), "abc");
}

TEST_F(RateSessionTest, AServiceThatCannotBeReachedGivesAnEmptyKey) {
  std::string gone;
  {
    test::LoopbackServer closed;
    gone = closed.Url("");
  }
  TRateSession session(gone);
  EXPECT_EQ(session.GetKey(), "");
  EXPECT_EQ(session.Key(), "");
}

// All threads arrive while the one fetch is on its way; they wait for it and share its
// outcome, a key or, after a failure, nothing.
TEST_F(RateSessionTest, ManyThreadsAskingAtOnceMakeOneFetch) {
  for (const bool refused : {false, true}) {
    const auto session = Session();
    const size_t before = Fetches();
    if (refused) {
      service_.ScriptNext("get_captcha", "", 500, 800ms);
    } else {
      service_.DelayNext("get_captcha", 800ms);
    }
    constexpr int kThreads = 12;
    std::latch start(kThreads);
    std::vector<std::string> keys(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
      threads.emplace_back([&, i] {
        start.arrive_and_wait();
        keys[i] = session->GetKey();
      });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(Fetches(), before + 1) << (refused ? "refused" : "granted");
    for (const std::string& key : keys) EXPECT_EQ(key, refused ? "" : session->Key());
    if (!refused) {
      EXPECT_EQ(keys[0].size(), 32u);
    }
  }
}

}  // namespace
}  // namespace orvo
