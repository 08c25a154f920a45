// The main of every test program. "--orvo-idle" turns the program into a stand-in for a
// running browser: tests start copies of themselves under a browser's executable name.
// "--orvo-child NAME" runs a child mode a test registered (support/child_process.h).
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "support/child_process.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--orvo-idle") == 0) {
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
  }
  if (int code = 0; orvo::test::RunChildMode(argc, argv, &code)) return code;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
