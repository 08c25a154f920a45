// The replacing rename against a file another program holds open without sharing: held
// briefly (a virus scanner's look), the write waits and goes through; held throughout, it
// gives up after a bounded wait, says so, and leaves the file and no temporary behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "platform/platform.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

size_t EntriesIn(os::FileSystem& files, const std::string& folder) {
  std::vector<os::FolderEntry> entries;
  files.ListFolder(folder, &entries);
  return entries.size();
}

TEST(FileReplace, ABrieflyHeldFileIsReplacedOnceReleased) {
  test::TestMachine machine;
  os::FileSystem& files = machine.platform().files();
  const std::string file = machine.folder() + "\\Preferences";
  ASSERT_TRUE(files.WriteFileAtomic(file, "original"));
  auto held = std::make_unique<test::HeldFile>(machine, file);
  ASSERT_TRUE(held->held());
  std::thread release([&] {
    std::this_thread::sleep_for(150ms);
    held.reset();
  });
  const os::WriteResult result = files.WriteFileAtomic(file, "replacement");
  release.join();
  EXPECT_TRUE(result) << result.message;
  EXPECT_EQ(files.ReadFile(file).value_or(""), "replacement");
  EXPECT_EQ(EntriesIn(files, machine.folder()), 1u);
}

TEST(FileReplace, AFileHeldThroughoutFailsAfterABoundedWait) {
  test::TestMachine machine;
  os::FileSystem& files = machine.platform().files();
  const std::string file = machine.folder() + "\\Preferences";
  ASSERT_TRUE(files.WriteFileAtomic(file, "original"));
  os::WriteResult result;
  Clock::duration waited{};
  {
    test::HeldFile held(machine, file);
    ASSERT_TRUE(held.held());
    const auto start = Clock::now();
    result = files.WriteFileAtomic(file, "replacement");
    waited = Clock::now() - start;
  }
  EXPECT_FALSE(result);
  EXPECT_TRUE(result.error == ERROR_SHARING_VIOLATION || result.error == ERROR_ACCESS_DENIED)
      << result.error;
  EXPECT_NE(result.message.find("cannot replace"), std::string::npos) << result.message;
  EXPECT_GE(waited, 300ms);  // it did wait for the holder
  EXPECT_LT(waited, 3s);     // and not for ever
  EXPECT_EQ(files.ReadFile(file).value_or(""), "original");
  EXPECT_EQ(EntriesIn(files, machine.folder()), 1u);
}

}  // namespace
}  // namespace orvo
