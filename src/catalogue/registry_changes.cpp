#include "catalogue/registry_changes.h"

#include "platform/platform.h"

namespace orvo {
namespace {

std::string_view Relative(std::string_view key) {
  if (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  return key;
}

long OpenCode(RegRoot root, std::string_view key, uint32_t right) {
  std::unique_ptr<os::RegKey> handle;
  return os::Current().registry().OpenKey(root, Relative(key), RegViewAccess(right, key, true),
                                          &handle);
}

}  // namespace

std::string RegistryPath(RegRoot root, std::string_view key) {
  std::string name;
  RootKeyName(root, name);
  return name + "\\" + std::string(Relative(key));
}

std::unique_ptr<os::RegKey> OpenKeyForChange(RegRoot root, std::string_view key, long* error) {
  std::unique_ptr<os::RegKey> handle;
  *error = os::Current().registry().OpenKey(root, Relative(key),
                                            RegViewAccess(os::kKeyAllAccess, key, true), &handle);
  if (*error != os::kErrorSuccess) handle.reset();
  return handle;
}

std::string RegistryErrorText(long error) {
  switch (error) {
    case os::kErrorFileNotFound:
    case os::kErrorPathNotFound:
    case os::kErrorKeyDeleted: return "is missing";
    case os::kErrorAccessDenied: return "refused access";
    default: return "could not be changed (error " + std::to_string(error) + ")";
  }
}

os::WriteResult DeleteRegistryKey(RegRoot root, std::string_view path) {
  if (RegDeleteKeyPath(root, path)) return {};
  const long state = OpenCode(root, path, os::kKeyRead);
  if (state == os::kErrorFileNotFound || state == os::kErrorPathNotFound)
    return {};  // gone already
  return {state == os::kErrorSuccess ? os::kErrorAccessDenied : state,
          "the registry refused to delete " + RegistryPath(root, path)};
}

os::WriteResult DeleteRegistryValue(RegRoot root, std::string_view key,
                                    std::string_view value_name) {
  if (RegDeleteValue(root, key, value_name)) return {};
  std::unique_ptr<os::RegKey> handle;
  const long opened = os::Current().registry().OpenKey(
      root, Relative(key), RegViewAccess(os::kKeyRead, key, true), &handle);
  os::RegValue value;
  if (opened == os::kErrorFileNotFound || opened == os::kErrorPathNotFound ||
      (opened == os::kErrorSuccess &&
       handle->QueryValue(value_name, &value) == os::kErrorFileNotFound)) {
    return {};  // nothing of that name is left
  }
  return {os::kErrorAccessDenied, "the registry refused to delete the value \"" +
                                      std::string(value_name) + "\" of " + RegistryPath(root, key)};
}

}  // namespace orvo
