// A back end bound to a thread: what Current() answers there, what it restores, and
// threads that end while bound (the worker threads' case).
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "support/test_machine.h"

namespace orvo::test {
namespace {

TEST(BoundPlatform, ABindingAnswersOnItsThreadAndTheOuterOneComesBack) {
  TestMachine machine;
  const std::shared_ptr<os::Platform> installed = os::SharedCurrent();
  ASSERT_TRUE(installed);
  std::string error;
  std::shared_ptr<os::Platform> other =
      os::OpenPlatform(machine.sandbox() ? machine.image_folder() : std::string(), &error);
  ASSERT_TRUE(other) << error;
  std::weak_ptr<os::Platform> other_left = other;
  {
    os::BoundPlatform outer(other);
    other.reset();  // the binding alone keeps it
    EXPECT_EQ(&os::Current(), other_left.lock().get());
    {
      os::BoundPlatform none(nullptr);  // leaves the thread as it was
      EXPECT_EQ(os::SharedCurrent(), other_left.lock());
      os::BoundPlatform inner(installed);
      EXPECT_EQ(&os::Current(), installed.get());
    }
    EXPECT_EQ(&os::Current(), other_left.lock().get());
    // Other threads still see the installed one.
    const os::Platform* seen = nullptr;
    std::thread([&] { seen = &os::Current(); }).join();
    EXPECT_EQ(seen, installed.get());
  }
  EXPECT_TRUE(other_left.expired());
  EXPECT_EQ(os::SharedCurrent(), installed);
}

// Every worker thread binds its back end and ends while bound to nothing else: no
// thread keeps a reference, and none crashes on its way out (MinGW's emulated TLS once
// ran a thread-local's destructor on freed storage there; the binding has none now).
TEST(BoundPlatform, ManyThreadsEndWhileBound) {
  TestMachine machine;
  const std::shared_ptr<os::Platform> installed = os::SharedCurrent();
  const long owners = installed.use_count();
  for (int round = 0; round < 20; ++round) {
    std::vector<std::thread> threads;
    for (int i = 0; i < 25; ++i) {
      threads.emplace_back([installed] {
        os::BoundPlatform bound(installed);
        EXPECT_EQ(&os::Current(), installed.get());
      });
    }
    for (auto& t : threads) t.join();
  }
  EXPECT_EQ(installed.use_count(), owners);  // no thread kept a reference
}

}  // namespace
}  // namespace orvo::test
