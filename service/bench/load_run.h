#pragma once
// A fixed number of client threads sending requests back to back for a fixed time; each
// request's latency is recorded so the run gives requests per second and percentiles.
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace orvo::service::bench {

struct LoadResult {
  int64_t succeeded = 0;
  int64_t failed = 0;
  double seconds = 0;
  std::vector<double> latencies_ms;  // of the successful requests, sorted

  double rps() const { return seconds > 0 ? static_cast<double>(succeeded) / seconds : 0; }
  double PercentileMs(double fraction) const;
};

// One result of several runs (their times and requests added up).
LoadResult Combine(const std::vector<LoadResult>& runs);

// Calls request(client, n) from `clients` threads until `seconds` have passed, a client
// has sent max_per_client requests, or stop is set; request returns whether it succeeded.
LoadResult RunLoad(int clients, double seconds, int64_t max_per_client,
                   const std::function<bool(int client, int64_t n)>& request,
                   const std::atomic<bool>* stop = nullptr);

}  // namespace orvo::service::bench
