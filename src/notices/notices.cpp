// The hooks of the main menu.
#include "notices/notices.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "notices/ad_presenter.h"
#include "notices/first_paint_gate.h"
#include "notices/news_check.h"
#include "notices/update_check.h"
#include "shell/main_menu.h"
#include "shell/main_window_advert.h"

namespace orvo {
namespace {

// The presenters the main windows hold.
std::vector<std::weak_ptr<TOrvoAd>>& Presenters() {
  static std::vector<std::weak_ptr<TOrvoAd>> presenters;
  return presenters;
}

}  // namespace

void InstallNoticeChecks() {
  // Installed at start-up: nothing of the notices goes before the main window's first paint.
  HoldNoticesForFirstPaint();
  MainMenuChecks& checks = MenuChecks();
  checks.StartNewsCheck = [](int32_t& msgid) { StartNewsCheck(msgid); };
  checks.StartUpdateCheck = [](bool silent) { StartUpdateCheck(silent); };
  MainWindowAdvert() = [](TLumImage& imgad) -> std::shared_ptr<void> {
    auto presenter = std::make_shared<TOrvoAd>(imgad);
    auto& presenters = Presenters();
    std::erase_if(presenters, [](const auto& p) { return p.expired(); });
    presenters.push_back(presenter);
    return presenter;
  };
}

bool AdvertsSettled() {
  return std::all_of(Presenters().begin(), Presenters().end(), [](const std::weak_ptr<TOrvoAd>& p) {
    const auto presenter = p.lock();
    return !presenter || !presenter->Reader().Busy();
  });
}

}  // namespace orvo
