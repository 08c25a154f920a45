#pragma once
// The whole result of one query, held in memory, with a cursor over its rows. Column
// names are kept upper-cased and looked up without regard to case. How a column's cells
// are held follows its declared type, compared exactly in upper case:
//
//   "INTEGER", "BOOLEAN"                      integer  (64-bit)
//   "NUMERIC", "FLOAT", "DOUBLE", "REAL"      float    (64-bit)
//   "BLOB"                                    blob     (bytes; an empty blob is no cell)
//   any other declared type                   text     (the bytes as stored, UTF-8 for
//                                                       Firefox's data; not decoded here)
//   none (an expression)                      by SQLite's storage class in the first row
//
// The declared type is what SQLite reports: its standard names (INT, INTEGER, REAL, TEXT,
// BLOB) always in upper case, any other name as written, so "boolean" reads as text.
//
// A NULL value is an empty cell in any column. Every failure raises ESQLiteException.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "catalogue/sqlite_database.h"

namespace orvo {

class TSQLiteTable {
 public:
  enum class ColumnType { kInteger, kFloat, kText, kBlob };

  // Runs the query and reads every row. The cursor starts at the first row.
  TSQLiteTable(TSQLiteDatabase& db, std::string_view sql, const std::vector<SqlParam>& params = {});

  int RowCount() const { return row_count_; }
  // 0 when the query returned no rows: the columns are learnt from the first row.
  int ColumnCount() const { return static_cast<int>(names_.size()); }
  const std::vector<std::string>& ColumnNames() const { return names_; }
  ColumnType TypeOf(int index) const;
  int Row() const { return row_; }

  bool AtEnd() const { return row_ >= row_count_; }
  // Advances and returns true unless already at the end.
  bool MoveNext();

  int ColumnIndex(std::string_view name) const;
  // Integers in decimal, floats as float text, text and blob bytes as they are, an empty
  // cell as empty text.
  std::string CellText(int index) const;
  std::string CellTextByName(std::string_view name) const;
  // An integer cell's value (a float cell's, truncated); 0 for an empty cell.
  int64_t CellInteger(int index) const;

 private:
  using Cell = std::variant<std::monostate, int64_t, double, std::string>;
  const Cell& CurrentCell(int index) const;

  int row_count_ = 0;
  int row_ = 0;
  std::vector<std::string> names_;
  std::vector<ColumnType> types_;
  std::vector<Cell> cells_;  // row after row
};

// Float text as the program has always shown it: up to 15 significant digits, an
// exponent ("1.5E-7", "1E20") only for very small or large values.
std::string FloatText(double value);

}  // namespace orvo
