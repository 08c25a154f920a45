// Named shared memory between holders in this process and in another, and what is
// left of a block once its holders are gone.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/shared_memory.h"
#include "support/child_process.h"
#include "support/scoped_env.h"
#include "support/test_machine.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvo {
namespace {

std::filesystem::path HostPath(const std::string& path) {
  return std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str()));
}

// A holder in another process: opens the block, writes its byte at offset 0, says so by
// creating the ready file, and waits to be killed.
const test::ChildMode kHolder("shared-memory-holder", [](const std::vector<std::string>& args) {
  if (args.size() != 3) return 2;
  auto block = os::OpenSharedMemory(args[0], 16);
  if (!block) return 3;
  block->data()[0] = static_cast<uint8_t>(std::stoi(args[1]));
  std::ofstream(HostPath(args[2])) << "ready";
  for (int i = 0; i < 600; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return 0;
});

class SharedMemoryTest : public ::testing::Test {
 protected:
  SharedMemoryTest()
      : name_("orvo-test-" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())),
        runtime_(machine_.sandbox() ? machine_.image_folder() + "/runtime"
                                    : machine_.folder() + "\\runtime") {
    // Natively the blocks are files in the runtime folder: keep them in the test's own.
    std::filesystem::create_directories(HostPath(runtime_));
  }

  test::TestMachine machine_;
  std::string name_;
  std::string runtime_;
  test::ScopedEnv runtime_env_{"XDG_RUNTIME_DIR", runtime_};
};

TEST_F(SharedMemoryTest, HoldersShareTheBlockAndItVanishesWithTheLast) {
  auto first = os::OpenSharedMemory(name_, 8);
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->created());
  EXPECT_EQ(first->size(), 8u);
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(first->data()[i], 0) << i;
  first->data()[3] = 0xAB;

  auto second = os::OpenSharedMemory(name_, 8);
  ASSERT_TRUE(second);
  EXPECT_FALSE(second->created());
  EXPECT_EQ(second->data()[3], 0xAB);
  second->data()[7] = 0xCD;
  EXPECT_EQ(first->data()[7], 0xCD);

  first.reset();
  EXPECT_EQ(second->data()[3], 0xAB) << "one holder left";
  second.reset();
  auto again = os::OpenSharedMemory(name_, 8);
  ASSERT_TRUE(again);
  EXPECT_TRUE(again->created());
  EXPECT_EQ(again->data()[3], 0);
  EXPECT_EQ(again->data()[7], 0);
  EXPECT_FALSE(os::OpenSharedMemory(name_ + "-none", 0));
}

TEST_F(SharedMemoryTest, AnotherProcessSeesTheBlockUntilItEnds) {
  const std::string ready =
      machine_.sandbox() ? machine_.image_folder() + "/ready" : machine_.folder() + "\\ready";
  test::ChildProcess holder("shared-memory-holder", {name_, "77", ready});
  ASSERT_TRUE(holder.started());
  ASSERT_TRUE(test::WaitForFile(ready, 30000));
  {
    auto block = os::OpenSharedMemory(name_, 16);
    ASSERT_TRUE(block);
    EXPECT_FALSE(block->created());
    EXPECT_EQ(block->data()[0], 77);
  }
  holder.Kill();  // ended without closing anything, as a crash would
  auto block = os::OpenSharedMemory(name_, 16);
  ASSERT_TRUE(block);
  EXPECT_TRUE(block->created());
  EXPECT_EQ(block->data()[0], 0);
}

#ifndef _WIN32
TEST_F(SharedMemoryTest, NativelyTheBlockIsAPrivateFileInTheRuntimeFolder) {
  auto block = os::OpenSharedMemory("{58E136B7-93CE-4215-A1AE-58C25222371D}/x", 8);
  ASSERT_TRUE(block);
  const auto file =
      std::filesystem::path(runtime_) / "orvo-shm-{58E136B7-93CE-4215-A1AE-58C25222371D}_x";
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // A link planted under a block's name is not followed.
  std::filesystem::create_symlink(machine_.image_folder() + "/image.ini",
                                  std::filesystem::path(runtime_) / "orvo-shm-planted");
  EXPECT_FALSE(os::OpenSharedMemory("planted", 8));

  // Without a usable XDG_RUNTIME_DIR the folder is /tmp/orvo-<uid>, private.
  for (const char* value : {"", "relative/dir", "/nonexistent-orvo-dir"}) {
    setenv("XDG_RUNTIME_DIR", value, 1);
    auto fallback = os::OpenSharedMemory(name_, 8);
    ASSERT_TRUE(fallback) << value;
    const std::string tmp = "/tmp/orvo-" + std::to_string(::geteuid());
    ASSERT_EQ(::lstat(tmp.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_TRUE(std::filesystem::exists(tmp + "/orvo-shm-" + name_));
    fallback.reset();
    std::filesystem::remove(tmp + "/orvo-shm-" + name_);
  }
}
#endif

}  // namespace
}  // namespace orvo
