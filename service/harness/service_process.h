#pragma once
// Runs orvo-rating-service as a child process for tests and the benchmark: starts it on
// a free port, waits for its "listening on" line, and stops it with a signal of choice
// (SIGTERM for a clean stop, SIGKILL for a crash). Its output goes to a log file.
#include <sys/types.h>

#include <string>
#include <vector>

namespace orvo::service::harness {

struct ServiceLaunch {
  std::string db_path;
  std::string log_path;
  std::string site_dir;   // optional
  std::string seed_path;  // optional
  std::vector<std::string> extra_args;
  int port = 0;  // 0: any free port
  std::string executable = ORVO_RATING_SERVICE_EXE;
};

class ServiceProcess {
 public:
  ServiceProcess() = default;
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  bool Start(const ServiceLaunch& launch, std::string* error);
  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  bool running() const { return pid_ > 0; }

  // Sends the signal and waits for the end; returns the exit code, 128 + signal when the
  // signal ended it, or -1 when it had to be killed after the time-out.
  int Stop(int signal_number, int timeout_ms = 15000);

  std::string LogText() const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string log_path_;
};

// A fresh folder under the system's temporary folder, removed by the destructor.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A launch whose database and log lie in `folder`, seeded from `seed_path` when given.
ServiceLaunch LaunchIn(const TempFolder& folder, const std::string& seed_path = "");

}  // namespace orvo::service::harness
