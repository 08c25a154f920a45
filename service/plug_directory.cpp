// In-memory star counts of the known add-ons; see plug_directory.h.
#include "plug_directory.h"

#include <cmath>
#include <cstdio>
#include <mutex>

namespace orvo::service {

double AverageStars(const StarCounts& stars) {
  int64_t total = 0;
  int64_t weighted = 0;
  for (int s = 0; s < 5; ++s) {
    total += stars[s];
    weighted += stars[s] * (s + 1);
  }
  return total == 0 ? 0.0 : static_cast<double>(weighted) / static_cast<double>(total);
}

int64_t RatingCount(const StarCounts& stars) {
  int64_t total = 0;
  for (int64_t n : stars) total += n;
  return total;
}

double RoundedAverage(const StarCounts& stars) {
  return std::round(AverageStars(stars) * 100.0) / 100.0;
}

namespace {

void UpdateRatingLine(PlugSummary& plug) {
  char line[48];
  const int length = std::snprintf(line, sizeof line, "=%.2f,%lld\n", RoundedAverage(plug.stars),
                                   static_cast<long long>(RatingCount(plug.stars)));
  // An average of at most 5 and a 64-bit count always fit; a line cut short never goes out.
  plug.rating_line = length > 0 && static_cast<size_t>(length) < sizeof line ? line : "=0.00,0\n";
}

}  // namespace

void PlugDirectory::Put(const PlugRow& row) {
  if (row.browser_id < 0 || row.browser_id >= kBrowserSlots) return;
  std::unique_lock lock(mutex_);
  // Only a newcomer is taken: a known entry may already hold stars added after the
  // caller read its row.
  const auto [it, added] =
      by_browser_[row.browser_id].try_emplace(row.plug_key, PlugSummary{row.id, row.stars, {}});
  if (added) {
    UpdateRatingLine(it->second);
    place_of_id_[row.id] = Place{row.browser_id, row.plug_key};
  }
}

void PlugDirectory::AddStar(int64_t plug_id, int score) {
  if (score < 1 || score > 5) return;
  std::unique_lock lock(mutex_);
  const auto place = place_of_id_.find(plug_id);
  if (place == place_of_id_.end()) return;
  Map& map = by_browser_[place->second.browser_id];
  const auto it = map.find(std::string_view(place->second.plug_key));
  if (it != map.end()) {
    ++it->second.stars[score - 1];
    UpdateRatingLine(it->second);
  }
}

std::optional<PlugSummary> PlugDirectory::Find(int browser_id, std::string_view plug_key) const {
  if (browser_id < 0 || browser_id >= kBrowserSlots) return std::nullopt;
  std::shared_lock lock(mutex_);
  const Map& map = by_browser_[browser_id];
  const auto it = map.find(plug_key);
  if (it == map.end()) return std::nullopt;
  return it->second;
}

}  // namespace orvo::service
