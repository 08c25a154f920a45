// The recording front and its service; see rating_test_service.h.
#include "rating/rating_test_service.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "net/rate_http_client.h"

#ifdef _WIN32
#include "rating/service_double.h"
#else
#include <csignal>

#include "service/harness/raw_http.h"
#include "service/harness/service_process.h"
#endif

namespace orvo::test {
namespace {

std::string ActionOf(const std::string& target) {
  const size_t at = target.find("to=");
  if (at == std::string::npos) return {};
  const size_t end = target.find('&', at);
  return target.substr(at + 3, end == std::string::npos ? end : end - at - 3);
}

}  // namespace

#ifdef _WIN32

struct RatingTestService::Upstream {
  ServiceDouble service;
  bool Start(bool, std::string*) { return true; }
  LoopbackServer::Answer Send(std::string_view action, std::string_view body) {
    const auto reply = service.Handle(action, body);
    return {reply.status, reply.body, "text/plain"};
  }
};

bool RatingTestService::Real() const { return false; }

#else

struct RatingTestService::Upstream {
  service::harness::TempFolder folder;
  service::harness::ServiceProcess process;

  bool Start(bool demo_seed, std::string* error) {
    service::harness::ServiceLaunch launch = service::harness::LaunchIn(
        folder, demo_seed ? std::string(ORVO_SOURCE_DIR) + "/service/demo-seed.json" : "");
    // Tests ask for many keys and reviews within a minute.
    launch.extra_args = {"--keys-per-minute", "0", "--reviews-per-minute", "0"};
    return process.Start(launch, error);
  }
  // A GET is answered like the post of an empty form.
  LoopbackServer::Answer Send(std::string_view action, std::string_view body) {
    const auto reply =
        service::harness::RawPost(process.port(), service::harness::ActionPath(action), body);
    if (!reply.ok) return {502, "", "text/plain"};
    return {reply.status, reply.body, "text/plain"};
  }
  ~Upstream() {
    if (process.running()) {
      EXPECT_EQ(process.Stop(SIGTERM), 0) << process.LogText();
    }
  }
};

bool RatingTestService::Real() const { return true; }

#endif

RatingTestService::RatingTestService(bool demo_seed) : upstream_(std::make_unique<Upstream>()) {
  if (!upstream_->Start(demo_seed, &error_) && error_.empty()) error_ = "the service did not start";
  front_.AnswerWith("/plugin/index.php",
                    [this](const RecordedRequest& request) { return Answer(request); });
}

RatingTestService::~RatingTestService() = default;

std::string RatingTestService::BaseUrl() const {
  std::string url = front_.Url("");
  return url;
}

LoopbackServer::Answer RatingTestService::Answer(const RecordedRequest& request) {
  const std::string action = ActionOf(request.target);
  Script script{true};
  {
    std::lock_guard lock(mutex_);
    auto& queue = scripts_[action];
    if (!queue.empty()) {
      script = std::move(queue.front());
      queue.pop_front();
    }
  }
  if (script.delay.count() > 0) std::this_thread::sleep_for(script.delay);
  LoopbackServer::Answer answer{script.status, script.reply, "text/plain"};
  if (script.forward)
    answer = upstream_->Send(action, request.method == "POST" ? request.body : "");
  std::lock_guard lock(mutex_);
  exchanges_.push_back(
      {action, request.method, request.version, request.body, answer.status, answer.body});
  return answer;
}

void RatingTestService::ScriptNext(const std::string& action, std::string reply, int status,
                                   std::chrono::milliseconds delay) {
  std::lock_guard lock(mutex_);
  scripts_[action].push_back({false, status, std::move(reply), delay});
}

void RatingTestService::DelayNext(const std::string& action, std::chrono::milliseconds delay) {
  std::lock_guard lock(mutex_);
  scripts_[action].push_back({true, 200, "", delay});
}

std::vector<ActionExchange> RatingTestService::Exchanges() const {
  std::lock_guard lock(mutex_);
  return exchanges_;
}

std::vector<std::string> RatingTestService::Bodies(std::string_view action) const {
  std::vector<std::string> bodies;
  for (const auto& e : Exchanges()) {
    if (e.action == action) bodies.push_back(e.body);
  }
  return bodies;
}

size_t RatingTestService::Count(std::string_view action) const { return Bodies(action).size(); }

size_t RatingTestService::Arrived(std::string_view action) const {
  size_t n = 0;
  for (const auto& request : front_.Requests()) n += ActionOf(request.target) == action;
  return n;
}

std::string RatingTestService::Direct(std::string_view action, std::string_view body) {
  return upstream_->Send(action, body).body;
}

std::string RatingTestService::NewKey() {
  const auto reply = nlohmann::json::parse(Direct("get_captcha", ""), nullptr, false);
  EXPECT_TRUE(reply.is_object() && reply.value("msg", -1) == 13) << reply.dump();
  return reply.is_object() ? reply.value("key", "") : "";
}

std::string RatingTestService::RegisterPlug(int browser_id, std::string_view plug_id) {
  const std::string body = EncodeFormBody({"browser_id=" + std::to_string(browser_id),
                                           "name=Test add-on", "introduction=For tests",
                                           "plug_id=" + std::string(plug_id), "key=" + NewKey()});
  const auto reply = nlohmann::json::parse(Direct("add_plug", body), nullptr, false);
  EXPECT_TRUE(reply.is_object() && reply.value("msg", -1) == 1) << reply.dump();
  return reply.is_object() ? reply.value("id", "") : "";
}

int64_t RatingTestService::AddReview(std::string_view service_plug_id, int score) {
  const std::string body =
      EncodeFormBody({"plug_id=" + std::string(service_plug_id), "nickname=Tester", "content=Fine",
                      "ver=1.0", "score=" + std::to_string(score), "key=" + NewKey()});
  const auto reply = nlohmann::json::parse(Direct("add_comment", body), nullptr, false);
  EXPECT_TRUE(reply.is_object() && reply.value("msg", -1) == 4) << reply.dump();
  return reply.is_object() ? reply.value("c_id", int64_t{0}) : 0;
}

}  // namespace orvo::test
