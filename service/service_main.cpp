// orvo-rating-service: opens (and on first use seeds) the database, loads the known
// add-ons and keys, serves until SIGINT or SIGTERM, then closes the database cleanly.
// The signals are taken by a thread of their own with sigwait, so the stop request runs
// as ordinary code rather than inside a signal handler.
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "http_front.h"
#include "key_registry.h"
#include "plug_directory.h"
#include "rating_service.h"
#include "rating_store.h"
#include "seed_file.h"
#include "service_options.h"

namespace {

using namespace orvo::service;

int Fail(const std::string& message) {
  std::fprintf(stderr, "orvo-rating-service: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  ServiceOptions options;
  std::string error;
  if (!ParseServiceOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "orvo-rating-service: %s\n%s", error.c_str(), ServiceUsage());
    return 2;
  }
  if (options.help) {
    std::fputs(ServiceUsage(), stdout);
    return 0;
  }

  // Blocked before any thread starts, so every thread inherits the mask and only the
  // signal thread receives them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  // Every open connection is a descriptor: take what the system allows, and keep the
  // connection limit below it with room for the database and the site's files.
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0) {
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    getrlimit(RLIMIT_NOFILE, &files);
    constexpr rlim_t kReserved = 64;
    if (files.rlim_cur != RLIM_INFINITY &&
        options.front.max_connections + kReserved > files.rlim_cur) {
      options.front.max_connections =
          files.rlim_cur > 2 * kReserved ? files.rlim_cur - kReserved : kReserved;
      std::fprintf(stderr, "orvo-rating-service: at most %zu connections (open file limit)\n",
                   options.front.max_connections);
    }
  }

  auto store = RatingStore::Open(options.db_path, options.store, &error);
  if (!store) return Fail(error);
  if (!options.seed_path.empty()) {
    std::vector<SeedPlug> seed;
    if (!ReadSeedFile(options.seed_path, &seed, &error)) return Fail(error);
    if (!store->ApplySeed(seed)) return Fail("cannot write the seed into " + options.db_path);
  }
  PlugDirectory plugs;
  for (const PlugRow& row : store->LoadPlugs()) plugs.Put(row);
  KeyRegistry keys(*store, options.keys, SystemClock());
  keys.LoadFromStore();
  RatingService service(*store, keys, plugs, SystemClock());

  HttpFront front(service, options.front, stdout);
  if (!front.Bind(&error)) return Fail(error);
  std::printf("listening on http://%s:%d\n", options.front.host.c_str(), front.port());
  std::fflush(stdout);

  std::atomic<bool> finished{false};
  std::thread signal_thread([&] {
    int received = 0;
    sigwait(&stop_signals, &received);
    // Stop may come before the server loop has started; repeat until the loop has ended.
    while (!finished.load()) {
      front.Stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  const bool served = front.Run();
  finished.store(true);
  // Wakes a still waiting sigwait: every thread blocks the signal, so the one sent to the
  // process goes to the thread that waits for it.
  kill(getpid(), SIGTERM);
  signal_thread.join();
  store.reset();
  std::printf("stopped\n");
  return served ? 0 : 1;
}
