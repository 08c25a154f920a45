#pragma once
// The SQLite layer's one exception and the text it carries. Every failure of the layer
// raises ESQLiteException; its message names the operation, SQLite's error code with its
// description, the statement and SQLite's own message (see SQLiteErrorText).
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;

namespace orvo {

class ESQLiteException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Successful result", "SQL error or missing database", ... for the primary result codes
// 0-26, 100 and 101; "Unknown SQLite Error Code "<n>"" for any other.
std::string SQLiteErrorDescription(int code);

// `message` alone when the connection reports no error; otherwise
// message + ".\rError [<code>]: <description>.\r\"<sql>\": <SQLite's message>".
std::string SQLiteErrorText(sqlite3* db, std::string_view message, std::string_view sql);

[[noreturn]] void RaiseSQLiteError(sqlite3* db, std::string_view message, std::string_view sql);

}  // namespace orvo
