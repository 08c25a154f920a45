// The translated message box.
#include "shell/message_key.h"

#include <string>

#include "shell/language.h"
#include "ui/image_module.h"
#include "ui/lum_message_box.h"

namespace orvo {

int ShowMessageKey(TForm* owner, std::string_view key, int buttons, int icon) {
  return ShowMessageText(owner, GetLangString("Messages", key, key), buttons, icon);
}

int ShowMessageText(TForm* owner, const std::string& text, int buttons, int icon) {
  TimgModule* module = imgModule;
  if (!module) return 0;
  const std::string title = GetLangString("Translation", "Confirm", "Confirmation");
  return module->msgdlg.ShowMessageBox(title, text, nullptr, false, owner, buttons, icon);
}

}  // namespace orvo
