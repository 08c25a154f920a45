#pragma once
// NPAPI plug-ins, listed from the registry keys the Mozilla plug-in host reads; Chrome,
// Firefox and Opera each carry their own copy of these records.
#include <memory>
#include <vector>

#include "catalogue/extension_info.h"
#include "platform/file_system.h"

namespace orvo {

// Appends one ikPlugin record per plug-in key, in enumeration order.
void AddMozillaPlugins(std::vector<std::unique_ptr<TBrowserExtensionInfo>>& items);
// Removes the record's plug-in key (Path is ROOT\key\subkey) with everything below it;
// a refusal names the key.
os::WriteResult DeletePluginKey(const TBrowserExtensionInfo& item);

}  // namespace orvo
