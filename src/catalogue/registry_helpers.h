#pragma once
// Registry reading, writing, enumeration and deletion by path, with the program's rule for
// choosing between the 32- and 64-bit registry views. None of these raise or report:
// a missing key, a missing value or a refusal comes back as empty text, false, the
// given default, or nothing written; the callers decide what the user hears (usually
// nothing).
//
// Key paths may start with a backslash, meaning "from the root", as the registry object
// the catalogues were first written against read them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_constants.h"

#ifdef RegDeleteValue
#undef RegDeleteValue  // windows.h would rename ours to its own A/W function
#endif

namespace orvo {

using os::RegRoot;

// KEY_READ or KEY_ALL_ACCESS, plus KEY_WOW64_64KEY on 64-bit Windows.
uint32_t RegAccess(bool read_only);
// The root for a full root name in any letter case; anything else (HKLM too) gives
// HKEY_CLASSES_ROOT.
RegRoot RootKeyFromName(std::string_view name);
// Sets `name` to the root's full name; leaves it unchanged for an unknown root.
void RootKeyName(RegRoot root, std::string& name);

// The access (with view flag) the view rule gives for a right and a key path.
uint32_t RegViewAccess(uint32_t right, std::string_view key, bool wow_aware);

bool RegKeyReadable(RegRoot root, std::string_view key, bool wow_aware);
std::string RegReadString(RegRoot root, std::string_view key, std::string_view value_name,
                          bool wow_aware, bool* key_opened = nullptr);
int32_t RegReadInteger(RegRoot root, std::string_view key, std::string_view value_name,
                       bool wow_aware, int32_t fallback);
// Writes only into an existing key; reports success whatever happened.
bool RegWriteString(RegRoot root, std::string_view key, std::string_view value_name,
                    std::string_view text);
bool RegDeleteValue(RegRoot root, std::string_view key, std::string_view value_name);
bool RegGetSubKeyNames(RegRoot root, std::string_view key, std::vector<std::string>& list,
                       bool read_only, bool wow_aware);
bool RegGetValueNames(RegRoot root, std::string_view key, std::vector<std::string>& list,
                      bool read_only, bool wow_aware);
// Deletes the key with its whole subtree; an empty or blank path gives false.
bool RegDeleteKeyPath(RegRoot root, std::string_view path);

}  // namespace orvo
