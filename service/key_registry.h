#pragma once
// Session keys and the limits tied to them. A key is granted by get_captcha, lives a fixed
// time, and stands for one user: the service has no accounts, so "a user" is the holder of
// one granted key, and one review per add-on, one vote and one report per review are
// counted per key. Keys are stored so that a restart does not log everybody out. Two
// rate limits keep one client from flooding: key grants per remote address and stored
// reviews per key, both over a sliding minute.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "rating_store.h"

namespace orvo::service {

// Unix seconds; injected so tests can move time.
using Clock = std::function<int64_t()>;
Clock SystemClock();

struct KeyLimits {
  // The program renews its key 599 s after the grant; the service keeps it a while longer
  // so a request started just before the renewal still counts.
  int64_t key_life_seconds = 900;
  int keys_per_minute_per_address = 30;  // 0 = unlimited
  int reviews_per_minute_per_key = 5;    // 0 = unlimited
};

class KeyRegistry {
 public:
  KeyRegistry(RatingStore& store, const KeyLimits& limits, Clock clock);

  // Takes the unexpired keys of an earlier run.
  void LoadFromStore();
  // A new key, or empty when the address asked too often or the store failed (failed is
  // then set, so the caller can tell a refusal from a fault).
  std::optional<std::string> Grant(std::string_view address, bool* failed);
  // The user a key stands for; empty for a missing, unknown or expired key.
  std::optional<int64_t> UserOf(std::string_view key);
  // Reserves a review for the user within its minute, or refuses; a reservation whose
  // review was not stored is handed back with ReturnReviewSlot.
  bool TakeReviewSlot(int64_t user_id);
  void ReturnReviewSlot(int64_t user_id);

  // What the registry holds in memory: every entry is bounded by the grants and reviews of
  // the last key life (or minute), whatever the number granted over time.
  struct Sizes {
    size_t keys = 0;
    size_t addresses = 0;
    size_t reviewing_users = 0;
  };
  Sizes sizes();

 private:
  struct Entry {
    int64_t user_id;
    int64_t granted_at;
  };
  std::string NewKey();
  void PurgeExpired(int64_t now);
  static bool TakeSlot(std::deque<int64_t>& times, int limit, int64_t now);

  RatingStore& store_;
  KeyLimits limits_;
  Clock clock_;
  std::shared_mutex keys_mutex_;
  std::unordered_map<std::string, Entry> keys_;
  int64_t last_purge_ = 0;
  std::mutex limits_mutex_;
  std::unordered_map<std::string, std::deque<int64_t>> grants_by_address_;
  std::unordered_map<int64_t, std::deque<int64_t>> reviews_by_user_;
  std::mutex random_mutex_;
  std::random_device random_;
};

}  // namespace orvo::service
