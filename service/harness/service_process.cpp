// Child-process control of the rating service; see service_process.h. posix_spawn keeps
// the child start free of the fork-in-a-threaded-process pitfalls.
#include "service/harness/service_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace orvo::service::harness {
namespace {

constexpr int kStartTimeoutMs = 30000;  // sanitizer builds start slowly

// Exit code of a waitpid status.
int ExitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

ServiceProcess::~ServiceProcess() {
  if (running()) Stop(SIGKILL);
}

std::string ServiceProcess::LogText() const {
  std::ifstream file(log_path_, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

bool ServiceProcess::Start(const ServiceLaunch& launch, std::string* error) {
  log_path_ = launch.log_path;
  std::vector<std::string> args = {launch.executable, "--db", launch.db_path, "--port",
                                   std::to_string(launch.port)};
  if (!launch.site_dir.empty()) args.insert(args.end(), {"--site", launch.site_dir});
  if (!launch.seed_path.empty()) args.insert(args.end(), {"--seed", launch.seed_path});
  args.insert(args.end(), launch.extra_args.begin(), launch.extra_args.end());
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const size_t log_offset = LogText().size();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log_path_.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  const int rc =
      posix_spawn(&pid_, launch.executable.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    pid_ = -1;
    *error = "cannot start " + launch.executable;
    return false;
  }

  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    // Only this start's output counts: a restart appends to the same log.
    std::string log = LogText();
    log.erase(0, std::min(log_offset, log.size()));
    const size_t at = log.find("listening on http://");
    const size_t end = at == std::string::npos ? at : log.find('\n', at);
    if (end != std::string::npos) {
      const std::string line = log.substr(at, end - at);
      port_ = static_cast<int>(std::strtol(line.c_str() + line.rfind(':') + 1, nullptr, 10));
      if (port_ > 0) return true;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      *error = "the service ended at start (exit " + std::to_string(ExitCode(status)) + "): " + log;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  *error = "the service did not report its port: " + LogText();
  Stop(SIGKILL);
  return false;
}

int ServiceProcess::Stop(int signal_number, int timeout_ms) {
  if (!running()) return -1;
  kill(pid_, signal_number);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  int status = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return ExitCode(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return -1;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvo-service-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

ServiceLaunch LaunchIn(const TempFolder& folder, const std::string& seed_path) {
  ServiceLaunch launch;
  launch.db_path = folder.File("rating.db");
  launch.log_path = folder.File("service.log");
  launch.seed_path = seed_path;
  return launch;
}

}  // namespace orvo::service::harness
