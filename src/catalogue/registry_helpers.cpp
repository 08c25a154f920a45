// The registry helpers and their view rule:
//   1. not WOW-aware, or not 64-bit Windows: the plain right;
//   2. a key naming "wow6432node" on Windows 6.0 or 5.2: the right + KEY_WOW64_32KEY;
//   3. otherwise the right + KEY_WOW64_64KEY, the native view (an explicit Wow6432Node
//      component then reaches the 32-bit branch literally).
#include "catalogue/registry_helpers.h"

#include <memory>

#include "catalogue/system_values.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {
namespace {

std::string_view Relative(std::string_view key) {
  if (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  return key;
}

std::unique_ptr<os::RegKey> Open(RegRoot root, std::string_view key, uint32_t access) {
  std::unique_ptr<os::RegKey> handle;
  if (os::Current().registry().OpenKey(root, Relative(key), access, &handle) != os::kErrorSuccess) {
    return nullptr;
  }
  return handle;
}

bool Windows60or52() {
  const os::WindowsVersion v = os::Current().system().Version();
  return (v.major == 6 && v.minor == 0) || (v.major == 5 && v.minor == 2);
}

uint32_t Steps2And3(uint32_t right, std::string_view key) {
  if (ContainsNoCase(key, "wow6432node") && Windows60or52()) return right | os::kKeyWow64_32Key;
  return right | os::kKeyWow64_64Key;
}

}  // namespace

uint32_t RegAccess(bool read_only) {
  return (read_only ? os::kKeyRead : os::kKeyAllAccess) | (IsWin64() ? os::kKeyWow64_64Key : 0);
}

RegRoot RootKeyFromName(std::string_view name) {
  const std::string upper = ToUpperAscii(name);
  if (upper == "HKEY_CURRENT_USER") return RegRoot::CurrentUser;
  if (upper == "HKEY_LOCAL_MACHINE") return RegRoot::LocalMachine;
  if (upper == "HKEY_USERS") return RegRoot::Users;
  if (upper == "HKEY_CURRENT_CONFIG") return RegRoot::CurrentConfig;
  return RegRoot::ClassesRoot;
}

void RootKeyName(RegRoot root, std::string& name) {
  switch (root) {
    case RegRoot::ClassesRoot: name = "HKEY_CLASSES_ROOT"; break;
    case RegRoot::CurrentUser: name = "HKEY_CURRENT_USER"; break;
    case RegRoot::LocalMachine: name = "HKEY_LOCAL_MACHINE"; break;
    case RegRoot::Users: name = "HKEY_USERS"; break;
    case RegRoot::CurrentConfig: name = "HKEY_CURRENT_CONFIG"; break;
  }
}

uint32_t RegViewAccess(uint32_t right, std::string_view key, bool wow_aware) {
  if (!wow_aware || !IsWin64()) return right;
  return Steps2And3(right, key);
}

bool RegKeyReadable(RegRoot root, std::string_view key, bool wow_aware) {
  std::unique_ptr<os::RegKey> handle;
  const long rc = os::Current().registry().OpenKey(
      root, Relative(key), RegViewAccess(os::kKeyRead, key, wow_aware), &handle);
  return rc == os::kErrorSuccess || rc == os::kErrorAccessDenied;
}

std::string RegReadString(RegRoot root, std::string_view key, std::string_view value_name,
                          bool wow_aware, bool* key_opened) {
  auto handle = Open(root, key, RegViewAccess(os::kKeyRead, key, wow_aware));
  if (key_opened) *key_opened = handle != nullptr;
  if (!handle) return {};
  os::RegValue value;
  if (handle->QueryValue(value_name, &value) != os::kErrorSuccess) return {};
  switch (value.type) {
    case os::kRegSz:
    case os::kRegExpandSz:
    case os::kRegBinary: return Utf16LeBytesToUtf8(value.data.data(), value.data.size(), true);
    case os::kRegDword: return {};
    default: {
      // A type the registry object does not classify (a multi-string, for one): its raw
      // units are taken one by one, a NUL becoming CR LF, all but the last.
      if (value.data.size() >= 1024) return {};
      std::u16string units;
      const size_t count = value.data.size() / 2;
      for (size_t i = 0; i + 1 < count; ++i) {
        const char16_t u = static_cast<char16_t>(value.data[2 * i] | (value.data[2 * i + 1] << 8));
        if (u == 0) {
          units += u"\r\n";
        } else {
          units += u;
        }
      }
      return Utf16ToUtf8(units);
    }
  }
}

int32_t RegReadInteger(RegRoot root, std::string_view key, std::string_view value_name,
                       bool wow_aware, int32_t fallback) {
  const uint32_t access =
      (!wow_aware || !IsWin64()) ? RegAccess(true) : Steps2And3(os::kKeyRead, key);
  auto handle = Open(root, key, access);
  if (!handle) return fallback;
  os::RegValue value;
  if (handle->QueryValue(value_name, &value) != os::kErrorSuccess || value.type != os::kRegDword ||
      value.data.size() < 4) {
    return fallback;
  }
  return static_cast<int32_t>(value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                              (static_cast<uint32_t>(value.data[3]) << 24));
}

bool RegWriteString(RegRoot root, std::string_view key, std::string_view value_name,
                    std::string_view text) {
  if (auto handle = Open(root, key, Steps2And3(os::kKeyAllAccess, key))) {
    const auto data = os::RegStringData(text);
    handle->SetValue(value_name, os::kRegSz, data);
  }
  return true;
}

bool RegDeleteValue(RegRoot root, std::string_view key, std::string_view value_name) {
  auto handle = Open(root, key, Steps2And3(os::kKeyAllAccess, key));
  return handle && handle->DeleteValue(value_name) == os::kErrorSuccess;
}

bool RegGetSubKeyNames(RegRoot root, std::string_view key, std::vector<std::string>& list,
                       bool read_only, bool wow_aware) {
  list.clear();
  const uint32_t right = read_only ? os::kKeyRead : os::kKeyAllAccess;
  auto handle = Open(root, key, wow_aware ? RegViewAccess(right, key, true) : right);
  if (!handle) return false;
  handle->EnumSubKeys(&list);
  return true;
}

bool RegGetValueNames(RegRoot root, std::string_view key, std::vector<std::string>& list,
                      bool read_only, bool wow_aware) {
  list.clear();
  const uint32_t right = read_only ? os::kKeyRead : os::kKeyAllAccess;
  auto handle = Open(root, key, wow_aware ? RegAccess(read_only) : right);
  if (!handle) return false;
  handle->EnumValues(&list);
  return true;
}

bool RegDeleteKeyPath(RegRoot root, std::string_view path) {
  if (TrimView(path).empty()) return false;
  const size_t last = path.rfind('\\');
  std::string_view parent;
  std::string_view child = path;
  if (last != std::string_view::npos && last != 0 && last != path.size() - 1) {
    parent = path.substr(0, last);
    child = path.substr(last + 1);
  }
  auto handle = Open(root, parent, Steps2And3(os::kKeyAllAccess, path));
  return handle && handle->DeleteSubTree(Relative(child)) == os::kErrorSuccess;
}

}  // namespace orvo
