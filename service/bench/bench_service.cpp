// bench_service: load and reliability of the rating service on loopback, bounded in time
// (three timed phases of --seconds each, 10 by default, plus a kill run of a second).
//  1. baseline: the same client load against a constant handler on cpp-httplib, configured
//     like the service (threads, backlog, body reading), no database, no log;
//  2. get_plugs_rating for 200 add-ons, 8 clients; 1 and 2 run in alternating turns;
//  3. add_comment, 8 clients; then every code-4 reply must be a stored review;
//  4. posting is cut by SIGKILL; after a restart every acknowledged review is there.
// Clients connect per request with HTTP/1.0, as the program does. Output: name: value unit.
// With BENCH_TURNS set in the environment each turn's rates go to standard error.
#include <httplib.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "load_run.h"
#include "service/harness/raw_http.h"
#include "service/harness/service_process.h"

namespace {

using namespace orvo::service;
using harness::ActionPath;
using harness::RawPost;

constexpr int kAddons = 200;
constexpr int kSeedReviewsPerAddon = 3;

// ---- the baseline server (this program started again with --baseline-server) ----------

int BaselineServer(int argc, char** argv) {
  int port = 0;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--port") == 0)
      port = static_cast<int>(std::strtol(argv[i + 1], nullptr, 10));
  }
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  httplib::Server server;
  server.new_task_queue = [] { return new httplib::ThreadPool(8); };
  server.set_payload_max_length(size_t{64} * 1024);
  int listen_socket = -1;
  server.set_socket_options([&](int sock) {
    const int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    listen_socket = sock;
  });
  server.Post("/plugin/index.php", [](const httplib::Request&, httplib::Response& res,
                                      const httplib::ContentReader& reader) {
    std::string body;
    reader([&](const char* data, size_t length) {
      body.append(data, length);
      return true;
    });
    res.set_content("msg=9\n", "text/plain; charset=utf-8");
  });
  port = port == 0 ? server.bind_to_any_port("127.0.0.1")
                   : (server.bind_to_port("127.0.0.1", port) ? port : -1);
  if (port <= 0) return 1;
  ::listen(listen_socket, 512);
  std::printf("listening on http://127.0.0.1:%d\n", port);
  std::fflush(stdout);
  std::thread stopper([&] {
    int received = 0;
    sigwait(&stop_signals, &received);
    server.stop();
  });
  server.listen_after_bind();
  stopper.join();
  return 0;
}

// ---- helpers ---------------------------------------------------------------------------

std::string AddonId(int n) {
  std::string digits = std::to_string(n);
  return "benchaddon" + std::string(digits.size() < 22 ? 22 - digits.size() : 0, '0') + digits;
}

bool WriteSeed(const std::string& path) {
  nlohmann::json plugs = nlohmann::json::array();
  for (int n = 0; n < kAddons; ++n) {
    nlohmann::json reviews = nlohmann::json::array();
    for (int r = 0; r < kSeedReviewsPerAddon; ++r) {
      reviews.push_back({{"nickname", "seed" + std::to_string(r)},
                         {"content", "Seed review."},
                         {"score", 1 + (n + r) % 5},
                         {"date", "2024-01-0" + std::to_string(1 + r)}});
    }
    plugs.push_back({{"browser_id", 1},
                     {"plug_id", AddonId(n)},
                     {"name", "Bench add-on " + std::to_string(n)},
                     {"reviews", reviews}});
  }
  std::ofstream file(path);
  file << nlohmann::json{{"plugs", plugs}}.dump();
  return static_cast<bool>(file);
}

std::string GetKey(int port) {
  const auto reply = RawPost(port, ActionPath("get_captcha"), "");
  const auto json = nlohmann::json::parse(reply.body, nullptr, false);
  if (!reply.ok || !json.is_object() || json.value("msg", 0) != 13) return {};
  return json.value("key", "");
}

// The program's form body of get_plugs_rating for all bench add-ons.
std::string PlugsRatingBody(const std::string& key) {
  std::string ids = "%5B";
  for (int n = 0; n < kAddons; ++n) ids += (n ? ",\"" : "\"") + AddonId(n) + "\"";
  ids += "%5D";
  return "browser_id=1&plug_ids_json=" + ids + "&key=" + key;
}

// Service ids of the seeded add-ons are 1 to kAddons (inserted first, in order).
std::string AddCommentBody(int client, int64_t n, const std::string& key) {
  return "plug_id=" + std::to_string(1 + n % kAddons) + "&nickname=Bench%20client%20" +
         std::to_string(client) +
         "&content=Works%20as%20described,%20and%20the%20settings%20page%20is%20clear.%20"
         "Gr%C3%BC%C3%9Fe%20aus%20dem%20Benchmark%20" +
         std::to_string(n) + "&ver=1.0." + std::to_string(n % 7) +
         "&score=" + std::to_string(1 + n % 5) + "&key=" + key;
}

