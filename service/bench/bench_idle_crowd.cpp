// bench_idle_crowd: how the rating service answers ordinary clients while a crowd of
// connections sits open doing nothing (or stalls half-way through a request). Three timed
// phases of --seconds each (5 by default) with --clients clients (2) posting
// get_plugs_rating back to back: alone, beside --crowd silent connections (500), and
// beside as many connections that announced a body and sent a tenth of it. The crowd
// opens again every connection the service closes. Output: name: value unit.
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "load_run.h"
#include "service/harness/idle_crowd.h"
#include "service/harness/raw_http.h"
#include "service/harness/service_process.h"

namespace {

using namespace orvo::service;

bench::LoadResult Measure(int port, const std::string& body, int clients, double seconds) {
  return bench::RunLoad(clients, seconds, 1'000'000, [&](int, int64_t) {
    const auto reply = harness::RawPost(port, harness::ActionPath("get_plugs_rating"), body, 10000);
    return reply.ok && reply.status == 200 && reply.body.starts_with("msg=9");
  });
}

void Print(const char* name, const bench::LoadResult& r) {
  std::printf("%s_p50_ms: %.2f ms\n", name, r.PercentileMs(0.50));
  std::printf("%s_p99_ms: %.2f ms\n", name, r.PercentileMs(0.99));
  std::printf("%s_answered: %lld requests\n", name, static_cast<long long>(r.succeeded));
  std::printf("%s_failed: %lld requests\n", name, static_cast<long long>(r.failed));
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 5;
  int clients = 2, crowd_size = 500;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0)
      seconds = std::clamp(std::strtod(argv[i + 1], nullptr), 0.5, 120.0);
    if (std::strcmp(argv[i], "--clients") == 0)
      clients = static_cast<int>(std::clamp(std::strtol(argv[i + 1], nullptr, 10), 1L, 64L));
    if (std::strcmp(argv[i], "--crowd") == 0)
      crowd_size = static_cast<int>(std::clamp(std::strtol(argv[i + 1], nullptr, 10), 1L, 5000L));
  }
  signal(SIGPIPE, SIG_IGN);
  harness::TempFolder temp;
  harness::ServiceProcess service;
  harness::ServiceLaunch launch = harness::LaunchIn(temp);
  launch.extra_args = {"--keys-per-minute", "0"};
  std::string error;
  if (!service.Start(launch, &error)) {
    std::fprintf(stderr, "bench_idle_crowd: %s\n", error.c_str());
    return 1;
  }
  const auto grant = harness::RawPost(service.port(), harness::ActionPath("get_captcha"), "");
  const auto json = nlohmann::json::parse(grant.body, nullptr, false);
  if (!json.is_object() || json.value("msg", 0) != 13) {
    std::fprintf(stderr, "bench_idle_crowd: no key: %.200s\n", grant.body.c_str());
    return 1;
  }
  const std::string body =
      "browser_id=1&plug_ids_json=%5B%22a%22,%22b%22%5D&key=" + json.value("key", std::string());

  const bench::LoadResult alone = Measure(service.port(), body, clients, seconds);
  harness::IdleCrowd crowd;
  const bool opened = crowd.Start(service.port(), crowd_size, harness::Stall::kSilent);
  const bench::LoadResult silent = Measure(service.port(), body, clients, seconds);
  const int64_t silent_closed = crowd.closed_by_service();
  crowd.Stop();
  const bool opened_short = crowd.Start(service.port(), crowd_size, harness::Stall::kShortBody);
  const bench::LoadResult short_body = Measure(service.port(), body, clients, seconds);
  const int64_t short_closed = crowd.closed_by_service();
  crowd.Stop();
  const int stop_code = service.Stop(SIGTERM);

  std::printf("clients: %d\n", clients);
  std::printf("seconds_per_phase: %.1f s\n", seconds);
  std::printf("crowd: %d connections\n", crowd_size);
  std::printf("crowd_opened: %s\n", opened && opened_short ? "yes" : "no");
  Print("alone", alone);
  Print("silent_crowd", silent);
  std::printf("silent_crowd_closed_by_service: %lld connections\n",
              static_cast<long long>(silent_closed));
  Print("short_body_crowd", short_body);
  std::printf("short_body_crowd_closed_by_service: %lld connections\n",
              static_cast<long long>(short_closed));
  std::printf("service_clean_stop: %s\n", stop_code == 0 ? "yes" : "no");
  return stop_code == 0 ? 0 : 1;
}
