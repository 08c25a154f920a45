#pragma once
// The service's durable state in one SQLite file (WAL journal): users (one per granted
// key), add-ons with their star counts, reviews, and the marks users put on reviews (one
// like-or-dislike and one report per user and review, enforced by the primary key).
// Writes go through one connection under a mutex, so they never wait on each other inside
// SQLite; reads take a connection of their own from a small pool and run beside them.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sqlite_db.h"

namespace orvo::service {

using StarCounts = std::array<int64_t, 5>;  // index 0 = one star

struct PlugRow {
  int64_t id = 0;
  int browser_id = 0;
  std::string plug_key;  // the add-on's own identifier
  StarCounts stars{};
};

struct ReviewRow {
  int64_t id = 0;
  std::string nickname;
  std::string content;
  int score = 0;
  int64_t created_at = 0;  // Unix seconds
};

struct NewReview {
  int64_t plug_id = 0;
  int64_t user_id = 0;
  std::string nickname;
  std::string content;
  std::string ver;
  int score = 0;
  int64_t created_at = 0;
};

struct KeyRow {
  int64_t user_id = 0;
  std::string key;
  int64_t granted_at = 0;
};

// Demo data: reviews carry their own date and vote counts and count as separate users.
struct SeedReview {
  std::string nickname, content, ver;
  int score = 0;
  int64_t created_at = 0;
  int64_t likes = 0, dislikes = 0;
};
struct SeedPlug {
  int browser_id = 0;
  std::string plug_key, name, introduction;
  std::vector<SeedReview> reviews;
};

enum class SortOrder { kUsefulness = 0, kDate = 1 };
enum class ReviewOutcome { kStored, kNoSuchPlug, kAlreadyReviewed, kFailed };
enum class MarkKind { kLike, kDislike, kReport };
enum class MarkOutcome { kStored, kNoSuchReview, kAlreadyMarked, kFailed };

struct StoreOptions {
  // FULL makes every commit survive a power cut; NORMAL (the default) survives a crash
  // or kill of the process, which is what WAL promises without a sync per commit.
  bool full_sync = false;
  int busy_timeout_ms = 5000;
  // The largest the database may grow, in bytes (0: no limit); beyond it writes fail as on
  // a full disk.
  int64_t max_bytes = 0;
};

class RatingStore {
 public:
  static std::unique_ptr<RatingStore> Open(const std::string& path, const StoreOptions& options,
                                           std::string* error);
  ~RatingStore();
  RatingStore(const RatingStore&) = delete;
  RatingStore& operator=(const RatingStore&) = delete;

  std::optional<int64_t> AddUser(const std::string& key, int64_t granted_at);
  std::vector<KeyRow> LoadKeys(int64_t granted_after);
  // Ends the grants made before the time: users who wrote nothing are deleted (nobody can
  // act as them again), the others keep their id for their reviews and marks.
  bool ForgetKeys(int64_t granted_before);

  std::vector<PlugRow> LoadPlugs();
  // Registers the add-on unless known; returns the stored row either way.
  std::optional<PlugRow> AddPlug(int browser_id, const std::string& plug_key,
                                 const std::string& name, const std::string& introduction,
                                 int64_t now);

  ReviewOutcome AddReview(const NewReview& review, int64_t* review_id);
  // Up to limit reviews from offset; empty optional when the database failed.
  std::optional<std::vector<ReviewRow>> ReviewPage(int64_t plug_id, SortOrder order, int64_t offset,
                                                   int limit);
  MarkOutcome MarkReview(int64_t review_id, int64_t user_id, MarkKind kind, int64_t now);

  // Writes the demo data once per database; false when it failed (nothing written).
  bool ApplySeed(const std::vector<SeedPlug>& plugs);
  bool IsSeeded();
  // Rows of the users table (granted keys still alive, and users who wrote something).
  int64_t UserCount();

 private:
  class ReaderLease;
  explicit RatingStore(std::string path, const StoreOptions& options);
  bool Configure(Database& db);
  bool CreateSchema();
  bool HasSchema();
  std::unique_ptr<Database> TakeReader();
  void ReturnReader(std::unique_ptr<Database> db);

  std::string path_;
  StoreOptions options_;
  std::mutex write_mutex_;
  Database writer_;
  std::mutex readers_mutex_;
  std::vector<std::unique_ptr<Database>> readers_;
};

}  // namespace orvo::service
