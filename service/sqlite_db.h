#pragma once
// Small owners for a SQLite connection and a prepared statement, so every exit path
// finalises and closes. Values go in through bound parameters only; errors come back as
// false or an empty optional with the connection's message kept for the log.
#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvo::service {

class Statement;

class Database {
 public:
  Database() = default;
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  Database(Database&& other) noexcept;
  Database& operator=(Database&& other) noexcept;

  // Opens (creating when asked) with a busy time-out; false with error() on failure.
  bool Open(const std::string& path, bool create, int busy_timeout_ms);
  bool IsOpen() const { return db_ != nullptr; }
  // Open for reading only (a read-only file or a "mode=ro" URI).
  bool IsReadOnly() const { return db_ != nullptr && sqlite3_db_readonly(db_, "main") == 1; }
  void Close();

  // Runs SQL without parameters (schema, pragmas, BEGIN/COMMIT).
  bool Exec(std::string_view sql);
  Statement Prepare(std::string_view sql);
  int64_t LastInsertId() const;
  int Changes() const;
  std::string error() const;
  sqlite3* handle() { return db_; }

 private:
  sqlite3* db_ = nullptr;
  std::string open_error_;  // why the last Open failed
};

class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;

  bool ok() const { return stmt_ != nullptr; }
  // Parameters are numbered from 1, as in SQL.
  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, std::string_view text);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  // Runs to completion; true when it ended with SQLITE_DONE.
  bool Run();
  void Reset();

  int64_t Int(int column) const;
  std::string Text(int column) const;

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
  bool bind_failed_ = false;
};

// BEGIN IMMEDIATE ... COMMIT; rolled back when Commit was not reached.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  bool begun() const { return begun_; }
  bool Commit();

 private:
  Database& db_;
  bool begun_ = false;
  bool done_ = false;
};

}  // namespace orvo::service
