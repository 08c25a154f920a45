#pragma once
// Reading a browser's JSON data file (Preferences, extensions.json, addons.json) so that
// a damaged one is told apart from a missing one: a missing file is an empty store, a
// file that is there but cannot be read or parsed is a reason the catalogue keeps and
// shows, and refuses changes with.
#include <memory>
#include <optional>
#include <string>

#include "catalogue/json_document.h"

namespace orvo {

// The file's bytes. Nothing with `error` empty when nothing is at `path`; nothing with the
// reason ("<path>: <what failed>") when something is there that cannot be read: a folder,
// a file that can't be opened or is larger than `max_bytes`.
std::optional<std::string> ReadStoreBytes(const std::string& path, size_t max_bytes,
                                          std::string* error);

// The parsed file. Null with `error` empty when nothing is at `path`; null with the
// reason in `error` ("<path>: <what failed>") when something is there but gives no
// document: a folder, a file that can't be opened or is larger than `max_bytes`, text
// that is no JSON object.
std::unique_ptr<JsonDocument> ReadDataFile(const std::string& path, size_t max_bytes,
                                           std::string* error);

}  // namespace orvo
