#pragma once
// The update check: a worker thread reads the update description (INI text on the
// maker's site: [VerInfo] build and NewGetUrl, [NewInfo] key names) and compares the
// build offered there with the program's own. A newer one is offered with "NewVer"
// (Yes opens the download page); a check the user asked for also says "NoNewVer".
//
// At most one update check runs at a time: StartUpdateCheck does nothing while one runs,
// until its completion has shown its answer. A download that fails offers nothing.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/worker_thread.h"

namespace orvo {

class TCheckUpdate : public TWorkerThread {
 public:
  using Completion = std::function<void(TCheckUpdate& sender, const std::string& temp_file,
                                        const std::vector<std::string>& new_info,
                                        const std::string& download_url, int32_t build)>;

  // Idle priority. `build` is the program's own until the description says otherwise.
  TCheckUpdate(std::string url, int32_t build);

  // On the UI thread before the download, when set.
  std::function<void(TCheckUpdate&)> OnStart;
  // On the UI thread when the check ends, whether or not the download succeeded. The
  // temporary file is removed by then (nothing reads it afterwards).
  Completion OnComplete;

  const std::string& Url() const { return url_; }
  int32_t Build() const { return build_; }
  const std::string& DownloadUrl() const { return download_url_; }
  const std::vector<std::string>& NewInfo() const { return new_info_; }
  const std::string& TempFile() const { return temp_file_; }

 protected:
  void Execute() override;
  void DoTerminate() override;

 private:
  const std::string url_;
  int32_t build_;
  std::string download_url_;
  std::vector<std::string> new_info_;
  std::string temp_file_;
};

class TAppUpdate : public TCheckUpdate {
 public:
  TAppUpdate(std::string url, uint16_t own_build, bool silent);
  uint16_t OwnBuild() const { return own_build_; }
  bool Silent() const { return silent_; }

 private:
  const uint16_t own_build_;
  const bool silent_;
};

// Starts a TAppUpdate on the site's update description with the program's own build,
// unless one runs. Silent: nothing is said when there is no newer version.
void StartUpdateCheck(bool silent);
// Starts one on another description and build (the tests' way in); false when one runs.
bool StartUpdateCheckFrom(const std::string& url, uint16_t own_build, bool silent);
bool UpdateCheckRunning();

// The decision when a TAppUpdate ends (once the main window has painted): "NewVer" with
// Yes and No over the main window when the offered build is newer than the own one, Yes
// opening the download page (web pages only); otherwise "NoNewVer" with OK unless silent.
// Then another check may start.
void UpdateDecision(uint16_t own_build, bool silent, int32_t offered_build,
                    const std::string& download_url);

}  // namespace orvo
