#pragma once
// The session key every request to the rating service carries. The service grants a key
// on get_captcha and honours it for a while; the program asks for a new one when a
// request starts 599 seconds or more after the grant. One session serves the whole
// process, and every request thread asks it for the key, so fetching is serialised: one
// fetch at a time, on the thread that needed the key, and threads that waited for that
// fetch take its outcome instead of fetching again. Readers see the old key or the new
// one, never a half-made state.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

class TRateSession {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  // Monotonic by default, so that a change of the wall clock cannot keep an old key.
  using Clock = std::function<TimePoint()>;
  static constexpr int kLifeSeconds = 599;

  // The service at base_url (scheme, host, port), e.g. BuiltInRatingServiceUrl().
  explicit TRateSession(std::string base_url, Clock clock = nullptr);
  TRateSession(const TRateSession&) = delete;
  TRateSession& operator=(const TRateSession&) = delete;

  // The current key, fetched first when there is none or it has lived its time. Empty
  // when no key could be had (the request then goes out with an empty key; the next one
  // tries again). Blocks while a fetch runs.
  std::string GetKey();

  // The state as it stands, without fetching.
  std::string Key() const;
  int LifeSeconds() const;                      // 599 once a key was granted, 0 before
  std::optional<TimePoint> ObtainedAt() const;  // none before the first grant

  const std::string& BaseUrl() const { return base_url_; }
  std::string ActionUrl(std::string_view action) const;

 private:
  bool KeyUsable(TimePoint now) const;  // under state_mutex_
  std::string FetchKey() const;         // the get_captcha request; empty on any failure

  const std::string base_url_;
  const Clock clock_;
  std::mutex fetch_mutex_;          // one fetch at a time; held across the request
  mutable std::mutex state_mutex_;  // the fields below; never held across a request
  std::string key_;
  int life_seconds_ = 0;
  std::optional<TimePoint> obtained_at_;
  uint64_t fetches_ = 0;  // finished fetches, so waiters can tell one happened
};

// The process's session: created on first use for the built-in service URL, unless one
// was installed (start-up or a test may install another; null restores the default).
std::shared_ptr<TRateSession> CurrentRateSession();
void InstallRateSession(std::shared_ptr<TRateSession> session);

}  // namespace orvo
