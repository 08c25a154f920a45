// Child processes natively: posix_spawn of /proc/self/exe.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/child_process.h"
#include "support/test_machine.h"

extern char** environ;

namespace orvo::test {

ChildProcess::ChildProcess(const std::string& mode, const std::vector<std::string>& args) {
  std::vector<std::string> all = {OwnExecutablePath(), "--orvo-child", mode};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, all[0].c_str(), nullptr, nullptr, argv.data(), environ) == 0) {
    handle_ = new pid_t(pid);
  }
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::started() const { return handle_ != nullptr; }

int ChildProcess::Wait(int timeout_ms) {
  if (!handle_) return -1;
  pid_t* pid = static_cast<pid_t*>(handle_);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    int status = 0;
    if (waitpid(*pid, &status, WNOHANG) == *pid) {
      delete pid;
      handle_ = nullptr;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (std::chrono::steady_clock::now() > end) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void ChildProcess::Kill() {
  if (!handle_) return;
  pid_t* pid = static_cast<pid_t*>(handle_);
  kill(*pid, SIGKILL);
  int status = 0;
  waitpid(*pid, &status, 0);
  delete pid;
  handle_ = nullptr;
}

}  // namespace orvo::test
