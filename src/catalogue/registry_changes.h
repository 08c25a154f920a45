#pragma once
// Registry changes that say what happened. The registry helpers (registry_helpers.h)
// answer true or false and stay silent, as lookups should; a delete or write the user
// asked for must name the key that was missing or refused, so that no refusal is shown
// as done. Keys are opened in the view the helpers' rule gives for a change.
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/registry_helpers.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace orvo {

// "HKEY_CURRENT_USER\Software\...": how messages name a key.
std::string RegistryPath(RegRoot root, std::string_view key);

// The existing key opened with full access; null with the system's code in `error` when
// it is missing or refuses.
std::unique_ptr<os::RegKey> OpenKeyForChange(RegRoot root, std::string_view key, long* error);
// "is missing", "refused access", or the code for anything else.
std::string RegistryErrorText(long error);

// Deletes the key with everything below it. A key that is already gone counts as
// deleted; a refusal names the key.
os::WriteResult DeleteRegistryKey(RegRoot root, std::string_view path);
// Deletes one value of a key, likewise.
os::WriteResult DeleteRegistryValue(RegRoot root, std::string_view key,
                                    std::string_view value_name);

}  // namespace orvo
