// Reading a query's result into memory, and the cursor over it.
#include "catalogue/sqlite_table.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/text.h"

namespace orvo {
namespace {

TSQLiteTable::ColumnType TypeOfColumn(sqlite3_stmt* stmt, int i) {
  using T = TSQLiteTable::ColumnType;
  const char* declared = sqlite3_column_decltype(stmt, i);
  if (!declared) {
    switch (sqlite3_column_type(stmt, i)) {
      case SQLITE_INTEGER: return T::kInteger;
      case SQLITE_FLOAT: return T::kFloat;
      case SQLITE_BLOB: return T::kBlob;
      default: return T::kText;
    }
  }
  const std::string_view d(declared);
  if (d == "INTEGER" || d == "BOOLEAN") return T::kInteger;
  if (d == "NUMERIC" || d == "FLOAT" || d == "DOUBLE" || d == "REAL") return T::kFloat;
  if (d == "BLOB") return T::kBlob;
  return T::kText;
}

}  // namespace

TSQLiteTable::TSQLiteTable(TSQLiteDatabase& db, std::string_view sql,
                           const std::vector<SqlParam>& params) {
  SqlStatement statement = db.Prepare(sql, params);
  sqlite3_stmt* stmt = statement.get();
  for (;;) {
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) break;
    if (rc == SQLITE_BUSY) RaiseSQLiteError(db.handle(), "Could not prepare SQL statement", sql);
    if (rc != SQLITE_ROW) {
      sqlite3_reset(stmt);
      RaiseSQLiteError(db.handle(), "Could not retrieve data", sql);
    }
    if (row_count_ == 0) {
      const int columns = sqlite3_column_count(stmt);
      for (int i = 0; i < columns; ++i) {
        const char* name = sqlite3_column_name(stmt, i);
        names_.push_back(ToUpperAscii(name ? name : ""));
        types_.push_back(TypeOfColumn(stmt, i));
      }
    }
    for (int i = 0; i < ColumnCount(); ++i) {
      if (sqlite3_column_type(stmt, i) == SQLITE_NULL) {
        cells_.emplace_back();
        continue;
      }
      switch (types_[i]) {
        case ColumnType::kInteger:
          cells_.emplace_back(static_cast<int64_t>(sqlite3_column_int64(stmt, i)));
          break;
        case ColumnType::kFloat: cells_.emplace_back(sqlite3_column_double(stmt, i)); break;
        case ColumnType::kText:
        case ColumnType::kBlob: {
          const void* data = types_[i] == ColumnType::kBlob ? sqlite3_column_blob(stmt, i)
                                                            : sqlite3_column_text(stmt, i);
          const int size = sqlite3_column_bytes(stmt, i);
          if (types_[i] == ColumnType::kBlob && size == 0) {
            cells_.emplace_back();
          } else {
            cells_.emplace_back(std::string(static_cast<const char*>(data), data ? size : 0));
          }
          break;
        }
      }
    }
    ++row_count_;
  }
}

TSQLiteTable::ColumnType TSQLiteTable::TypeOf(int index) const {
  if (index < 0 || index >= ColumnCount()) throw ESQLiteException("Column index out of range");
  return types_[index];
}

bool TSQLiteTable::MoveNext() {
  if (AtEnd()) return false;
  ++row_;
  return true;
}

int TSQLiteTable::ColumnIndex(std::string_view name) const {
  if (names_.empty()) {
    throw ESQLiteException("Field " + std::string(name) + " Not found. Empty dataset");
  }
  const std::string wanted = ToUpperAscii(name);
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == wanted) return static_cast<int>(i);
  }
  throw ESQLiteException("Field not found in dataset: " + std::string(name));
}

const TSQLiteTable::Cell& TSQLiteTable::CurrentCell(int index) const {
  if (AtEnd()) throw ESQLiteException("Table is at End of File");
  if (index < 0 || index >= ColumnCount()) throw ESQLiteException("Column index out of range");
  return cells_[static_cast<size_t>(row_) * names_.size() + static_cast<size_t>(index)];
}

std::string TSQLiteTable::CellText(int index) const {
  const Cell& cell = CurrentCell(index);
  if (const auto* i = std::get_if<int64_t>(&cell)) return std::to_string(*i);
  if (const auto* f = std::get_if<double>(&cell)) return FloatText(*f);
  if (const auto* s = std::get_if<std::string>(&cell)) return *s;
  return {};
}

std::string TSQLiteTable::CellTextByName(std::string_view name) const {
  return CellText(ColumnIndex(name));
}

int64_t TSQLiteTable::CellInteger(int index) const {
  const Cell& cell = CurrentCell(index);
  if (std::holds_alternative<std::monostate>(cell)) return 0;
  if (const auto* i = std::get_if<int64_t>(&cell)) return *i;
  if (const auto* f = std::get_if<double>(&cell)) {
    constexpr double kLimit = 9223372036854775807.0;
    if (std::isnan(*f)) return 0;
    if (*f >= kLimit) return std::numeric_limits<int64_t>::max();
    if (*f <= -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::trunc(*f));
  }
  throw ESQLiteException("Not an integer or numeric field");
}

std::string FloatText(double value) {
  char buf[40];
  // NOLINTNEXTLINE(cert-err33-c): the buffer holds the longest text of the format
  std::snprintf(buf, sizeof buf, "%.15G", value);
  // C writes "1.5E-07" and "1E+20"; the program's float text has neither "+" nor
  // leading zeros in the exponent.
  std::string text(buf);
  const size_t e = text.find('E');
  if (e == std::string::npos) return text;
  std::string exponent = text.substr(e + 1);
  std::string sign;
  if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
    if (exponent[0] == '-') sign = "-";
    exponent.erase(0, 1);
  }
  while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
  return text.substr(0, e + 1) + sign + exponent;
}

}  // namespace orvo
