#pragma once
// A connection to one SQLite database file, for Firefox's extensions.sqlite: run
// statements that return no rows, and open queries whose whole result is read into a
// TSQLiteTable. Every failure raises ESQLiteException.
//
// Values that come from browser data (an add-on id) are never pasted into SQL text: the
// statements take them as bound parameters, "?" in the SQL text, bound in order.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "catalogue/sqlite_error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orvo {

class TSQLiteTable;

// A bound parameter: NULL, an integer, a float, or UTF-8 text.
using SqlParam = std::variant<std::nullptr_t, int64_t, double, std::string>;

// A prepared statement, finalized when it goes.
class SqlStatement {
 public:
  SqlStatement() = default;
  explicit SqlStatement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  ~SqlStatement();
  SqlStatement(SqlStatement&& other) noexcept;
  SqlStatement& operator=(SqlStatement&& other) noexcept;
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class TSQLiteDatabase {
 public:
  enum class OpenMode {
    kCreateIfMissing,  // SQLite's default: a missing file is created
    kExistingOnly,     // a missing file fails to open
  };

  // Opens the database; `file_name` is a host path in UTF-8. Failure raises
  // "Failed to open database "<file>" : <SQLite's message>" (or ": unknown error" when
  // SQLite gave no connection at all).
  explicit TSQLiteDatabase(const std::string& file_name,
                           OpenMode mode = OpenMode::kCreateIfMissing);
  // Rolls back an open transaction, then closes.
  ~TSQLiteDatabase();
  TSQLiteDatabase(const TSQLiteDatabase&) = delete;
  TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

  // A new table holding the query's whole result.
  std::unique_ptr<TSQLiteTable> OpenQuery(std::string_view sql,
                                          const std::vector<SqlParam>& params = {});
  // Prepares and steps a statement that returns no rows. For an insert, update or delete,
  // the number of rows it touched (triggers aside); for other statements, not meaningful.
  int64_t RunStatement(std::string_view sql, const std::vector<SqlParam>& params = {});

  // How long a statement waits for a lock another connection holds before it fails with
  // "database is locked"; 0 (the default) fails at once.
  void SetBusyTimeout(int milliseconds);

  // Prepares the first statement of `sql` and binds `params`. A failed prepare or bind
  // raises "Error executing SQL"; text without a statement raises "Could not prepare SQL
  // statement".
  SqlStatement Prepare(std::string_view sql, const std::vector<SqlParam>& params);

  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
  bool in_transaction_ = false;  // nothing of the program opens a transaction yet
};

}  // namespace orvo
