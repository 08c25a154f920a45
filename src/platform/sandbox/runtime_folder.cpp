// The user's runtime folder, checked to be ours before anything is put there.
#include "platform/sandbox/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace orvo::os {
namespace {

bool OwnedFolder(const std::string& path, bool private_only) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
    return false;
  }
  return !private_only || (st.st_mode & 077) == 0;
}

}  // namespace

std::optional<std::string> RuntimeFolder() {
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  if (xdg && xdg[0] == '/' && OwnedFolder(xdg, false)) return std::string(xdg);
  const std::string tmp = "/tmp/orvo-" + std::to_string(::geteuid());
  ::mkdir(tmp.c_str(), 0700);
  if (!OwnedFolder(tmp, true)) return std::nullopt;
  return tmp;
}

}  // namespace orvo::os
