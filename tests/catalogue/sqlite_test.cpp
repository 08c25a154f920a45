// The SQLite layer on real database files: column typing, the cursor, the field errors,
// the error texts, bound parameters and a database locked by another connection.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "catalogue/sqlite_database.h"
#include "catalogue/sqlite_table.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;
using Type = TSQLiteTable::ColumnType;

std::string Utf8(const fs::path& p) {
  const auto u8 = p.u8string();
  return std::string(u8.begin(), u8.end());
}

// The message of the ESQLiteException `run` raises.
template <typename F>
std::string Raised(F run) {
  try {
    run();
  } catch (const ESQLiteException& e) {
    return e.what();
  }
  return "(nothing raised)";
}

class SQLiteTest : public testing::Test {
 protected:
  void SetUp() override {
    // CTest runs the cases as parallel processes: the folder needs more than a counter.
    static std::atomic<int> counter{0};
    static const unsigned run = std::random_device{}();
    folder_ = fs::temp_directory_path() /
              ("orvo-sqlite-" + std::to_string(run) + "-" + std::to_string(++counter));
    fs::create_directories(folder_);
    file_ = Utf8(folder_ / "extensions.sqlite");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  // A table with a column of every declared type the layer tells apart.
  void MakeTypedTable(TSQLiteDatabase& db) {
    db.RunStatement(
        "create table t (id INTEGER, b BOOLEAN, n NUMERIC, f FLOAT, d DOUBLE, r REAL,"
        " s TEXT, v VARCHAR(10), x BLOB, li integer, lb boolean, lf float, untyped)");
    db.RunStatement(
        "insert into t values (7, 1, 2.5, 0.1, 1e20, -2.25, 'caf\xC3\xA9', 'v', x'00FF41',"
        " 42, 1, 0.5, 'free')");
    db.RunStatement(
        "insert into t values (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,"
        " x'', NULL, NULL, NULL, NULL)");
  }

  fs::path folder_;
  std::string file_;
};

TEST_F(SQLiteTest, ColumnsAreTypedByTheirDeclaredTypeExactly) {
  TSQLiteDatabase db(file_);
  MakeTypedTable(db);
  auto table = db.OpenQuery("select * from t");
  ASSERT_EQ(table->RowCount(), 2);
  ASSERT_EQ(table->ColumnCount(), 13);
  struct Case {
    const char* column;
    Type type;
    std::string text;
  };
  const Case cases[] = {
      {"ID", Type::kInteger, "7"},
      {"B", Type::kInteger, "1"},
      {"N", Type::kFloat, "2.5"},
      {"F", Type::kFloat, "0.1"},
      {"D", Type::kFloat, "1E20"},
      {"R", Type::kFloat, "-2.25"},
      {"S", Type::kText, "caf\xC3\xA9"},
      {"V", Type::kText, "v"},
      {"X", Type::kBlob,
       std::string("\0\xFF"
                   "A",
                   3)},
      // Lower-case type names are not in the table, so such columns read as text. SQLite
      // itself reports its standard names (INT, INTEGER, REAL, TEXT, BLOB) in upper case
      // however they were written, so "integer" still reads as an integer.
      {"LB", Type::kText, "1"},
      {"LF", Type::kText, "0.5"},
      {"LI", Type::kInteger, "42"},
      {"UNTYPED", Type::kText, "free"},
  };
  for (const auto& c : cases) {
    const int i = table->ColumnIndex(c.column);
    EXPECT_EQ(table->ColumnNames()[i], c.column);
    EXPECT_EQ(table->TypeOf(i), c.type) << c.column;
    EXPECT_EQ(table->CellText(i), c.text) << c.column;
  }
  EXPECT_EQ(table->CellInteger(table->ColumnIndex("id")), 7);
  EXPECT_EQ(table->CellInteger(table->ColumnIndex("n")), 2);
  for (const char* column : {"LB", "LF", "S", "X"}) {
    EXPECT_EQ(Raised([&] { table->CellInteger(table->ColumnIndex(column)); }),
              "Not an integer or numeric field")
        << column;
  }

  // NULL and an empty blob are empty cells in every column.
  ASSERT_TRUE(table->MoveNext());
  for (const auto& c : cases) EXPECT_EQ(table->CellText(table->ColumnIndex(c.column)), "");
  EXPECT_EQ(table->CellInteger(table->ColumnIndex("ID")), 0);
  EXPECT_EQ(table->CellInteger(table->ColumnIndex("LB")), 0);
}

TEST_F(SQLiteTest, ExpressionsAreTypedByTheFirstRowsValues) {
  TSQLiteDatabase db(file_);
  auto table = db.OpenQuery("select 1 + 1 as a, 2.5 * 2 as b, 'x' || 'y' as c, x'01' as d");
  EXPECT_EQ(table->TypeOf(0), Type::kInteger);
  EXPECT_EQ(table->TypeOf(1), Type::kFloat);
  EXPECT_EQ(table->TypeOf(2), Type::kText);
  EXPECT_EQ(table->TypeOf(3), Type::kBlob);
  EXPECT_EQ(table->CellText(0), "2");
  EXPECT_EQ(table->CellText(1), "5");
  EXPECT_EQ(table->CellText(2), "xy");
}

TEST_F(SQLiteTest, NamesAreFoundWhateverTheirCase) {
  TSQLiteDatabase db(file_);
  db.RunStatement("create table addon (internal_id INTEGER, userDisabled INTEGER, Name TEXT)");
  db.RunStatement("insert into addon values (3, 1, 'Tab Mix')");
  auto table = db.OpenQuery("select * from addon");
  EXPECT_EQ(table->ColumnNames(),
            (std::vector<std::string>{"INTERNAL_ID", "USERDISABLED", "NAME"}));
  for (const char* name : {"userdisabled", "USERDISABLED", "UserDisabled"}) {
    EXPECT_EQ(table->CellTextByName(name), "1") << name;
  }
  EXPECT_EQ(table->CellTextByName("name"), "Tab Mix");
  EXPECT_EQ(Raised([&] { table->ColumnIndex("nope"); }), "Field not found in dataset: nope");
}

TEST_F(SQLiteTest, TheCursorWalksEveryRowOnce) {
  TSQLiteDatabase db(file_);
  db.RunStatement("create table r (n INTEGER)");
  for (int i = 0; i < 3; ++i) db.RunStatement("insert into r values (?)", {int64_t{i * 10}});
  auto table = db.OpenQuery("select n from r order by n");
  std::vector<int64_t> seen;
  for (; !table->AtEnd(); table->MoveNext()) seen.push_back(table->CellInteger(0));
  EXPECT_EQ(seen, (std::vector<int64_t>{0, 10, 20}));
  EXPECT_FALSE(table->MoveNext());
  EXPECT_EQ(Raised([&] { table->CellText(0); }), "Table is at End of File");
}

TEST_F(SQLiteTest, AQueryWithoutRowsIsAtItsEndAtOnce) {
  TSQLiteDatabase db(file_);
  db.RunStatement("create table e (a INTEGER)");
  auto table = db.OpenQuery("select * from e");
  EXPECT_TRUE(table->AtEnd());
  EXPECT_EQ(table->RowCount(), 0);
  EXPECT_FALSE(table->MoveNext());
  EXPECT_EQ(Raised([&] { table->CellInteger(0); }), "Table is at End of File");
  EXPECT_EQ(Raised([&] { table->ColumnIndex("a"); }), "Field a Not found. Empty dataset");
  EXPECT_EQ(Raised([&] { table->CellTextByName("a"); }), "Field a Not found. Empty dataset");
}

TEST_F(SQLiteTest, ErrorTextsNameTheStepTheCodeAndTheStatement) {
  TSQLiteDatabase db(file_);
  db.RunStatement("create table u (a INTEGER UNIQUE)");
  db.RunStatement("insert into u values (1)");
  struct Case {
    std::function<void()> run;
    std::string text;
  };
  const Case cases[] = {
      {[&] { db.RunStatement("create tabel x (a)"); },
       "Error executing SQL.\rError [1]: SQL error or missing database.\r"
       "\"create tabel x (a)\": near \"tabel\": syntax error"},
      {[&] { db.RunStatement("insert into u values (1)"); },
       "Error executing SQL statement.\rError [19]: Abort due to contraint violation.\r"
       "\"insert into u values (1)\": UNIQUE constraint failed: u.a"},
      {[&] { db.OpenQuery("select * from nope"); },
       "Error executing SQL.\rError [1]: SQL error or missing database.\r"
       "\"select * from nope\": no such table: nope"},
      {[&] { db.OpenQuery("select abs(-9223372036854775807 - 1)"); },
       "Could not retrieve data.\rError [1]: SQL error or missing database.\r"
       "\"select abs(-9223372036854775807 - 1)\": integer overflow"},
      {[&] { db.RunStatement("   -- only a comment"); }, "Could not prepare SQL statement"},
      {[&] { db.RunStatement("select 1"); }, "Error executing SQL statement"},
      {[&] {
         db.RunStatement("insert into u values (?)", {int64_t{5}, int64_t{6}});
       },
       "Error executing SQL.\rError [25]: 2nd parameter to sqlite3_bind out of range.\r"
       "\"insert into u values (?)\": column index out of range"},
  };
  for (const auto& c : cases) EXPECT_EQ(Raised(c.run), c.text);
}

TEST_F(SQLiteTest, ErrorDescriptions) {
  const std::pair<int, std::string> cases[] = {
      {0, "Successful result"},
      {5, "The database file is locked"},
      {19, "Abort due to contraint violation"},
      {26, "File opened that is not a database file"},
      {100, "sqlite3_step() has another row ready"},
      {101, "sqlite3_step() has finished executing"},
      {27, "Unknown SQLite Error Code \"27\""},
      {-1, "Unknown SQLite Error Code \"-1\""},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(SQLiteErrorDescription(code), text);
}

TEST_F(SQLiteTest, OpeningFailures) {
  const std::string in_missing_folder = Utf8(folder_ / "no folder" / "x.sqlite");
  EXPECT_EQ(Raised([&] { TSQLiteDatabase db(in_missing_folder); }),
            "Failed to open database \"" + in_missing_folder + "\" : unable to open database file");
  EXPECT_NE(Raised([&] { TSQLiteDatabase db(file_, TSQLiteDatabase::OpenMode::kExistingOnly); }),
            "(nothing raised)");
  EXPECT_FALSE(fs::exists(folder_ / "extensions.sqlite")) << "a missing file stays missing";
  { TSQLiteDatabase created(file_); }
  EXPECT_TRUE(fs::exists(folder_ / "extensions.sqlite"));
}

TEST_F(SQLiteTest, AFileThatIsNotADatabaseFailsOnFirstUse) {
  std::ofstream(folder_ / "extensions.sqlite", std::ios::binary) << std::string(4096, 'j');
  TSQLiteDatabase db(file_);
  EXPECT_EQ(Raised([&] { db.OpenQuery("select * from addon"); }),
            "Error executing SQL.\rError [26]: File opened that is not a database file.\r"
            "\"select * from addon\": file is not a database");
}

// An id from browser data travels as a bound parameter: quotes neither break the
// statement nor reach the SQL.
TEST_F(SQLiteTest, BoundParametersCarryHostileTextSafely) {
  TSQLiteDatabase db(file_);
  db.RunStatement("create table addon (internal_id INTEGER, id TEXT)");
  const std::string hostile = "evil\"); drop table addon; --'";
  db.RunStatement("insert into addon values (?, ?)", {int64_t{1}, hostile});
  db.RunStatement("insert into addon values (?, ?)", {int64_t{2}, std::string("plain@ext")});
  auto found = db.OpenQuery("select internal_id from addon where id = ?", {hostile});
  ASSERT_FALSE(found->AtEnd());
  EXPECT_EQ(found->CellInteger(0), 1);
  db.RunStatement("delete from addon where id = ?", {hostile});
  auto rest = db.OpenQuery("select id from addon");
  ASSERT_EQ(rest->RowCount(), 1);
  EXPECT_EQ(rest->CellText(0), "plain@ext");
  auto with_null = db.OpenQuery("select ? is null, ? + 0.5", {nullptr, 1.0});
  EXPECT_EQ(with_null->CellText(0), "1");
  EXPECT_EQ(with_null->CellText(1), "1.5");
}

// The running browser holds its database with an exclusive lock: the layer waits the
// busy time-out it was given, then reports the lock, and never waits longer.
TEST_F(SQLiteTest, ADatabaseLockedByAnotherConnectionFailsWithinTheBusyTimeOut) {
  {
    TSQLiteDatabase setup(file_);
    setup.RunStatement("create table addon (id TEXT, active INTEGER)");
    setup.RunStatement("insert into addon values ('a', 1)");
  }
  TSQLiteDatabase browser(file_);
  browser.OpenQuery("PRAGMA locking_mode = EXCLUSIVE");  // answers with a row
  browser.RunStatement("update addon set active = 1");   // takes and keeps the lock

  TSQLiteDatabase db(file_);
  db.SetBusyTimeout(300);
  for (const auto& run : std::vector<std::function<void()>>{
           [&] { db.OpenQuery("select * from addon"); },
           [&] { db.RunStatement("update addon set active = 0"); }}) {
    const auto start = std::chrono::steady_clock::now();
    const std::string text = Raised(run);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_NE(text.find("Error [5]: The database file is locked."), std::string::npos) << text;
    EXPECT_NE(text.find(": database is locked"), std::string::npos) << text;
    EXPECT_GE(took, std::chrono::milliseconds(250));
    EXPECT_LT(took, std::chrono::seconds(3));
  }
}

TEST(FloatText, WritesUpToFifteenDigitsAndAShortExponent) {
  const std::pair<double, const char*> cases[] = {
      {1.5, "1.5"},       {0.1, "0.1"},
      {100, "100"},       {-2.25, "-2.25"},
      {1e20, "1E20"},     {1.5e-7, "1.5E-7"},
      {0.0001, "0.0001"}, {1.0 / 3, "0.333333333333333"},
      {0, "0"},           {123456789012345.0, "123456789012345"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FloatText(value), text) << value;
}

}  // namespace
}  // namespace orvo
