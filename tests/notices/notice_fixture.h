#pragma once
// The machine of one notices test: a TestMachine (a sandbox image natively, the real
// system under Wine), a headless screen with its dispatcher (worker threads report
// there; the virtual clock moves only when the test says), the shared image module, and
// a recording HTTP server on loopback standing in for the maker's site.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/headless_screen.h"
#include "support/loopback_server.h"
#include "support/test_machine.h"
#include "ui/image_module.h"

namespace orvo::test {

class NoticeTest : public ::testing::Test {
 protected:
  explicit NoticeTest(const MachineOptions& options = {});
  ~NoticeTest() override;

  // Runs what the worker threads post until `done` (at most 20 s of real time).
  bool PumpUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds limit = std::chrono::seconds(20));
  // The addresses the program asked the shell to open (natively; nothing on Windows,
  // where they would really open).
  std::optional<std::vector<std::string>> OpenedUrls();
  // The files of a folder (Windows path), names only.
  std::vector<std::string> FilesIn(const std::string& folder);
  // A folder of the test's own under the machine's folder, created, ending in "\".
  std::string MakeFolder(const std::string& name);

  TestMachine machine;
  HeadlessScreen screen;
  TimgModule module;
  LoopbackServer server;
};

}  // namespace orvo::test
