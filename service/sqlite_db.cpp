// SQLite connection, statement and transaction owners; see sqlite_db.h.
#include "sqlite_db.h"

#include <utility>

namespace orvo::service {

Database::~Database() { Close(); }

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), open_error_(std::move(other.open_error_)) {}

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    Close();
    db_ = std::exchange(other.db_, nullptr);
    open_error_ = std::move(other.open_error_);
  }
  return *this;
}

bool Database::Open(const std::string& path, bool create, int busy_timeout_ms) {
  Close();
  open_error_.clear();
  // URI names let an operator open a database read-only ("file:ratings.db?mode=ro").
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | (create ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    // SQLite hands back a handle even when the open fails (only to say why): keep the
    // reason, free the handle, and stay closed.
    open_error_ = db_ ? sqlite3_errmsg(db_) : "out of memory";
    Close();
    return false;
  }
  sqlite3_busy_timeout(db_, busy_timeout_ms);
  sqlite3_extended_result_codes(db_, 1);
  return true;
}

void Database::Close() {
  if (db_ != nullptr) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
}

bool Database::Exec(std::string_view sql) {
  if (db_ == nullptr) return false;
  const std::string text(sql);
  return sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

Statement Database::Prepare(std::string_view sql) {
  if (db_ == nullptr) return {};
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr) !=
      SQLITE_OK) {
    return {};
  }
  return Statement(db_, stmt);
}

int64_t Database::LastInsertId() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

int Database::Changes() const { return db_ ? sqlite3_changes(db_) : 0; }

std::string Database::error() const {
  if (db_) return sqlite3_errmsg(db_);
  return open_error_.empty() ? "database not open" : open_error_;
}

Statement::~Statement() {
  if (stmt_ != nullptr) sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_),
      stmt_(std::exchange(other.stmt_, nullptr)),
      bind_failed_(other.bind_failed_) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    if (stmt_ != nullptr) sqlite3_finalize(stmt_);
    db_ = other.db_;
    stmt_ = std::exchange(other.stmt_, nullptr);
    bind_failed_ = other.bind_failed_;
  }
  return *this;
}

Statement& Statement::Bind(int index, int64_t value) {
  if (stmt_ == nullptr || sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) {
    bind_failed_ = true;
  }
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  // SQLITE_TRANSIENT: SQLite copies, so the caller's buffer may go away before Step.
  if (stmt_ == nullptr || sqlite3_bind_text64(stmt_, index, text.data(), text.size(),
                                              SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK) {
    bind_failed_ = true;
  }
  return *this;
}

int Statement::Step() {
  if (stmt_ == nullptr || bind_failed_) return SQLITE_MISUSE;
  return sqlite3_step(stmt_);
}

bool Statement::Run() {
  int rc = Step();
  while (rc == SQLITE_ROW) rc = Step();
  return rc == SQLITE_DONE;
}

void Statement::Reset() {
  if (stmt_ == nullptr) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  bind_failed_ = false;
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  if (text == nullptr) return {};
  return std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

Transaction::Transaction(Database& db) : db_(db) { begun_ = db_.Exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (begun_ && !done_) db_.Exec("ROLLBACK");
}

bool Transaction::Commit() {
  if (!begun_ || done_) return false;
  done_ = db_.Exec("COMMIT");
  return done_;
}

}  // namespace orvo::service
