// Timed multi-client load; see load_run.h.
#include "load_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace orvo::service::bench {

double LoadResult::PercentileMs(double fraction) const {
  if (latencies_ms.empty()) return 0;
  const auto rank =
      static_cast<size_t>(std::ceil(fraction * static_cast<double>(latencies_ms.size())));
  return latencies_ms[std::clamp<size_t>(rank, 1, latencies_ms.size()) - 1];
}

LoadResult Combine(const std::vector<LoadResult>& runs) {
  LoadResult total;
  for (const LoadResult& run : runs) {
    total.succeeded += run.succeeded;
    total.failed += run.failed;
    total.seconds += run.seconds;
    total.latencies_ms.insert(total.latencies_ms.end(), run.latencies_ms.begin(),
                              run.latencies_ms.end());
  }
  std::sort(total.latencies_ms.begin(), total.latencies_ms.end());
  return total;
}

LoadResult RunLoad(int clients, double seconds, int64_t max_per_client,
                   const std::function<bool(int client, int64_t n)>& request,
                   const std::atomic<bool>* stop) {
  using Clock = std::chrono::steady_clock;
  struct ClientResult {
    int64_t failed = 0;
    std::vector<double> latencies;
  };
  std::vector<ClientResult> results(static_cast<size_t>(clients));
  const auto start = Clock::now();
  const auto deadline =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  std::vector<std::thread> threads;
  threads.reserve(static_cast<size_t>(clients));
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&, c] {
      ClientResult& mine = results[static_cast<size_t>(c)];
      for (int64_t n = 0; n < max_per_client && Clock::now() < deadline; ++n) {
        if (stop != nullptr && stop->load()) break;
        const auto before = Clock::now();
        const bool ok = request(c, n);
        const std::chrono::duration<double, std::milli> took = Clock::now() - before;
        if (ok) {
          mine.latencies.push_back(took.count());
        } else {
          ++mine.failed;
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  LoadResult total;
  total.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (ClientResult& r : results) {
    total.failed += r.failed;
    total.latencies_ms.insert(total.latencies_ms.end(), r.latencies.begin(), r.latencies.end());
  }
  total.succeeded = static_cast<int64_t>(total.latencies_ms.size());
  std::sort(total.latencies_ms.begin(), total.latencies_ms.end());
  return total;
}

}  // namespace orvo::service::bench
