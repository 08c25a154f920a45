// Error texts of the SQLite layer. The descriptions are the layer's own wording of the
// result codes (kept as they are, spelling included), not SQLite's sqlite3_errstr().
#include "catalogue/sqlite_error.h"

#include <sqlite3.h>

#include <array>

namespace orvo {
namespace {

constexpr std::array<const char*, 27> kDescriptions = {
    "Successful result",
    "SQL error or missing database",
    "An internal logic error in SQLite",
    "Access permission denied",
    "Callback routine requested an abort",
    "The database file is locked",
    "A table in the database is locked",
    "A malloc() failed",
    "Attempt to write a readonly database",
    "Operation terminated by sqlite3_interrupt()",
    "Some kind of disk I/O error occurred",
    "The database disk image is malformed",
    "(Internal Only) Table or record not found",
    "Insertion failed because database is full",
    "Unable to open the database file",
    "Database lock protocol error",
    "Database is empty",
    "The database schema changed",
    "Too much data for one row of a table",
    "Abort due to contraint violation",
    "Data type mismatch",
    "Library used incorrectly",
    "Uses OS features not supported on host",
    "Authorization denied",
    "Auxiliary database format error",
    "2nd parameter to sqlite3_bind out of range",
    "File opened that is not a database file",
};

}  // namespace

std::string SQLiteErrorDescription(int code) {
  if (code >= 0 && code < static_cast<int>(kDescriptions.size())) return kDescriptions[code];
  if (code == 100) return "sqlite3_step() has another row ready";
  if (code == 101) return "sqlite3_step() has finished executing";
  return "Unknown SQLite Error Code \"" + std::to_string(code) + "\"";
}

std::string SQLiteErrorText(sqlite3* db, std::string_view message, std::string_view sql) {
  const int code = db ? sqlite3_errcode(db) : SQLITE_OK;
  if (code == SQLITE_OK) return std::string(message);
  std::string text(message);
  text += ".\rError [" + std::to_string(code) + "]: " + SQLiteErrorDescription(code) + ".\r\"";
  text += sql;
  text += "\": ";
  text += sqlite3_errmsg(db);
  return text;
}

void RaiseSQLiteError(sqlite3* db, std::string_view message, std::string_view sql) {
  throw ESQLiteException(SQLiteErrorText(db, message, sql));
}

}  // namespace orvo
