// The recording loopback server, on cpp-httplib. One catch-all handler per method looks
// the path up among the routes the test set and records the request first.
#include "support/loopback_server.h"

#include <httplib.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/text.h"

#if defined(__SANITIZE_THREAD__)
// Debian's cpp-httplib is a shared library built without ThreadSanitizer: the
// synchronisation inside its server (atomics, shared pointers) is invisible to the
// sanitizer, which then reports its worker threads' hand-overs as races. Our own code
// is still checked; only stacks that pass through that library are silenced.
extern "C" const char* __tsan_default_suppressions() { return "race:libcpp-httplib.so\n"; }
#endif

namespace orvo::test {

std::optional<std::string> RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (EqualsNoCase(key, name)) return value;
  }
  return std::nullopt;
}

namespace {

enum class Kind { kWhole, kLate, kRedirect, kCutShort, kStall, kLarge, kAnswer };

struct Route {
  Kind kind = Kind::kWhole;
  int status = 200;
  std::string body;
  std::string content_type = "text/plain";
  std::string location;
  size_t size = 0;  // announced or generated length
  std::chrono::milliseconds wait{0};
  std::function<LoopbackServer::Answer(const RecordedRequest&)> answer;
};

}  // namespace

struct LoopbackServer::State {
  httplib::Server server;
  std::thread listener;
  int port = 0;
  mutable std::mutex mutex;
  std::condition_variable stopping_cv;
  bool stopping = false;
  std::map<std::string, Route> routes;
  std::vector<RecordedRequest> requests;

  // Waits `wait`, or less when the server is going. False when it is going.
  bool Pause(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex);
    return !stopping_cv.wait_for(lock, wait, [&] { return stopping; });
  }

  void Handle(const httplib::Request& req, httplib::Response& res) {
    RecordedRequest record{req.method, req.target, req.version, {}, req.body};
    for (const auto& [key, value] : req.headers) record.headers.emplace_back(key, value);
    Route route;
    {
      std::lock_guard lock(mutex);
      requests.push_back(record);
      const auto found = routes.find(req.path);
      if (found == routes.end()) {
        res.status = 404;
        res.set_content("no such route", "text/plain");
        return;
      }
      route = found->second;
    }
    res.status = route.status;
    switch (route.kind) {
      case Kind::kWhole: res.set_content(route.body, route.content_type); break;
      case Kind::kLate:
        Pause(route.wait);
        res.set_content(route.body, route.content_type);
        break;
      case Kind::kRedirect:
        res.set_header("Location", route.location);
        res.set_content("moved", "text/plain");
        break;
      case Kind::kCutShort:
        res.set_content_provider(
            route.size, route.content_type,
            [body = route.body](size_t offset, size_t, httplib::DataSink& sink) {
              if (offset == 0 && !body.empty()) sink.write(body.data(), body.size());
              return false;  // cancel: the connection closes short of the announced length
            });
        break;
      case Kind::kStall:
        res.set_content_provider(route.size, route.content_type,
                                 [this, body = route.body, wait = route.wait](
                                     size_t offset, size_t, httplib::DataSink& sink) {
                                   if (offset == 0 && !body.empty())
                                     sink.write(body.data(), body.size());
                                   Pause(wait);
                                   return false;
                                 });
        break;
      case Kind::kAnswer: {
        LoopbackServer::Answer answer = route.answer(record);
        res.status = answer.status;
        res.set_content(answer.body, answer.content_type);
        break;
      }
      case Kind::kLarge:
        res.set_content_provider(route.size, route.content_type,
                                 [](size_t, size_t length, httplib::DataSink& sink) {
                                   static const std::string block(64 * 1024, 'x');
                                   return sink.write(block.data(), std::min(length, block.size()));
                                 });
        break;
    }
  }

  void Add(const std::string& path, Route route) {
    std::lock_guard lock(mutex);
    routes[path] = std::move(route);
  }
};

LoopbackServer::LoopbackServer() : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.server.set_payload_max_length(size_t(64) << 20);
  s.server.set_keep_alive_max_count(1);
  const auto handler = [&s](const httplib::Request& req, httplib::Response& res) {
    s.Handle(req, res);
  };
  s.server.Get(".*", handler);
  s.server.Post(".*", handler);
  s.port = s.server.bind_to_any_port("127.0.0.1");
  if (s.port <= 0) throw std::runtime_error("loopback server: no port");
  s.listener = std::thread([&s] { s.server.listen_after_bind(); });
  while (!s.server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->stopping_cv.notify_all();
  state_->server.stop();
  state_->listener.join();
}

std::string LoopbackServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(state_->port) + std::string(path);
}

int LoopbackServer::port() const { return state_->port; }

void LoopbackServer::Serve(const std::string& path, std::string body, int status,
                           std::string content_type) {
  Route r;
  r.status = status;
  r.body = std::move(body);
  r.content_type = std::move(content_type);
  state_->Add(path, std::move(r));
}

void LoopbackServer::ServeLate(const std::string& path, std::chrono::milliseconds delay,
                               std::string body) {
  Route r;
  r.kind = Kind::kLate;
  r.body = std::move(body);
  r.wait = delay;
  state_->Add(path, std::move(r));
}

void LoopbackServer::Redirect(const std::string& path, const std::string& location, int status) {
  Route r;
  r.kind = Kind::kRedirect;
  r.status = status;
  r.location = location;
  state_->Add(path, std::move(r));
}

void LoopbackServer::CutShort(const std::string& path, std::string body, size_t announced) {
  Route r;
  r.kind = Kind::kCutShort;
  r.body = std::move(body);
  r.size = announced;
  state_->Add(path, std::move(r));
}

void LoopbackServer::StallMidBody(const std::string& path, std::string first, size_t announced,
                                  std::chrono::milliseconds stall) {
  Route r;
  r.kind = Kind::kStall;
  r.body = std::move(first);
  r.size = announced;
  r.wait = stall;
  state_->Add(path, std::move(r));
}

void LoopbackServer::ServeLarge(const std::string& path, size_t size) {
  Route r;
  r.kind = Kind::kLarge;
  r.size = size;
  state_->Add(path, std::move(r));
}

void LoopbackServer::AnswerWith(const std::string& path,
                                std::function<Answer(const RecordedRequest&)> answer) {
  Route r;
  r.kind = Kind::kAnswer;
  r.answer = std::move(answer);
  state_->Add(path, std::move(r));
}

std::vector<RecordedRequest> LoopbackServer::Requests() const {
  std::lock_guard lock(state_->mutex);
  return state_->requests;
}

RecordedRequest LoopbackServer::Last(std::string_view path) const {
  std::lock_guard lock(state_->mutex);
  for (auto it = state_->requests.rbegin(); it != state_->requests.rend(); ++it) {
    if (std::string_view(it->target).substr(0, it->target.find('?')) == path) return *it;
  }
  throw std::runtime_error("no request to " + std::string(path));
}

size_t LoopbackServer::Count(std::string_view path) const {
  std::lock_guard lock(state_->mutex);
  size_t n = 0;
  for (const auto& r : state_->requests) {
    if (std::string_view(r.target).substr(0, r.target.find('?')) == path) ++n;
  }
  return n;
}

}  // namespace orvo::test
