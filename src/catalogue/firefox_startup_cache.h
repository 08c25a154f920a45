#pragma once
// Firefox's add-on startup cache, addonStartup.json.lz4 in the profile. A current Firefox
// starts add-ons from this file, not from extensions.json: it reconciles the two only when
// something tells it to (an application update, a changed install folder), so a switch or
// a delete that leaves this file behind is not honoured at the next start
// (toolkit/mozapps/extensions/internal/XPIProvider.sys.mjs: XPIProvider.checkForChanges,
// XPIStates.scanForChanges).
//
// Layout (XPIStates.toJSON, XPIStateLocation.toJSON, XPIState.toJSON there): one member
// per install location by name ("app-profile", "app-builtin", "app-system-defaults" ...),
// each {"addons": {<id>: {"enabled": bool, "path", "version", "type" (absent for
// extensions), "rootURI", ...}}, "staged": {...}, "path": <folder>}. "enabled" is the
// browser's "visible and not disabled" (XPIState.syncWithDB).
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/json_document.h"

namespace orvo {

inline constexpr const char* kStartupCacheFile = "addonStartup.json.lz4";

// The parsed cache. Null with `error` empty when there is none: no file, or an empty one
// (the browser takes an empty file for no cache, AddonManagerStartup.cpp ReadFileLZ4).
// Null with the reason ("<path>: <what failed>") when a file is there but is no cache.
std::unique_ptr<JsonDocument> ReadStartupCache(const std::string& path, std::string* error);

// The add-on's state object, <location>.addons.<id>; null when the cache has none.
Json* StartupCacheEntry(Json& cache, std::string_view location, std::string_view id);
// Takes the add-on's state out; true when there was one.
bool RemoveStartupCacheEntry(Json& cache, std::string_view location, std::string_view id);

// The file for the document; nothing (with the reason) when it cannot be compressed.
std::optional<std::string> StartupCacheFileBytes(const Json& cache, std::string* why);

}  // namespace orvo
