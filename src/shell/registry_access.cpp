// The registry access test at start-up.
#include "shell/registry_access.h"

#include <memory>

#include "platform/platform.h"
#include "shell/language.h"

namespace orvo {

bool CheckRegistryAccess(PlainMessageBox& message_box) {
  std::unique_ptr<os::RegKey> key;
  const long rc = os::Current().registry().OpenKey(os::RegRoot::LocalMachine, kBrowserClientsKey,
                                                   os::kKeyAllAccess, &key);
  if (rc != os::kErrorAccessDenied) return true;
  message_box.Show(GetLangString("Messages", "ACCESSDENIED", ""));
  return false;
}

}  // namespace orvo
