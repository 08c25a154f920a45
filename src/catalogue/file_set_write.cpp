#include "catalogue/file_set_write.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orvo {
namespace {

// Beside each file while a set is swapped in: its new bytes and a copy of its old ones.
constexpr char kNewSuffix[] = ".orvo-new";
constexpr char kOldSuffix[] = ".orvo-old";

os::WriteResult Named(os::WriteResult result, const std::string& path) {
  if (result.message.find(path) == std::string::npos) result.message = path + ": " + result.message;
  return result;
}

}  // namespace

os::WriteResult WriteFileSet(const std::vector<FileWrite>& writes) {
  os::FileSystem& files = os::Current().files();
  // First, beside each file, its new bytes and a copy of its old ones: the only step that
  // needs disk space, and nothing the browser reads has changed while it can still fail.
  std::vector<bool> had_old(writes.size(), false);
  std::vector<std::string> staged;  // every file written beside the set so far
  const auto drop_staged = [&] {
    for (const std::string& path : staged) files.RemoveFile(path);
  };
  for (size_t i = 0; i < writes.size(); ++i) {
    const FileWrite& w = writes[i];
    if (files.GetAttributes(w.path) != os::kInvalidFileAttributes) {
      const std::optional<std::string> old = files.ReadFile(w.path);
      // Without its old bytes a file could not be put back: better not to start on it.
      if (!old) {
        drop_staged();
        return {os::kErrorAccessDenied, w.path + " cannot be read"};
      }
      if (os::WriteResult result = files.WriteFileAtomic(w.path + kOldSuffix, *old); !result) {
        drop_staged();
        return Named(std::move(result), w.path);
      }
      staged.push_back(w.path + kOldSuffix);
      had_old[i] = true;
    }
    if (os::WriteResult result = files.WriteFileAtomic(w.path + kNewSuffix, w.bytes); !result) {
      drop_staged();
      return Named(std::move(result), w.path);
    }
    staged.push_back(w.path + kNewSuffix);
  }
  // Then renames only, which take no space and never leave a file missing: each new file
  // takes its file's place. When one refuses, those already swapped get their old copy
  // back the same way.
  for (size_t i = 0; i < writes.size(); ++i) {
    const std::string& path = writes[i].path;
    os::WriteResult result = files.MoveFileReplacing(path + kNewSuffix, path);
    if (result) continue;
    result = Named(std::move(result), path);
    for (size_t j = i; j-- > 0;) {
      const std::string& done = writes[j].path;
      const bool undone = had_old[j]
                              ? static_cast<bool>(files.MoveFileReplacing(done + kOldSuffix, done))
                              : files.RemoveFile(done);
      if (!undone) {
        result.message += "; " + done + " already holds the change and could not be put back";
        // Its old copy stays beside it: the one place the user still has those bytes.
        if (had_old[j]) std::erase(staged, done + kOldSuffix);
      }
    }
    drop_staged();  // what was moved back is no longer there; the rest goes
    return result;
  }
  for (size_t i = 0; i < writes.size(); ++i) {
    if (had_old[i]) files.RemoveFile(writes[i].path + kOldSuffix);
  }
  return {};
}

std::string WriteObstacle(const std::string& path) {
  os::FileSystem& files = os::Current().files();
  const uint32_t attributes = files.GetAttributes(path);
  if (attributes == os::kInvalidFileAttributes) return "";
  if (attributes & os::kFileAttributeDirectory)
    return "a folder stands where " + path + " should be";
  if (attributes & os::kFileAttributeReadOnly) return path + " is read-only";
  if (files.IsFileLocked(path)) return path + " is in use by another program";
  return "";
}

}  // namespace orvo
