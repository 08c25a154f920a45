// The rating session key; see rate_session.h.
#include "rating/rate_session.h"

#include <utility>

#include "net/rate_http_client.h"
#include "platform/failure_log.h"
#include "rating/rate_replies.h"
#include "rating/rate_requests.h"
#include "rating/rating_codes.h"

namespace orvo {

TRateSession::TRateSession(std::string base_url, Clock clock)
    : base_url_(std::move(base_url)),
      clock_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); })) {}

std::string TRateSession::ActionUrl(std::string_view action) const {
  return RatingActionUrl(base_url_, action);
}

bool TRateSession::KeyUsable(TimePoint now) const {
  if (key_.empty()) return false;
  return !obtained_at_ || now < *obtained_at_ + std::chrono::seconds(life_seconds_);
}

std::string TRateSession::GetKey() {
  uint64_t fetches_seen = 0;
  {
    std::lock_guard lock(state_mutex_);
    if (KeyUsable(clock_())) return key_;
    fetches_seen = fetches_;
  }
  std::lock_guard fetching(fetch_mutex_);
  {
    std::lock_guard lock(state_mutex_);
    // A fetch ended while this thread waited for its turn: that one served it too, and
    // after a failure the next request, not every waiting one, tries again.
    if (fetches_ != fetches_seen) return key_;
  }
  std::string key = FetchKey();
  std::lock_guard lock(state_mutex_);
  key_ = std::move(key);
  if (!key_.empty()) {
    life_seconds_ = kLifeSeconds;
    obtained_at_ = clock_();
  }
  ++fetches_;
  return key_;
}

std::string TRateSession::FetchKey() const {
  try {
    TRateHttpClient client;
    std::string reply;
    if (!client.PostForm(ActionUrl("get_captcha"), {}, reply)) return {};
    const auto document = ParseRateReply(reply);
    if (!document || ReplyCode(document->value) != rcKeyGranted) return {};
    return StringMember(document->value, "key");
  } catch (...) {
    os::LogCaughtException("fetching the rating session key");
    return {};
  }
}

std::string TRateSession::Key() const {
  std::lock_guard lock(state_mutex_);
  return key_;
}

int TRateSession::LifeSeconds() const {
  std::lock_guard lock(state_mutex_);
  return life_seconds_;
}

std::optional<TRateSession::TimePoint> TRateSession::ObtainedAt() const {
  std::lock_guard lock(state_mutex_);
  return obtained_at_;
}

namespace {

std::mutex g_session_mutex;
std::shared_ptr<TRateSession> g_session;

}  // namespace

std::shared_ptr<TRateSession> CurrentRateSession() {
  std::lock_guard lock(g_session_mutex);
  if (!g_session)
    g_session = std::make_shared<TRateSession>(std::string(BuiltInRatingServiceUrl()));
  return g_session;
}

void InstallRateSession(std::shared_ptr<TRateSession> session) {
  std::shared_ptr<TRateSession> previous;
  std::lock_guard lock(g_session_mutex);
  previous = std::exchange(g_session, std::move(session));
}

}  // namespace orvo
