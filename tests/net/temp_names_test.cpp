// Temporary folder and file names, on the test machine's file system.
#include <gtest/gtest.h>

#include <set>

#include "platform/platform.h"
#include "net/temp_names.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

TEST(RandomLetters, GivesThatManyLowerCaseLetters) {
  EXPECT_EQ(RandomLetters(0), "");
  EXPECT_EQ(RandomLetters(-3), "");
  const std::string eight = RandomLetters(8);
  ASSERT_EQ(eight.size(), 8u);
  std::set<char> seen;
  for (int i = 0; i < 50; ++i) {
    for (char c : RandomLetters(20)) {
      EXPECT_TRUE(c >= 'a' && c <= 'z') << c;
      seen.insert(c);
    }
  }
  EXPECT_GT(seen.size(), 20u) << "the letters should spread over the alphabet";
}

class TempNamesTest : public testing::Test {
 protected:
  void SetUp() override {
    machine_.WriteFile(machine_.folder() + "\\Sub Folder\\Data File.txt", "x");
  }
  test::TestMachine machine_;
};

TEST_F(TempNamesTest, ExpandLongPathReportsTheStoredNames) {
  const std::string& base = machine_.folder();
  const std::string expanded = ExpandLongPath(base + "\\SUB FOLDER\\data file.TXT");
  // The folder part may itself be spelled differently by the system; the tail is ours.
  EXPECT_EQ(expanded, ExpandLongPath(base) + "\\Sub Folder\\Data File.txt");
  EXPECT_EQ(ExpandLongPath(base + "\\sub folder\\"), ExpandLongPath(base) + "\\Sub Folder\\");
}

TEST_F(TempNamesTest, ExpandLongPathEdgeCases) {
  const std::string& base = machine_.folder();
  EXPECT_EQ(ExpandLongPath(base + "\\No Such\\Data File.txt"), "");
  EXPECT_EQ(ExpandLongPath(base + "\\Sub Folder\\missing.txt"), "");
  EXPECT_EQ(ExpandLongPath(base + "\\Sub Folder\\*"), "") << "wildcards match nothing";
  EXPECT_EQ(ExpandLongPath("plain"), "plain");
  EXPECT_EQ(ExpandLongPath("\\root"), "\\root");
  EXPECT_EQ(ExpandLongPath(""), "");
  EXPECT_EQ(ExpandLongPath("C:\\"), "C:\\");
  // A long chain of separators is walked without deep recursion.
  EXPECT_EQ(ExpandLongPath("C:" + std::string(20000, '\\')), "C:" + std::string(20000, '\\'));
}

TEST_F(TempNamesTest, GetTempDirEndsInExactlyOneBackslash) {
  const std::string dir = GetTempDir();
  ASSERT_GE(dir.size(), 2u);
  EXPECT_EQ(dir.back(), '\\');
  EXPECT_NE(dir[dir.size() - 2], '\\');
}

TEST_F(TempNamesTest, GetTempDirIsTheLongFormOfAnExistingFolder) {
  if (machine_.sandbox()) {
    // The image's temporary folder, given as it is expected to exist.
    machine_.platform().files().CreateFolders("C:\\Users\\demo\\AppData\\Local\\Temp");
  }
  const std::string dir = GetTempDir();
  EXPECT_NE(machine_.platform().files().GetAttributes(dir.substr(0, dir.size() - 1)),
            os::kInvalidFileAttributes)
      << dir;
  EXPECT_EQ(ExpandLongPath(dir), dir);
}

}  // namespace
}  // namespace orvo
