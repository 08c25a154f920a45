// The hooks of the main menu.
#include "notices/notices.h"

#include "notices/news_check.h"
#include "notices/update_check.h"
#include "shell/main_menu.h"

namespace orvo {

void InstallNoticeChecks() {
  MainMenuChecks& checks = MenuChecks();
  checks.StartNewsCheck = [](int32_t& msgid) { StartNewsCheck(msgid); };
  checks.StartUpdateCheck = [](bool silent) { StartUpdateCheck(silent); };
}

}  // namespace orvo
