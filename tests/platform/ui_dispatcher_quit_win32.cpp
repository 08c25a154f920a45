// The message window under a quit request: the UI thread's loop must see WM_QUIT, so a
// wait for something else ends and leaves the request queued.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "platform/win32/win32_ui_dispatcher.h"

namespace orvo::os {
namespace {

TEST(WindowDispatcherQuit, EndsAWaitAndStaysQueued) {
  auto ui = win32::MakeWindowDispatcher();
  bool ran = false;
  ui->Post([&] { ran = true; });
  PostQuitMessage(7);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ui->RunUntil([] { return false; }, std::chrono::seconds(5)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(ran);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  ui->Shutdown();
}

}  // namespace
}  // namespace orvo::os
