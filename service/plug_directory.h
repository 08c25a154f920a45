#pragma once
// The star counts of every known add-on, held in memory so that the average ratings of a
// whole browser (hundreds of ids per request, the service's busiest action) are answered
// without touching the database. The store stays the truth: the directory is loaded from
// it at start and changed only after a write to it has been committed.
#include <array>
#include <cstdint>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "rating_store.h"

namespace orvo::service {

struct PlugSummary {
  int64_t id = 0;
  StarCounts stars{};
  // The value part of its get_plugs_rating line, "=4.25,12\n" (average, count), kept
  // ready because that action sends it for hundreds of add-ons per request.
  std::string rating_line;
};

// Average rounded to two decimals, as both reply forms send it.
double RoundedAverage(const StarCounts& stars);

// Average of the stars, 0 when nobody rated.
double AverageStars(const StarCounts& stars);
int64_t RatingCount(const StarCounts& stars);

class PlugDirectory {
 public:
  static constexpr int kBrowserSlots = 5;  // rating browser ids 0 to 4

  // Adds an add-on not yet known; a known one keeps its entry.
  void Put(const PlugRow& row);
  void AddStar(int64_t plug_id, int score);
  std::optional<PlugSummary> Find(int browser_id, std::string_view plug_key) const;
  // Calls visit(plug_key, summary) for each listed id the directory knows.
  template <class Visit>
  void VisitKnown(int browser_id, const std::vector<std::string>& plug_keys, Visit visit) const;

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  using Map = std::unordered_map<std::string, PlugSummary, Hash, std::equal_to<>>;
  struct Place {
    int browser_id;
    std::string plug_key;
  };

  mutable std::shared_mutex mutex_;
  std::array<Map, kBrowserSlots> by_browser_;
  std::unordered_map<int64_t, Place> place_of_id_;
};

template <class Visit>
void PlugDirectory::VisitKnown(int browser_id, const std::vector<std::string>& plug_keys,
                               Visit visit) const {
  if (browser_id < 0 || browser_id >= kBrowserSlots) return;
  std::shared_lock lock(mutex_);
  const Map& map = by_browser_[browser_id];
  for (const std::string& key : plug_keys) {
    const auto it = map.find(std::string_view(key));
    if (it != map.end()) visit(key, it->second);
  }
}

}  // namespace orvo::service
