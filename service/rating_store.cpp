// SQLite storage of the rating service; see rating_store.h for the shape.
#include "rating_store.h"

#include <algorithm>
#include <cstdio>

namespace orvo::service {
namespace {

constexpr std::string_view kSchema = R"sql(
CREATE TABLE IF NOT EXISTS meta(name TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS users(
  id INTEGER PRIMARY KEY,
  key TEXT UNIQUE,
  granted_at INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS users_with_key ON users(granted_at) WHERE key IS NOT NULL;
CREATE TABLE IF NOT EXISTS plugs(
  id INTEGER PRIMARY KEY,
  browser_id INTEGER NOT NULL,
  plug_key TEXT NOT NULL,
  name TEXT NOT NULL,
  introduction TEXT NOT NULL,
  stars1 INTEGER NOT NULL DEFAULT 0,
  stars2 INTEGER NOT NULL DEFAULT 0,
  stars3 INTEGER NOT NULL DEFAULT 0,
  stars4 INTEGER NOT NULL DEFAULT 0,
  stars5 INTEGER NOT NULL DEFAULT 0,
  created_at INTEGER NOT NULL,
  UNIQUE(browser_id, plug_key));
CREATE TABLE IF NOT EXISTS reviews(
  id INTEGER PRIMARY KEY,
  plug_id INTEGER NOT NULL REFERENCES plugs(id),
  user_id INTEGER NOT NULL REFERENCES users(id),
  nickname TEXT NOT NULL,
  content TEXT NOT NULL,
  ver TEXT NOT NULL,
  score INTEGER NOT NULL CHECK(score BETWEEN 1 AND 5),
  created_at INTEGER NOT NULL,
  likes INTEGER NOT NULL DEFAULT 0,
  dislikes INTEGER NOT NULL DEFAULT 0,
  reports INTEGER NOT NULL DEFAULT 0,
  UNIQUE(plug_id, user_id));
CREATE INDEX IF NOT EXISTS reviews_by_user ON reviews(user_id);
CREATE INDEX IF NOT EXISTS reviews_by_date ON reviews(plug_id, created_at DESC, id DESC);
CREATE INDEX IF NOT EXISTS reviews_by_use
  ON reviews(plug_id, (likes - dislikes) DESC, created_at DESC, id DESC);
CREATE TABLE IF NOT EXISTS marks(
  review_id INTEGER NOT NULL REFERENCES reviews(id),
  user_id INTEGER NOT NULL REFERENCES users(id),
  kind INTEGER NOT NULL,
  value INTEGER NOT NULL,
  created_at INTEGER NOT NULL,
  PRIMARY KEY(review_id, user_id, kind)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS marks_by_user ON marks(user_id);
INSERT OR IGNORE INTO meta(name, value) VALUES('schema', '1');
)sql";

// One statement adds a star of any score: each column grows by the truth value 0 or 1.
constexpr std::string_view kAddStar =
    "UPDATE plugs SET stars1 = stars1 + (?2 = 1), stars2 = stars2 + (?2 = 2), "
    "stars3 = stars3 + (?2 = 3), stars4 = stars4 + (?2 = 4), stars5 = stars5 + (?2 = 5) "
    "WHERE id = ?1";

constexpr std::string_view kInsertReview =
    "INSERT INTO reviews(plug_id, user_id, nickname, content, ver, score, created_at, likes, "
    "dislikes) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)";

void LogDbError(Database& db, const char* what) {
  std::fprintf(stderr, "rating-store: %s: %s\n", what, db.error().c_str());
}

bool Exists(Database& db, std::string_view sql, int64_t id) {
  Statement st = db.Prepare(sql);
  st.Bind(1, id);
  return st.Step() == SQLITE_ROW;
}

std::optional<PlugRow> FindPlug(Database& db, int browser_id, const std::string& plug_key) {
  Statement st = db.Prepare(
      "SELECT id, stars1, stars2, stars3, stars4, stars5 FROM plugs "
      "WHERE browser_id = ?1 AND plug_key = ?2");
  st.Bind(1, browser_id).Bind(2, plug_key);
  if (st.Step() != SQLITE_ROW) return std::nullopt;
  PlugRow row{st.Int(0), browser_id, plug_key, {}};
  for (int s = 0; s < 5; ++s) row.stars[s] = st.Int(1 + s);
  return row;
}

}  // namespace

class RatingStore::ReaderLease {
 public:
  explicit ReaderLease(RatingStore& store) : store_(store), db_(store.TakeReader()) {}
  ~ReaderLease() {
    if (db_) store_.ReturnReader(std::move(db_));
  }
  ReaderLease(const ReaderLease&) = delete;
  ReaderLease& operator=(const ReaderLease&) = delete;
  Database* get() { return db_.get(); }

 private:
  RatingStore& store_;
  std::unique_ptr<Database> db_;
};

RatingStore::RatingStore(std::string path, const StoreOptions& options)
    : path_(std::move(path)), options_(options) {}

RatingStore::~RatingStore() = default;

std::unique_ptr<RatingStore> RatingStore::Open(const std::string& path, const StoreOptions& options,
                                               std::string* error) {
  std::unique_ptr<RatingStore> store(new RatingStore(path, options));
  if (!store->writer_.Open(path, true, options.busy_timeout_ms)) {
    if (error) *error = "cannot open " + path + ": " + store->writer_.error();
    return nullptr;
  }
  // A read-only database is served as it is: reads answer, writes fail with their codes.
  const bool read_only = store->writer_.IsReadOnly();
  if (!store->writer_.Exec("PRAGMA journal_mode = WAL") || !store->Configure(store->writer_) ||
      !(read_only ? store->HasSchema() : store->CreateSchema())) {
    if (error) *error = "cannot prepare " + path + ": " + store->writer_.error();
    return nullptr;
  }
  if (read_only) std::fprintf(stderr, "rating-store: %s is read-only\n", path.c_str());
  if (options.max_bytes > 0) {
    Statement size = store->writer_.Prepare("PRAGMA page_size");
    const int64_t page = size.Step() == SQLITE_ROW ? size.Int(0) : 4096;
    const int64_t pages = std::max<int64_t>(1, options.max_bytes / std::max<int64_t>(page, 512));
    if (!store->writer_.Exec("PRAGMA max_page_count = " + std::to_string(pages))) {
      if (error) *error = "cannot limit " + path + ": " + store->writer_.error();
      return nullptr;
    }
  }
  return store;
}

bool RatingStore::Configure(Database& db) {
  return db.Exec(options_.full_sync ? "PRAGMA synchronous = FULL"
                                    : "PRAGMA synchronous = NORMAL") &&
         db.Exec("PRAGMA foreign_keys = ON");
}

bool RatingStore::HasSchema() {
  Statement st = writer_.Prepare("SELECT value FROM meta WHERE name = 'schema'");
  return st.Step() == SQLITE_ROW;
}

bool RatingStore::CreateSchema() {
  Transaction tx(writer_);
  return tx.begun() && writer_.Exec(kSchema) && tx.Commit();
}

std::unique_ptr<Database> RatingStore::TakeReader() {
  {
    std::lock_guard lock(readers_mutex_);
    if (!readers_.empty()) {
      auto db = std::move(readers_.back());
      readers_.pop_back();
      return db;
    }
  }
  auto db = std::make_unique<Database>();
  if (!db->Open(path_, false, options_.busy_timeout_ms) || !Configure(*db)) {
    LogDbError(*db, "opening a reader");
    return nullptr;
  }
  return db;
}

void RatingStore::ReturnReader(std::unique_ptr<Database> db) {
  std::lock_guard lock(readers_mutex_);
  readers_.push_back(std::move(db));
}

std::optional<int64_t> RatingStore::AddUser(const std::string& key, int64_t granted_at) {
  std::lock_guard lock(write_mutex_);
  Statement st = writer_.Prepare("INSERT INTO users(key, granted_at) VALUES(?1, ?2)");
  st.Bind(1, key).Bind(2, granted_at);
  if (!st.Run()) {
    LogDbError(writer_, "storing a key");
    return std::nullopt;
  }
  return writer_.LastInsertId();
}

std::vector<KeyRow> RatingStore::LoadKeys(int64_t granted_after) {
  std::lock_guard lock(write_mutex_);
  std::vector<KeyRow> keys;
  Statement st = writer_.Prepare(
      "SELECT id, key, granted_at FROM users WHERE key IS NOT NULL AND granted_at > ?1");
  st.Bind(1, granted_after);
  while (st.Step() == SQLITE_ROW) keys.push_back({st.Int(0), st.Text(1), st.Int(2)});
  return keys;
}

bool RatingStore::ForgetKeys(int64_t granted_before) {
  std::lock_guard lock(write_mutex_);
  Transaction tx(writer_);
  Statement drop = writer_.Prepare(
      "DELETE FROM users WHERE key IS NOT NULL AND granted_at < ?1 "
      "AND NOT EXISTS(SELECT 1 FROM reviews WHERE reviews.user_id = users.id) "
      "AND NOT EXISTS(SELECT 1 FROM marks WHERE marks.user_id = users.id)");
  drop.Bind(1, granted_before);
  Statement keep =
      writer_.Prepare("UPDATE users SET key = NULL WHERE key IS NOT NULL AND granted_at < ?1");
  keep.Bind(1, granted_before);
  if (!tx.begun() || !drop.Run() || !keep.Run() || !tx.Commit()) {
    LogDbError(writer_, "forgetting keys");
    return false;
  }
  return true;
}

int64_t RatingStore::UserCount() {
  std::lock_guard lock(write_mutex_);
  Statement st = writer_.Prepare("SELECT count(*) FROM users");
  return st.Step() == SQLITE_ROW ? st.Int(0) : -1;
}

std::vector<PlugRow> RatingStore::LoadPlugs() {
  std::lock_guard lock(write_mutex_);
  std::vector<PlugRow> plugs;
  Statement st = writer_.Prepare(
      "SELECT id, browser_id, plug_key, stars1, stars2, stars3, stars4, stars5 FROM plugs");
  while (st.Step() == SQLITE_ROW) {
    PlugRow row{st.Int(0), static_cast<int>(st.Int(1)), st.Text(2), {}};
    for (int s = 0; s < 5; ++s) row.stars[s] = st.Int(3 + s);
    plugs.push_back(std::move(row));
  }
  return plugs;
}

std::optional<PlugRow> RatingStore::AddPlug(int browser_id, const std::string& plug_key,
                                            const std::string& name,
                                            const std::string& introduction, int64_t now) {
  std::lock_guard lock(write_mutex_);
  Statement st = writer_.Prepare(
      "INSERT INTO plugs(browser_id, plug_key, name, introduction, created_at) "
      "VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(browser_id, plug_key) DO NOTHING");
  st.Bind(1, browser_id).Bind(2, plug_key).Bind(3, name).Bind(4, introduction).Bind(5, now);
  if (!st.Run()) {
    LogDbError(writer_, "registering an add-on");
    return std::nullopt;
  }
  return FindPlug(writer_, browser_id, plug_key);
}

ReviewOutcome RatingStore::AddReview(const NewReview& review, int64_t* review_id) {
  std::lock_guard lock(write_mutex_);
  Transaction tx(writer_);
  if (!tx.begun()) {
    LogDbError(writer_, "starting a review");
    return ReviewOutcome::kFailed;
  }
  if (!Exists(writer_, "SELECT 1 FROM plugs WHERE id = ?1", review.plug_id)) {
    return ReviewOutcome::kNoSuchPlug;
  }
  Statement insert = writer_.Prepare(kInsertReview);
  insert.Bind(1, review.plug_id).Bind(2, review.user_id).Bind(3, review.nickname);
  insert.Bind(4, review.content).Bind(5, review.ver).Bind(6, review.score);
  insert.Bind(7, review.created_at).Bind(8, 0).Bind(9, 0);
  const int rc = insert.Step();
  if (rc == SQLITE_CONSTRAINT_UNIQUE) return ReviewOutcome::kAlreadyReviewed;
  if (rc != SQLITE_DONE) {
    LogDbError(writer_, "storing a review");
    return ReviewOutcome::kFailed;
  }
  const int64_t id = writer_.LastInsertId();
  Statement star = writer_.Prepare(kAddStar);
  star.Bind(1, review.plug_id).Bind(2, review.score);
  if (!star.Run() || !tx.Commit()) {
    LogDbError(writer_, "committing a review");
    return ReviewOutcome::kFailed;
  }
  if (review_id) *review_id = id;
  return ReviewOutcome::kStored;
}

std::optional<std::vector<ReviewRow>> RatingStore::ReviewPage(int64_t plug_id, SortOrder order,
                                                              int64_t offset, int limit) {
  ReaderLease reader(*this);
  if (reader.get() == nullptr) return std::nullopt;
  Statement st = reader.get()->Prepare(
      order == SortOrder::kDate
          ? "SELECT id, nickname, content, score, created_at FROM reviews WHERE plug_id = ?1 "
            "ORDER BY created_at DESC, id DESC LIMIT ?2 OFFSET ?3"
          : "SELECT id, nickname, content, score, created_at FROM reviews WHERE plug_id = ?1 "
            "ORDER BY (likes - dislikes) DESC, created_at DESC, id DESC LIMIT ?2 OFFSET ?3");
  st.Bind(1, plug_id).Bind(2, limit).Bind(3, offset);
  std::vector<ReviewRow> rows;
  int rc = st.Step();
  for (; rc == SQLITE_ROW; rc = st.Step()) {
    rows.push_back({st.Int(0), st.Text(1), st.Text(2), static_cast<int>(st.Int(3)), st.Int(4)});
  }
  if (rc != SQLITE_DONE) {
    LogDbError(*reader.get(), "reading reviews");
    return std::nullopt;
  }
  return rows;
}

MarkOutcome RatingStore::MarkReview(int64_t review_id, int64_t user_id, MarkKind kind,
                                    int64_t now) {
  const int value = kind == MarkKind::kLike ? 1 : kind == MarkKind::kDislike ? 0 : 2;
  std::lock_guard lock(write_mutex_);
  Transaction tx(writer_);
  if (!tx.begun()) {
    LogDbError(writer_, "starting a mark");
    return MarkOutcome::kFailed;
  }
  if (!Exists(writer_, "SELECT 1 FROM reviews WHERE id = ?1", review_id)) {
    return MarkOutcome::kNoSuchReview;
  }
  Statement insert = writer_.Prepare(
      "INSERT INTO marks(review_id, user_id, kind, value, created_at) VALUES(?1, ?2, ?3, ?4, ?5) "
      "ON CONFLICT DO NOTHING");
  insert.Bind(1, review_id).Bind(2, user_id).Bind(3, kind == MarkKind::kReport ? 1 : 0);
  insert.Bind(4, value).Bind(5, now);
  if (!insert.Run()) {
    LogDbError(writer_, "storing a mark");
    return MarkOutcome::kFailed;
  }
  if (writer_.Changes() == 0) return MarkOutcome::kAlreadyMarked;
  Statement count = writer_.Prepare(
      "UPDATE reviews SET likes = likes + (?2 = 1), dislikes = dislikes + (?2 = 0), "
      "reports = reports + (?2 = 2) WHERE id = ?1");
  count.Bind(1, review_id).Bind(2, value);
  if (!count.Run() || !tx.Commit()) {
    LogDbError(writer_, "committing a mark");
    return MarkOutcome::kFailed;
  }
  return MarkOutcome::kStored;
}

bool RatingStore::IsSeeded() {
  std::lock_guard lock(write_mutex_);
  Statement st = writer_.Prepare("SELECT 1 FROM meta WHERE name = 'seeded'");
  return st.Step() == SQLITE_ROW;
}

bool RatingStore::ApplySeed(const std::vector<SeedPlug>& plugs) {
  std::lock_guard lock(write_mutex_);
  auto fail = [this] {
    LogDbError(writer_, "writing the seed");
    return false;
  };
  Transaction tx(writer_);
  if (!tx.begun()) return fail();
  Statement seeded = writer_.Prepare("SELECT 1 FROM meta WHERE name = 'seeded'");
  if (seeded.Step() == SQLITE_ROW) return true;
  for (const SeedPlug& plug : plugs) {
    Statement add = writer_.Prepare(
        "INSERT INTO plugs(browser_id, plug_key, name, introduction, created_at) "
        "VALUES(?1, ?2, ?3, ?4, 0) ON CONFLICT(browser_id, plug_key) DO NOTHING");
    add.Bind(1, plug.browser_id).Bind(2, plug.plug_key).Bind(3, plug.name);
    add.Bind(4, plug.introduction);
    if (!add.Run()) return fail();
    const auto row = FindPlug(writer_, plug.browser_id, plug.plug_key);
    if (!row) return fail();
    for (const SeedReview& review : plug.reviews) {
      Statement user = writer_.Prepare("INSERT INTO users(key, granted_at) VALUES(NULL, ?1)");
      user.Bind(1, review.created_at);
      if (!user.Run()) return fail();
      Statement insert = writer_.Prepare(kInsertReview);
      insert.Bind(1, row->id).Bind(2, writer_.LastInsertId()).Bind(3, review.nickname);
      insert.Bind(4, review.content).Bind(5, review.ver).Bind(6, review.score);
      insert.Bind(7, review.created_at).Bind(8, review.likes).Bind(9, review.dislikes);
      Statement star = writer_.Prepare(kAddStar);
      star.Bind(1, row->id).Bind(2, review.score);
      if (!insert.Run() || !star.Run()) return fail();
    }
  }
  if (!writer_.Exec("INSERT INTO meta(name, value) VALUES('seeded', '1')") || !tx.Commit()) {
    return fail();
  }
  return true;
}

}  // namespace orvo::service