// Posts reviews: each client holds a key and takes a new one when it has reviewed every
// add-on once; code-4 ids are collected.
class ReviewPoster {
 public:
  ReviewPoster(int port, int clients) : port_(port), keys_(static_cast<size_t>(clients)) {}

  bool Post(int client, int64_t n) {
    std::string& key = keys_[static_cast<size_t>(client)];
    if (n % kAddons == 0 || key.empty()) key = GetKey(port_);
    if (key.empty()) return false;
    const auto reply = RawPost(port_, ActionPath("add_comment"), AddCommentBody(client, n, key));
    if (!reply.ok || reply.status != 200) return false;
    const auto json = nlohmann::json::parse(reply.body, nullptr, false);
    if (!json.is_object() || json.value("msg", 0) != 4) return false;
    std::lock_guard lock(mutex_);
    acknowledged_.insert(json.value("c_id", int64_t{0}));
    return true;
  }
  std::set<int64_t> acknowledged() {
    std::lock_guard lock(mutex_);
    return acknowledged_;
  }

 private:
  int port_;
  std::vector<std::string> keys_;
  std::mutex mutex_;
  std::set<int64_t> acknowledged_;
};

// Review ids beyond the seed, read straight from the database file.
std::set<int64_t> StoredReviewIds(const std::string& db_path, bool* intact) {
  std::set<int64_t> ids;
  sqlite3* db = nullptr;
  *intact = false;
  if (sqlite3_open_v2(db_path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
      *intact = std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "ok") == 0;
    }
    sqlite3_finalize(st);
    if (sqlite3_prepare_v2(db, "SELECT id FROM reviews WHERE id > ?1", -1, &st, nullptr) ==
        SQLITE_OK) {
      sqlite3_bind_int64(st, 1, sqlite3_int64{kAddons} * kSeedReviewsPerAddon);
      while (sqlite3_step(st) == SQLITE_ROW) ids.insert(sqlite3_column_int64(st, 0));
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return ids;
}

size_t MissingFrom(const std::set<int64_t>& wanted, const std::set<int64_t>& present) {
  size_t missing = 0;
  for (int64_t id : wanted) missing += present.count(id) == 0;
  return missing;
}

void PrintLoad(const char* name, const bench::LoadResult& r) {
  std::printf("%s_rps: %.0f req/s\n", name, r.rps());
  std::printf("%s_p50_ms: %.2f ms\n", name, r.PercentileMs(0.50));
  std::printf("%s_p99_ms: %.2f ms\n", name, r.PercentileMs(0.99));
  std::printf("%s_failed: %lld requests\n", name, static_cast<long long>(r.failed));
}

bool StartService(harness::ServiceProcess& service, const harness::TempFolder& temp, bool seed) {
  harness::ServiceLaunch launch;
  launch.db_path = temp.File("bench.db");
  launch.log_path = temp.File("service.log");
  if (seed) launch.seed_path = temp.File("seed.json");
  launch.extra_args = {"--reviews-per-minute", "0", "--keys-per-minute", "0"};
  std::string error;
  if (!service.Start(launch, &error)) {
    std::fprintf(stderr, "bench_service: %s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--baseline-server") == 0) return BaselineServer(argc, argv);
  }
  double seconds = 10;
  int clients = 8;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0)
      seconds = std::clamp(std::strtod(argv[i + 1], nullptr), 0.2, 60.0);
    if (std::strcmp(argv[i], "--clients") == 0)
      clients = static_cast<int>(std::clamp(std::strtol(argv[i + 1], nullptr, 10), 1L, 64L));
  }
  constexpr int64_t kMaxPerClient = 2'000'000;
  harness::TempFolder temp;
  if (temp.path().empty() || !WriteSeed(temp.File("seed.json"))) return 1;

  // 1. Baseline.
  harness::ServiceProcess baseline;
  harness::ServiceLaunch baseline_launch;
  // The harness passes --db and --port; the baseline server only reads --port.
  baseline_launch.executable = std::filesystem::read_symlink("/proc/self/exe").string();
  baseline_launch.db_path = "-";
  baseline_launch.log_path = temp.File("baseline.log");
  baseline_launch.extra_args = {"--baseline-server"};
  std::string error;
  if (!baseline.Start(baseline_launch, &error)) {
    std::fprintf(stderr, "bench_service: baseline: %s\n", error.c_str());
    return 1;
  }
  // 2. get_plugs_rating, in turns with the baseline so that both see the same machine
  // (other work on it comes and goes).
  harness::ServiceProcess service;
  if (!StartService(service, temp, true)) return 1;
  const std::string key = GetKey(service.port());
  const std::string body = PlugsRatingBody(key);
  const auto probe = RawPost(service.port(), ActionPath("get_plugs_rating"), body);
  const size_t lines = static_cast<size_t>(std::count(probe.body.begin(), probe.body.end(), '\n'));
  if (!probe.body.starts_with("msg=9\n") || lines != kAddons + 1) {
    std::fprintf(stderr, "bench_service: unexpected get_plugs_rating reply: %.200s\n",
                 probe.body.c_str());
    return 1;
  }
  const std::string baseline_body = PlugsRatingBody("0123456789abcdef0123456789abcdef");
  std::vector<bench::LoadResult> base_turns, rating_turns;
  constexpr int kTurns = 5;
  for (int turn = 0; turn < kTurns; ++turn) {
    base_turns.push_back(
        bench::RunLoad(clients, seconds / kTurns, kMaxPerClient, [&](int, int64_t) {
          const auto reply =
              RawPost(baseline.port(), ActionPath("get_plugs_rating"), baseline_body);
          return reply.ok && reply.status == 200;
        }));
    rating_turns.push_back(
        bench::RunLoad(clients, seconds / kTurns, kMaxPerClient, [&](int, int64_t) {
          const auto reply = RawPost(service.port(), ActionPath("get_plugs_rating"), body);
          return reply.ok && reply.status == 200 && reply.body.size() > 1000;
        }));
  }
  if (std::getenv("BENCH_TURNS") != nullptr) {
    for (int turn = 0; turn < kTurns; ++turn) {
      std::fprintf(stderr, "turn %d: baseline %.0f, plugs_rating %.0f\n", turn,
                   base_turns[turn].rps(), rating_turns[turn].rps());
    }
  }
  baseline.Stop(SIGTERM);
  const bench::LoadResult base = bench::Combine(base_turns);
  const bench::LoadResult ratings = bench::Combine(rating_turns);

  // 3. add_comment, then count what was stored.
  ReviewPoster poster(service.port(), clients);
  const auto comments = bench::RunLoad(clients, seconds, kMaxPerClient,
                                       [&](int c, int64_t n) { return poster.Post(c, n); });
  const int stop_code = service.Stop(SIGTERM);
  bool intact = false;
  const std::set<int64_t> acknowledged = poster.acknowledged();
  const std::set<int64_t> stored = StoredReviewIds(temp.File("bench.db"), &intact);

  // 4. SIGKILL in the middle of posting, then a restart.
  if (!StartService(service, temp, false)) return 1;
  ReviewPoster victim(service.port(), clients);
  std::atomic<bool> stop{false};
  std::thread killer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    service.Stop(SIGKILL);
    stop.store(true);
  });
  bench::RunLoad(
      clients, 5, kMaxPerClient, [&](int c, int64_t n) { return victim.Post(c, n); }, &stop);
  killer.join();
  const bool restarted = StartService(service, temp, false) && !GetKey(service.port()).empty();
  service.Stop(SIGTERM);
  bool intact_after_kill = false;
  const std::set<int64_t> after_kill = StoredReviewIds(temp.File("bench.db"), &intact_after_kill);
  const std::set<int64_t> acknowledged_before_kill = victim.acknowledged();

  std::printf("clients: %d\n", clients);
  std::printf("seconds_per_phase: %.1f s\n", seconds);
  std::printf("addons_per_request: %d\n", kAddons);
  std::printf("baseline_rps: %.0f req/s\n", base.rps());
  std::printf("baseline_p99_ms: %.2f ms\n", base.PercentileMs(0.99));
  PrintLoad("plugs_rating", ratings);
  std::printf("plugs_rating_vs_baseline: %.2f ratio\n",
              base.rps() > 0 ? ratings.rps() / base.rps() : 0);
  PrintLoad("add_comment", comments);
  std::printf("reviews_acknowledged: %zu reviews\n", acknowledged.size());
  std::printf("reviews_stored: %zu reviews\n", stored.size());
  std::printf("reviews_lost: %zu reviews\n", MissingFrom(acknowledged, stored));
  std::printf("reviews_unacknowledged: %zu reviews\n", MissingFrom(stored, acknowledged));
  std::printf("service_clean_stop: %s\n", stop_code == 0 && intact ? "yes" : "no");
  std::printf("kill_acknowledged: %zu reviews\n", acknowledged_before_kill.size());
  std::printf("kill_restart_opens: %s\n", restarted && intact_after_kill ? "yes" : "no");
  std::printf("kill_reviews_lost: %zu reviews\n",
              MissingFrom(acknowledged_before_kill, after_kill));
  const bool good = MissingFrom(acknowledged, stored) == 0 && restarted && intact_after_kill &&
                    MissingFrom(acknowledged_before_kill, after_kill) == 0;
  return good ? 0 : 1;
}
