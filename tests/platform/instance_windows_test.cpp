// Windows reached from elsewhere, natively: commands sent to a published window's handle
// run on its UI thread while it pumps, the sender waits for them, and a handle that is no
// longer published answers nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "platform/headless/headless_window_system.h"
#include "platform/instance_windows.h"

namespace orvo::os {
namespace {

namespace fs = std::filesystem;

struct RestoreCounter : WindowClient {
  bool OnSysCommand(SysCommand command) override {
    if (command == SysCommand::kRestore) ++restores;
    return true;
  }
  int restores = 0;
};

TEST(InstanceWindows, CommandsRunOnTheUiThreadAndStopWithThePublication) {
  const fs::path run = fs::temp_directory_path() / ("orvo-reach-" + std::to_string(::getpid()));
  fs::create_directories(run);
  fs::permissions(run, fs::perms::owner_all, fs::perm_options::replace);
  ::setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
  {
    WindowSystemScope scope(std::make_unique<headless::HeadlessWindowSystem>());
    RestoreCounter client;
    std::unique_ptr<Window> window = scope.system().NewWindow({{10, 10, 100, 100}}, &client);
    std::unique_ptr<PublishedWindow> published = PublishWindow(*window);
    ASSERT_TRUE(published);
    const WindowHandle32 handle = published->Handle();
    ASSERT_NE(handle, 0u);

    std::atomic<int> sent{0};
    std::thread sender([&] {
      sent = (SendSysCommandTo(handle, kScRestore) ? 1 : 0) + (SetTopMostOf(handle, true) ? 2 : 0);
    });
    scope.system().Dispatcher()->RunUntil([&] { return sent != 0; }, std::chrono::seconds(10));
    sender.join();
    EXPECT_EQ(sent, 3);
    EXPECT_EQ(client.restores, 1);
    EXPECT_TRUE(window->IsTopMost());

    published.reset();
    EXPECT_FALSE(SendSysCommandTo(handle, kScRestore));
    EXPECT_FALSE(SendSysCommandTo(0, kScRestore));
  }
  ::unsetenv("XDG_RUNTIME_DIR");
  fs::remove_all(run);
}

}  // namespace
}  // namespace orvo::os
