#include "catalogue/plugin_records.h"

#include <string>

#include "catalogue/registry_changes.h"
#include "catalogue/registry_helpers.h"
#include "catalogue/system_values.h"

namespace orvo {
namespace {

void AddFrom(std::vector<std::unique_ptr<TBrowserExtensionInfo>>& items, RegRoot root,
             const std::string& key, bool read_only, uint8_t is64) {
  std::vector<std::string> names;
  RegGetSubKeyNames(root, key, names, read_only, true);
  std::string root_name;
  RootKeyName(root, root_name);
  const std::string prefix = key + "\\";
  const std::string root_prefix = root_name + "\\";
  for (const auto& sub : names) {
    auto item = std::make_unique<TBrowserExtensionInfo>();
    const std::string path = prefix + sub;
    item->ItemKind = ikPlugin;
    item->Id = sub;
    item->Name = RegReadString(root, path, "ProductName", true);
    item->Description = RegReadString(root, path, "Description", true);
    item->Version = RegReadString(root, path, "Version", true);
    item->Path = root_prefix + path;
    item->Is64 = is64;
    if (item->Name.empty()) item->Name = item->Id;
    items.push_back(std::move(item));
  }
}

}  // namespace

void AddMozillaPlugins(std::vector<std::unique_ptr<TBrowserExtensionInfo>>& items) {
  if (IsWin64())
    AddFrom(items, RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\MozillaPlugins", false, 0);
  AddFrom(items, RegRoot::CurrentUser, "SOFTWARE\\MozillaPlugins", true, IsWin64() ? 1 : 0);
}

os::WriteResult DeletePluginKey(const TBrowserExtensionInfo& item) {
  const size_t slash = item.Path.find('\\');
  if (slash == std::string::npos)
    return {os::kErrorBadPathname, "not a registry key: " + item.Path};
  return DeleteRegistryKey(RootKeyFromName(item.Path.substr(0, slash)), item.Path.substr(slash));
}

}  // namespace orvo
