// The single-instance record: its layout, the check against a first instance in this
// process and in another process, and a record that outlived its processes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/shared_memory.h"
#include "shell/single_instance.h"
#include "support/child_process.h"
#include "support/scoped_env.h"
#include "support/test_machine.h"

namespace orvo::test {
namespace {

// The window system that will restore the first instance does not exist yet, so the
// two window commands are recorded instead of sent. This is the only stand-in of these
// tests; the shared memory and the processes are real.
class RecordingWindows : public InstanceWindows {
 public:
  void SendSysCommand(WindowHandle32 window, uint32_t command) override {
    calls.push_back("syscommand " + std::to_string(window) + " " + std::to_string(command));
  }
  void SetTopMost(WindowHandle32 window, bool top_most) override {
    calls.push_back(std::string(top_most ? "topmost " : "notopmost ") + std::to_string(window));
  }
  std::vector<std::string> calls;
};

uint32_t Slot(os::SharedMemory& block, int slot) {
  uint32_t v = 0;
  std::memcpy(&v, block.data() + 4 * slot, 4);
  return v;
}

std::filesystem::path HostPath(const std::string& path) {
  return std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str()));
}

// The child's side of the two-process tests: open the record, check like a starting
// program (slot 0 gets our application window), register the main window unless it is
// 0, tell the test by writing the ready file, and wait to be killed.
const ChildMode kFirstInstance("first-instance", [](const std::vector<std::string>& args) {
  if (args.size() != 4) return 2;
  OpenInstanceMemory(args[0]);
  RecordingWindows windows;
  const bool second =
      CheckPreviousInstance(static_cast<WindowHandle32>(std::stoul(args[1])), windows);
  if (const auto main_window = static_cast<WindowHandle32>(std::stoul(args[2])))
    RegisterMainWindow(main_window);
  {  // written whole before it appears under its name
    std::ofstream(HostPath(args[3] + ".part")) << (second ? "second" : "first");
  }
  std::filesystem::rename(HostPath(args[3] + ".part"), HostPath(args[3]));
  for (int i = 0; i < 600; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return 0;
});

class SingleInstanceTest : public ::testing::Test {
 protected:
  SingleInstanceTest()
      : name_(std::string(kInstanceMemoryName) + "-test-" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())),
        runtime_(machine_.sandbox() ? machine_.image_folder() + "/runtime"
                                    : machine_.folder() + "\\runtime") {
    // Natively the blocks are files in the runtime folder: keep them in the test's own.
    std::filesystem::create_directories(HostPath(runtime_));
  }
  ~SingleInstanceTest() override { CloseInstanceMemory(); }

  std::string ReadyFile() const {
    return machine_.sandbox() ? machine_.image_folder() + "/ready" : machine_.folder() + "\\ready";
  }

  TestMachine machine_;
  std::string name_;
  std::string runtime_;
  ScopedEnv runtime_env_{"XDG_RUNTIME_DIR", runtime_};
};

TEST_F(SingleInstanceTest, TheFirstInstanceTakesSlotZeroOfAZeroedBlock) {
  OpenInstanceMemory(name_);
  auto block = os::OpenSharedMemory(name_, kInstanceMemorySize);
  ASSERT_TRUE(block);
  EXPECT_FALSE(block->created()) << "OpenInstanceMemory created it";
  EXPECT_EQ(Slot(*block, 0), 0u);
  EXPECT_EQ(Slot(*block, 1), 0u);

  RecordingWindows windows;
  EXPECT_FALSE(CheckPreviousInstance(0x00012345, windows));
  EXPECT_TRUE(windows.calls.empty());
  RegisterMainWindow(0xFEDCBA98);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block->data()), 8),
            std::string("\x45\x23\x01\x00\x98\xBA\xDC\xFE", 8));
}

TEST_F(SingleInstanceTest, ASecondStartRestoresTheFirstAndRaisesItsMainWindow) {
  struct Case {
    uint32_t app;
    uint32_t main;
    std::vector<std::string> calls;
  } cases[] = {
      {0x1010, 0x2020, {"syscommand 4112 61728", "topmost 8224", "notopmost 8224"}},
      {0x1010, 0, {"syscommand 4112 61728"}},  // the main window does not exist yet
  };
  for (const auto& c : cases) {
    auto first = os::OpenSharedMemory(name_, kInstanceMemorySize);
    ASSERT_TRUE(first);
    std::memcpy(first->data(), &c.app, 4);
    std::memcpy(first->data() + 4, &c.main, 4);
    OpenInstanceMemory(name_);
    RecordingWindows windows;
    EXPECT_TRUE(CheckPreviousInstance(0x9999, windows));
    EXPECT_EQ(windows.calls, c.calls);
    EXPECT_EQ(Slot(*first, 0), c.app) << "the slots stay the first instance's";
    CloseInstanceMemory();
  }
}

TEST_F(SingleInstanceTest, WithoutTheBlockEveryStartRunsAlone) {
  CloseInstanceMemory();
  RecordingWindows windows;
  EXPECT_FALSE(CheckPreviousInstance(0x10, windows));
  EXPECT_FALSE(CheckPreviousInstance(0x10, windows));
  RegisterMainWindow(0x20);
  EXPECT_TRUE(windows.calls.empty());
}

TEST_F(SingleInstanceTest, ASecondProcessFindsTheFirstAndAnEndedOneIsForgotten) {
  struct Case {
    uint32_t main;
    std::vector<std::string> calls;
  } cases[] = {
      {0x0BEEF, {"syscommand 4660 61728", "topmost 48879", "notopmost 48879"}},
      {0, {"syscommand 4660 61728"}},
  };
  for (const auto& c : cases) {
    std::error_code ec;
    std::filesystem::remove(HostPath(ReadyFile()), ec);
    ChildProcess first("first-instance", {name_, "4660", std::to_string(c.main), ReadyFile()});
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(WaitForFile(ReadyFile(), 30000)) << "the first instance did not start";
    EXPECT_EQ(ReadHostFile(ReadyFile()), "first");

    OpenInstanceMemory(name_);
    RecordingWindows windows;
    EXPECT_TRUE(CheckPreviousInstance(0x7777, windows));
    EXPECT_EQ(windows.calls, c.calls);
    CloseInstanceMemory();

    // The first instance ends: with it goes the last holder of the block, and the next
    // start is a first one again.
    first.Kill();
    OpenInstanceMemory(name_);
    RecordingWindows later;
    EXPECT_FALSE(CheckPreviousInstance(0x7777, later));
    EXPECT_TRUE(later.calls.empty());
    CloseInstanceMemory();
  }
}

}  // namespace
}  // namespace orvo::test
