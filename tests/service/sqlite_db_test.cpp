// The service's database wrapper when the file cannot be opened: it must end up closed
// (no handle kept, nothing run against it) and still say why.
#include <gtest/gtest.h>

#include <filesystem>

#include "service/harness/service_process.h"
#include "service/sqlite_db.h"

namespace orvo::service {
namespace {

TEST(Database, AFailedOpenLeavesItClosedWithTheReasonAndAGoodOpenStillWorks) {
  const harness::TempFolder temp;
  const std::filesystem::path folder = temp.path();

  Database db;
  EXPECT_FALSE(db.Open((folder / "missing" / "rating.db").string(), true, 100));
  EXPECT_FALSE(db.IsOpen());
  EXPECT_NE(db.error().find("unable to open"), std::string::npos) << db.error();
  EXPECT_FALSE(db.Exec("CREATE TABLE t(x)"));
  // Without `create` an absent file is not made.
  EXPECT_FALSE(db.Open((folder / "absent.db").string(), false, 100));
  EXPECT_FALSE(db.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(folder / "absent.db"));

  ASSERT_TRUE(db.Open((folder / "rating.db").string(), true, 100)) << db.error();
  EXPECT_TRUE(db.IsOpen());
  EXPECT_TRUE(db.Exec("CREATE TABLE t(x)"));
}

}  // namespace
}  // namespace orvo::service
