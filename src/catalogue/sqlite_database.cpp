// The SQLite connection: open, prepare with bound parameters, run, close.
#include "catalogue/sqlite_database.h"

#include <sqlite3.h>

#include <utility>

#include "catalogue/sqlite_table.h"

namespace orvo {

SqlStatement::~SqlStatement() { sqlite3_finalize(stmt_); }

SqlStatement::SqlStatement(SqlStatement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)) {}

SqlStatement& SqlStatement::operator=(SqlStatement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

TSQLiteDatabase::TSQLiteDatabase(const std::string& file_name, OpenMode mode) {
  int flags = SQLITE_OPEN_READWRITE;
  if (mode == OpenMode::kCreateIfMissing) flags |= SQLITE_OPEN_CREATE;
  const int rc = sqlite3_open_v2(file_name.c_str(), &db_, flags, nullptr);
  if (rc == SQLITE_OK) return;
  std::string reason = db_ ? sqlite3_errmsg(db_) : "unknown error";
  sqlite3_close(db_);
  db_ = nullptr;
  throw ESQLiteException("Failed to open database \"" + file_name + "\" : " + reason);
}

TSQLiteDatabase::~TSQLiteDatabase() {
  if (in_transaction_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db_);
}

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::OpenQuery(std::string_view sql,
                                                         const std::vector<SqlParam>& params) {
  return std::make_unique<TSQLiteTable>(*this, sql, params);
}

int64_t TSQLiteDatabase::RunStatement(std::string_view sql, const std::vector<SqlParam>& params) {
  SqlStatement statement = Prepare(sql, params);
  const int rc = sqlite3_step(statement.get());
  if (rc != SQLITE_DONE) {
    sqlite3_reset(statement.get());
    RaiseSQLiteError(db_, "Error executing SQL statement", sql);
  }
  return sqlite3_changes(db_);
}

void TSQLiteDatabase::SetBusyTimeout(int milliseconds) { sqlite3_busy_timeout(db_, milliseconds); }

SqlStatement TSQLiteDatabase::Prepare(std::string_view sql, const std::vector<SqlParam>& params) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &raw, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(raw);
    RaiseSQLiteError(db_, "Error executing SQL", sql);
  }
  if (!raw) RaiseSQLiteError(db_, "Could not prepare SQL statement", sql);
  SqlStatement statement(raw);
  for (size_t i = 0; i < params.size(); ++i) {
    const int slot = static_cast<int>(i) + 1;
    const SqlParam& p = params[i];
    int rc;
    if (std::holds_alternative<int64_t>(p)) {
      rc = sqlite3_bind_int64(raw, slot, std::get<int64_t>(p));
    } else if (std::holds_alternative<double>(p)) {
      rc = sqlite3_bind_double(raw, slot, std::get<double>(p));
    } else if (std::holds_alternative<std::string>(p)) {
      const std::string& text = std::get<std::string>(p);
      rc = sqlite3_bind_text64(raw, slot, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    } else {
      rc = sqlite3_bind_null(raw, slot);
    }
    if (rc != SQLITE_OK) RaiseSQLiteError(db_, "Error executing SQL", sql);
  }
  return statement;
}

}  // namespace orvo
