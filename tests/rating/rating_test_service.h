#pragma once
// The rating service as the client tests meet it: natively the real orvo-rating-service
// process (started on a free loopback port by the service's harness, stopped after),
// under Wine an in-memory stand-in (service_double.h). Either sits behind a recording
// loopback front, which keeps every request as the service received it and what it
// answered, and which can answer the next request of an action from a script (replies no
// real service gives: unreadable text, errors) or hold it back for a while.
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "support/loopback_server.h"

namespace orvo::test {

struct ActionExchange {
  std::string action;  // the "to" query
  std::string method;
  std::string version;
  std::string body;  // as it arrived
  int status = 0;
  std::string reply;
};

class RatingTestService {
 public:
  // demo_seed: the service starts with the demo reviews of service/demo-seed.json (the
  // real service only; the stand-in starts empty).
  explicit RatingTestService(bool demo_seed = false);
  ~RatingTestService();
  RatingTestService(const RatingTestService&) = delete;
  RatingTestService& operator=(const RatingTestService&) = delete;

  // Empty when the service runs; else why it does not.
  const std::string& Error() const { return error_; }
  bool Real() const;
  std::string BaseUrl() const;

  // The next request of the action gets this reply (after the delay) instead of the
  // service's. Scripts of one action are used in order.
  void ScriptNext(const std::string& action, std::string reply, int status = 200,
                  std::chrono::milliseconds delay = {});
  // The next request of the action waits this long, then goes to the service.
  void DelayNext(const std::string& action, std::chrono::milliseconds delay);

  std::vector<ActionExchange> Exchanges() const;
  std::vector<std::string> Bodies(std::string_view action) const;
  size_t Count(std::string_view action) const;  // answered requests
  // Requests of the action that have reached the front, answered or not yet.
  size_t Arrived(std::string_view action) const;

  // Straight to the service, past the front and its record: for preparing a test.
  std::string Direct(std::string_view action, std::string_view body);
  std::string NewKey();
  // add_plug with a fresh key; the service's id of the add-on.
  std::string RegisterPlug(int browser_id, std::string_view plug_id);
  // A review by a new user; its id (0 when not stored).
  int64_t AddReview(std::string_view service_plug_id, int score);

 private:
  struct Script {
    bool forward = false;
    int status = 200;
    std::string reply;
    std::chrono::milliseconds delay{};
  };
  struct Upstream;
  LoopbackServer::Answer Answer(const RecordedRequest& request);

  std::unique_ptr<Upstream> upstream_;
  std::string error_;
  mutable std::mutex mutex_;
  std::map<std::string, std::deque<Script>> scripts_;
  std::vector<ActionExchange> exchanges_;
  LoopbackServer front_;  // last: it goes first, while what it calls still exists
};

}  // namespace orvo::test
