#pragma once
// Tests that need a second process start a copy of the running test program in a "child
// mode": the program's main runs the mode registered under that name instead of the
// tests. The child and the test meet through files (a marker the child writes when it is
// ready) and the child is ended by killing it, as a crashed or ended program would be.
#include <functional>
#include <string>
#include <vector>

namespace orvo::test {

// A mode the test program can run as: int(arguments). Register at namespace scope:
//   const ChildMode kMode("name", [](const std::vector<std::string>& args) { ...; return 0; });
class ChildMode {
 public:
  using Body = std::function<int(const std::vector<std::string>&)>;
  ChildMode(const char* name, Body body);
};

// Runs the mode named by argv when argv asks for one ("--orvo-child NAME ARGS..."); sets
// `exit_code` and returns true then.
bool RunChildMode(int argc, char** argv, int* exit_code);

class ChildProcess {
 public:
  // Starts this test program in the mode, with the arguments.
  ChildProcess(const std::string& mode, const std::vector<std::string>& args);
  ~ChildProcess();  // kills the child if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const;
  // Waits up to timeout_ms for the child to end by itself; its exit code, or -1.
  int Wait(int timeout_ms);
  // Ends the child at once and waits for it to be gone.
  void Kill();

 private:
  void* handle_ = nullptr;  // the process handle (Windows) or the pid (POSIX), boxed
};

// Waits up to timeout_ms for a file to exist (host path natively, Windows path on Windows).
bool WaitForFile(const std::string& path, int timeout_ms);

}  // namespace orvo::test
