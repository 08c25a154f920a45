#pragma once
// The folder where one user's processes meet natively: the named shared memory and the
// sockets of published windows live there.
#include <optional>
#include <string>

namespace orvo::os {

// XDG_RUNTIME_DIR when it names a folder of ours; else /tmp/orvo-<uid>, created private.
// A /tmp folder someone else made or opened up is not used.
std::optional<std::string> RuntimeFolder();

}  // namespace orvo::os
