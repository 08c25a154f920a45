#pragma once
// OrvoPM's trace (--trace FILE): one line per notable event, appended as it happens, for
// the tests and scripts that watch the whole process from outside (test.sh under Wine,
// run.sh --gui, bench_main and bench_notices): "shown", "first-paint-ms N", "restore",
// "second instance", "refused", and "news settled" once a news window has slid in with
// its page. Without a file nothing is written.
#include <chrono>
#include <string>

namespace orvo {

namespace os {
class WindowSystem;
}

class ProgramTrace {
 public:
  explicit ProgramTrace(std::string file) : file_(std::move(file)) {}

  void Line(const std::string& line) const;
  // "first-paint-ms N": the time from `started` (the process's start) until now.
  void FirstPaint(std::chrono::steady_clock::time_point started) const;
  // Looks every 100 ms for a news window that has settled and writes "news settled" each
  // time one does (a later news item settles again).
  void WatchNewsWindow(os::WindowSystem& windows) const;

 private:
  std::string file_;
};

}  // namespace orvo
