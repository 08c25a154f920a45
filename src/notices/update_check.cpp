// The update check thread and what the program does with its answer.
#include "notices/update_check.h"

#include "net/http_downloads.h"
#include "net/transfer_limits.h"
#include "notices/first_paint_gate.h"
#include "notices/notice_ini.h"
#include "notices/web_address.h"
#include "shell/message_key.h"
#include "shell/site_pages.h"
#include "shell/version_text.h"
#include "ui/application.h"

namespace orvo {
namespace {

constexpr int kButtonsYesNo = 3;
constexpr int kButtonOk = 4;
constexpr int kIconInformation = 3;
constexpr int kResultYes = 6;

// A check is running (from its start until its answer has been shown); UI thread only.
bool running_check = false;

}  // namespace

TCheckUpdate::TCheckUpdate(std::string url, int32_t build)
    : TWorkerThread(Priority::kIdle),
      url_(std::move(url)),
      build_(build),
      download_url_(SitePage(kDownloadPath)) {}

void TCheckUpdate::Execute() {
  if (OnStart) Synchronize([this] { OnStart(*this); });
  const std::string text = HttpGetText(url_, kMaxDescriptionBytes);
  if (text.empty()) return;
  const auto ini = NoticeIni::Write(text);
  if (!ini) return;
  temp_file_ = ini->Path();
  build_ = ini->Integer("VerInfo", "build", build_);
  download_url_ = ini->String("VerInfo", "NewGetUrl", download_url_);
  new_info_ = ini->KeyNames("NewInfo");
  // A file per start would pile up in the temporary folder.
  ini->Remove();
}

void TCheckUpdate::DoTerminate() {
  if (OnComplete) OnComplete(*this, temp_file_, new_info_, download_url_, build_);
}

TAppUpdate::TAppUpdate(std::string url, uint16_t own_build, bool silent)
    : TCheckUpdate(std::move(url), own_build), own_build_(own_build), silent_(silent) {}

void UpdateDecision(uint16_t own_build, bool silent, int32_t offered_build,
                    const std::string& download_url) {
  TForm* owner = Application().MainForm;
  if (offered_build > own_build) {
    if (ShowMessageKey(owner, "NewVer", kButtonsYesNo, kIconInformation) == kResultYes) {
      OpenNetworkAddress(download_url, AddressUse::kPage);
    }
  } else if (!silent) {
    ShowMessageKey(owner, "NoNewVer", kButtonOk, kIconInformation);
  }
  running_check = false;
}

bool StartUpdateCheckFrom(const std::string& url, uint16_t own_build, bool silent) {
  if (running_check) return false;
  running_check = true;
  WhenMainWindowPainted([url, own_build, silent] {
    auto check = std::make_unique<TAppUpdate>(url, own_build, silent);
    check->OnComplete = [own_build, silent](TCheckUpdate&, const std::string&,
                                            const std::vector<std::string>&,
                                            const std::string& download_url, int32_t build) {
      WhenMainWindowPainted([own_build, silent, build, download_url] {
        UpdateDecision(own_build, silent, build, download_url);
      });
    };
    TWorkerThread::Start(std::move(check));
  });
  return true;
}

void StartUpdateCheck(bool silent) {
  StartUpdateCheckFrom(SitePage(kUpdateInfoPath), ProgramBuild(), silent);
}

bool UpdateCheckRunning() { return running_check; }

}  // namespace orvo
