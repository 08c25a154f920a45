// The rating service as a client on the network sees it: the real service (store on
// /dev/shm, key registry, directory, HTTP front with the demo site) runs in this process
// on a loopback port, and every input is one request on a fresh connection. The first
// byte picks its form:
//   0-6   POST of one rating action with the rest as the form body; "key=@" in the body
//         becomes a key granted at start, so the fuzzer gets past the key check
//   7     GET /plugin/index.php?to=<rest>
//   8     GET /ad/ad1.php?<rest>
//   9     GET /<rest>, a file of the site folder
//   other the rest sent as it is (request line, headers and all)
// The service must answer every well-formed request with a status line, never fail with
// a database error, and keep serving whatever came before.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "fuzz_support.h"
#include "service/harness/raw_http.h"
#include "service/http_front.h"
#include "service/key_registry.h"
#include "service/plug_directory.h"
#include "service/rating_service.h"
#include "service/rating_store.h"

namespace {

namespace fs = std::filesystem;
using namespace orvo::service;

constexpr const char* kActions[] = {"get_captcha",     "get_plug_info", "add_plug",
                                    "get_comments",    "add_comment",   "add_comment_ratings",
                                    "get_plugs_rating"};
// A database that grows with every registered add-on is started afresh now and then, so a
// long run measures the service and not an ever larger file.
constexpr int kInputsPerService = 20000;

class InProcessService {
 public:
  InProcessService() {
    std::string templ =
        (fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string()) +
        "/orvo-fuzz-service-XXXXXX";
    if (!mkdtemp(templ.data())) orvo::fuzz::Fail(__FILE__, __LINE__, "mkdtemp");
    folder_ = templ;
    std::string error;
    store_ = RatingStore::Open((folder_ / "ratings.db").string(), {}, &error);
    if (!store_) orvo::fuzz::Fail(__FILE__, __LINE__, error.c_str());
    keys_ = std::make_unique<KeyRegistry>(*store_, KeyLimits{}, SystemClock());
    service_ = std::make_unique<RatingService>(*store_, *keys_, plugs_, SystemClock());
    FrontOptions options;
    options.port = 0;
    options.threads = 2;
    options.site_dir = ORVO_SERVICE_SOURCE_DIR "/demo-site";
    front_ = std::make_unique<HttpFront>(*service_, options, nullptr);
    if (!front_->Bind(&error)) orvo::fuzz::Fail(__FILE__, __LINE__, error.c_str());
    thread_ = std::thread([this] { front_->Run(); });
    bool failed = false;
    key_ = keys_->Grant("192.0.2.1", &failed).value_or("");
    if (key_.empty()) orvo::fuzz::Fail(__FILE__, __LINE__, "no key granted");
  }

  ~InProcessService() {
    front_->Stop();
    thread_.join();
    front_.reset();
    service_.reset();
    keys_.reset();
    store_.reset();
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  int port() const { return front_->port(); }
  const std::string& key() const { return key_; }

 private:
  fs::path folder_;
  std::unique_ptr<RatingStore> store_;
  std::unique_ptr<KeyRegistry> keys_;
  PlugDirectory plugs_;
  std::unique_ptr<RatingService> service_;
  std::unique_ptr<HttpFront> front_;
  std::thread thread_;
  std::string key_;
};

std::string WithKey(std::string body, const std::string& key) {
  for (size_t at = body.find("key=@"); at != std::string::npos;
       at = body.find("key=@", at + 4 + key.size())) {
    body.replace(at + 4, 1, key);
  }
  return body;
}

// Request-target text: what a client could put on a request line.
std::string Target(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) > ' ' && c != 0x7F) out += c;
  }
  return out;
}

std::string Get(int port, const std::string& target) {
  return "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo::service::harness;
  static std::unique_ptr<InProcessService> service;
  static int inputs = 0;
  if (!service || ++inputs % kInputsPerService == 0) {
    signal(SIGPIPE, SIG_IGN);
    service.reset();
    service = std::make_unique<InProcessService>();
  }
  if (size == 0) return 0;
  const int port = service->port();
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const uint8_t form = data[0];

  if (form < std::size(kActions)) {
    const RawReply reply =
        RawPost(port, ActionPath(kActions[form]), WithKey(std::string(rest), service->key()));
    FUZZ_CHECK(reply.ok);
    FUZZ_CHECK(reply.status == 200 || reply.status == 413);
    if (reply.status == 200)
      FUZZ_CHECK(reply.body.starts_with("{\"msg\":") || reply.body.starts_with("msg="));
    return 0;
  }
  std::string request;
  switch (form) {
    case 7: request = Get(port, "/plugin/index.php?to=" + Target(rest)); break;
    case 8: request = Get(port, "/ad/ad1.php?" + Target(rest)); break;
    case 9: request = Get(port, "/" + Target(rest)); break;
    default: RawExchange(port, rest, 2000, true); return 0;
  }
  // Not half-closed: cpp-httplib takes a client that shut its sending side for gone and
  // answers it nothing. The service closes an HTTP/1.0 connection once it has answered;
  // a reply that only ends at the client's time-out was left open.
  const auto start = std::chrono::steady_clock::now();
  const std::string reply = RawExchange(port, request, 5000, false);
  FUZZ_CHECK(std::chrono::steady_clock::now() - start < std::chrono::milliseconds(4500));
  FUZZ_CHECK(reply.starts_with("HTTP/1.") && reply.find(' ') != std::string::npos);
  const int status = std::atoi(reply.c_str() + reply.find(' ') + 1);
  FUZZ_CHECK(status >= 200 && status < 500);
  return 0;
}
