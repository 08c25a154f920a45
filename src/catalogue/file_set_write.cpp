#include "catalogue/file_set_write.h"

#include <optional>

#include "platform/platform.h"

namespace orvo {

os::WriteResult WriteFileSet(const std::vector<FileWrite>& writes) {
  os::FileSystem& files = os::Current().files();
  struct Before {
    std::string path;
    std::optional<std::string> bytes;  // nothing: the file was not there
  };
  std::vector<Before> written;
  // Puts back what was written so far, last first; what cannot be put back is named.
  const auto fail = [&](os::WriteResult result) {
    for (auto it = written.rbegin(); it != written.rend(); ++it) {
      const bool undone = it->bytes ? static_cast<bool>(files.WriteFileAtomic(it->path, *it->bytes))
                                    : files.RemoveFile(it->path);
      if (!undone) result.message += "; " + it->path + " already holds the change and could not be put back";
    }
    return result;
  };
  for (const FileWrite& w : writes) {
    Before before{w.path, std::nullopt};
    if (files.GetAttributes(w.path) != os::kInvalidFileAttributes) {
      before.bytes = files.ReadFile(w.path);
      // Without its old bytes a file could not be put back: better not to start on it.
      if (!before.bytes) return fail({os::kErrorAccessDenied, w.path + " cannot be read"});
    }
    os::WriteResult result = files.WriteFileAtomic(w.path, w.bytes);
    if (!result) {
      if (result.message.find(w.path) == std::string::npos) result.message = w.path + ": " + result.message;
      return fail(std::move(result));
    }
    written.push_back(std::move(before));
  }
  return {};
}

std::string WriteObstacle(const std::string& path) {
  os::FileSystem& files = os::Current().files();
  const uint32_t attributes = files.GetAttributes(path);
  if (attributes == os::kInvalidFileAttributes) return "";
  if (attributes & os::kFileAttributeDirectory) return "a folder stands where " + path + " should be";
  if (attributes & os::kFileAttributeReadOnly) return path + " is read-only";
  if (files.IsFileLocked(path)) return path + " is in use by another program";
  return "";
}

}  // namespace orvo
