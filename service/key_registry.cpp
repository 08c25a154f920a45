// Session keys and per-key limits; see key_registry.h.
#include "key_registry.h"

#include <algorithm>
#include <chrono>

namespace orvo::service {
namespace {
constexpr int64_t kMinute = 60;
constexpr int64_t kPurgeEvery = 60;
}  // namespace

Clock SystemClock() {
  return [] {
    return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                    .count());
  };
}

KeyRegistry::KeyRegistry(RatingStore& store, const KeyLimits& limits, Clock clock)
    : store_(store), limits_(limits), clock_(std::move(clock)) {}

void KeyRegistry::LoadFromStore() {
  const int64_t now = clock_();
  std::unique_lock lock(keys_mutex_);
  for (KeyRow& row : store_.LoadKeys(now - limits_.key_life_seconds)) {
    keys_[std::move(row.key)] = Entry{row.user_id, row.granted_at};
  }
}

std::string KeyRegistry::NewKey() {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string key;
  std::lock_guard lock(random_mutex_);
  for (int word = 0; word < 4; ++word) {
    uint32_t bits = random_();
    for (int n = 0; n < 8; ++n, bits >>= 4) key += kHex[bits & 15];
  }
  return key;
}

bool KeyRegistry::TakeSlot(std::deque<int64_t>& times, int limit, int64_t now) {
  while (!times.empty() && times.front() <= now - kMinute) times.pop_front();
  if (limit > 0 && static_cast<int>(times.size()) >= limit) return false;
  times.push_back(now);
  return true;
}

std::optional<std::string> KeyRegistry::Grant(std::string_view address, bool* failed) {
  if (failed) *failed = false;
  const int64_t now = clock_();
  {
    std::lock_guard lock(limits_mutex_);
    if (!TakeSlot(grants_by_address_[std::string(address)], limits_.keys_per_minute_per_address,
                  now)) {
      return std::nullopt;
    }
  }
  std::string key = NewKey();
  const auto user_id = store_.AddUser(key, now);
  if (!user_id) {
    if (failed) *failed = true;
    return std::nullopt;
  }
  bool purged = false;
  {
    std::unique_lock lock(keys_mutex_);
    keys_[key] = Entry{*user_id, now};
    // Short key lives (tests, demos) are purged as often as they end.
    if (now - last_purge_ >= std::min(kPurgeEvery, limits_.key_life_seconds)) {
      PurgeExpired(now);
      purged = true;
    }
  }
  // Outside the key lock: every request reads the keys, and this is a database write.
  if (purged) store_.ForgetKeys(now - limits_.key_life_seconds);
  return key;
}

void KeyRegistry::PurgeExpired(int64_t now) {
  last_purge_ = now;
  const int64_t oldest = now - limits_.key_life_seconds;
  std::erase_if(keys_, [&](const auto& item) { return item.second.granted_at <= oldest; });
  std::lock_guard lock(limits_mutex_);
  std::erase_if(grants_by_address_, [&](const auto& item) {
    return item.second.empty() || item.second.back() <= now - kMinute;
  });
  std::erase_if(reviews_by_user_, [&](const auto& item) {
    return item.second.empty() || item.second.back() <= now - kMinute;
  });
}

std::optional<int64_t> KeyRegistry::UserOf(std::string_view key) {
  if (key.empty()) return std::nullopt;
  const int64_t now = clock_();
  std::shared_lock lock(keys_mutex_);
  const auto it = keys_.find(std::string(key));
  if (it == keys_.end() || now >= it->second.granted_at + limits_.key_life_seconds) {
    return std::nullopt;
  }
  return it->second.user_id;
}

KeyRegistry::Sizes KeyRegistry::sizes() {
  Sizes sizes;
  {
    std::shared_lock lock(keys_mutex_);
    sizes.keys = keys_.size();
  }
  std::lock_guard lock(limits_mutex_);
  sizes.addresses = grants_by_address_.size();
  sizes.reviewing_users = reviews_by_user_.size();
  return sizes;
}

bool KeyRegistry::TakeReviewSlot(int64_t user_id) {
  const int64_t now = clock_();
  std::lock_guard lock(limits_mutex_);
  return TakeSlot(reviews_by_user_[user_id], limits_.reviews_per_minute_per_key, now);
}

void KeyRegistry::ReturnReviewSlot(int64_t user_id) {
  std::lock_guard lock(limits_mutex_);
  const auto it = reviews_by_user_.find(user_id);
  if (it != reviews_by_user_.end() && !it->second.empty()) it->second.pop_back();
}

}  // namespace orvo::service
