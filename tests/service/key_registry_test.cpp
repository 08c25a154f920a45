// Key life and the two sliding-minute limits, with a clock the test moves.
#include <gtest/gtest.h>

#include <algorithm>

#include "service/harness/service_process.h"
#include "service/key_registry.h"

namespace orvo::service {
namespace {

class KeyRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    store_ = RatingStore::Open(temp_.File("keys.db"), {}, &error);
    ASSERT_TRUE(store_) << error;
  }
  KeyRegistry Registry(const KeyLimits& limits) {
    return KeyRegistry(*store_, limits, [this] { return now_; });
  }

  harness::TempFolder temp_;
  std::unique_ptr<RatingStore> store_;
  int64_t now_ = 1'700'000'000;
};

TEST_F(KeyRegistryTest, KeyLivesItsLifeAndSurvivesANewRegistry) {
  KeyRegistry keys = Registry({.key_life_seconds = 900});
  const auto key = keys.Grant("127.0.0.1", nullptr);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->size(), 32u);
  const auto user = keys.UserOf(*key);
  ASSERT_TRUE(user);
  EXPECT_FALSE(keys.UserOf("0123456789abcdef0123456789abcdef"));
  EXPECT_FALSE(keys.UserOf(""));

  now_ += 899;
  KeyRegistry after_restart = Registry({.key_life_seconds = 900});
  after_restart.LoadFromStore();
  EXPECT_EQ(after_restart.UserOf(*key), user);
  now_ += 1;
  EXPECT_FALSE(after_restart.UserOf(*key));
  EXPECT_FALSE(keys.UserOf(*key));
}

TEST_F(KeyRegistryTest, EveryGrantIsANewUser) {
  KeyRegistry keys = Registry({});
  const auto a = keys.Grant("10.0.0.1", nullptr);
  const auto b = keys.Grant("10.0.0.1", nullptr);
  ASSERT_TRUE(a && b);
  EXPECT_NE(*a, *b);
  EXPECT_NE(keys.UserOf(*a), keys.UserOf(*b));
}

TEST_F(KeyRegistryTest, GrantsPerAddressOverASlidingMinute) {
  KeyRegistry keys = Registry({.keys_per_minute_per_address = 2});
  bool failed = true;
  EXPECT_TRUE(keys.Grant("10.0.0.1", &failed));
  now_ += 30;
  EXPECT_TRUE(keys.Grant("10.0.0.1", &failed));
  EXPECT_FALSE(keys.Grant("10.0.0.1", &failed));
  EXPECT_FALSE(failed);  // a refusal, not a fault
  EXPECT_TRUE(keys.Grant("10.0.0.2", &failed));
  now_ += 30;  // the first grant has left the minute
  EXPECT_TRUE(keys.Grant("10.0.0.1", &failed));
  EXPECT_FALSE(keys.Grant("10.0.0.1", &failed));
}

TEST_F(KeyRegistryTest, ReviewSlotsPerKeyOverASlidingMinute) {
  KeyRegistry keys = Registry({.reviews_per_minute_per_key = 2});
  EXPECT_TRUE(keys.TakeReviewSlot(7));
  EXPECT_TRUE(keys.TakeReviewSlot(7));
  EXPECT_FALSE(keys.TakeReviewSlot(7));
  EXPECT_TRUE(keys.TakeReviewSlot(8));
  keys.ReturnReviewSlot(7);  // a review that was not stored does not count
  EXPECT_TRUE(keys.TakeReviewSlot(7));
  now_ += 60;
  EXPECT_TRUE(keys.TakeReviewSlot(7));
  EXPECT_TRUE(keys.TakeReviewSlot(7));
  EXPECT_FALSE(keys.TakeReviewSlot(7));
}

TEST_F(KeyRegistryTest, ZeroMeansNoLimit) {
  KeyRegistry keys = Registry({.keys_per_minute_per_address = 0, .reviews_per_minute_per_key = 0});
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(keys.Grant("10.0.0.1", nullptr));
    ASSERT_TRUE(keys.TakeReviewSlot(1));
  }
}

TEST_F(KeyRegistryTest, TenThousandGrantsOverHoursHoldOnlyWhatIsAlive) {
  KeyRegistry keys = Registry({.key_life_seconds = 900});
  // One grant a second from a new address each time, every tenth user reviewing.
  size_t most_keys = 0, most_addresses = 0, most_reviewers = 0;
  for (int i = 0; i < 10'000; ++i) {
    const auto key =
        keys.Grant("10.1." + std::to_string(i / 256) + "." + std::to_string(i % 256), nullptr);
    ASSERT_TRUE(key);
    if (i % 10 == 0) {
      ASSERT_TRUE(keys.TakeReviewSlot(*keys.UserOf(*key)));
    }
    const KeyRegistry::Sizes sizes = keys.sizes();
    most_keys = std::max(most_keys, sizes.keys);
    most_addresses = std::max(most_addresses, sizes.addresses);
    most_reviewers = std::max(most_reviewers, sizes.reviewing_users);
    now_ += 1;
  }
  // A key life and a purge interval of grants; a minute and a purge interval of the rest.
  EXPECT_LE(most_keys, 900u + 60u);
  EXPECT_LE(most_addresses, 60u + 60u);
  EXPECT_LE(most_reviewers, 12u + 6u);
  // The stored users: the live keys only, as nobody wrote anything.
  EXPECT_LE(store_->UserCount(), 900 + 60);
}

}  // namespace
}  // namespace orvo::service
