#pragma once
// Files and folders through the seam. Paths are Windows paths ("C:\Users\..."); the Win32
// back end hands them to the system, the sandbox back end maps them into its image folder.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_constants.h"

namespace orvo::os {

struct FolderEntry {
  std::string name;
  uint32_t attributes = 0;
};

// Result of a write: on failure `error` is a Win32 code and `message` says what failed.
struct WriteResult {
  long error = kErrorSuccess;
  std::string message;
  explicit operator bool() const { return error == kErrorSuccess; }
};

// Undoes a switch of the WOW64 file-system redirection when destroyed.
class RedirectionGuard {
 public:
  virtual ~RedirectionGuard() = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // kInvalidFileAttributes when the path does not exist.
  virtual uint32_t GetAttributes(std::string_view path) = 0;
  virtual bool SetAttributes(std::string_view path, uint32_t attributes) = 0;
  // Entries of a folder in the file system's own order, without "." and "..".
  virtual bool ListFolder(std::string_view path, std::vector<FolderEntry>* entries) = 0;
  // The whole file, or nothing when it can't be opened or is larger than max_bytes.
  virtual std::optional<std::string> ReadFile(std::string_view path, size_t max_bytes = size_t(1)
                                                                                        << 30) = 0;
  // Replaces the file atomically: a temporary file in the same folder is written and
  // flushed, then renamed over the target. On failure the target is untouched.
  virtual WriteResult WriteFileAtomic(std::string_view path, std::string_view bytes) = 0;
  // Renames `from` to `to` in the same folder, replacing `to` when it exists. Takes no
  // disk space, so a change spread over several files can be swapped in (and back) on a
  // full disk.
  virtual WriteResult MoveFileReplacing(std::string_view from, std::string_view to) = 0;
  // Creates the folder and its missing parents.
  virtual bool CreateFolders(std::string_view path) = 0;
  virtual bool RemoveFile(std::string_view path) = 0;
  // True when the file exists and can't be opened for reading and writing without
  // sharing (someone holds it open).
  virtual bool IsFileLocked(std::string_view path) = 0;
  // The shell's delete operation (SHFileOperation FO_DELETE) with FOF_* flags; returns the
  // shell's result, 0 on success.
  virtual int ShellDelete(std::string_view path, uint32_t flags) = 0;
  // Switches WOW64 file-system redirection off until the guard is destroyed; null when the
  // process is not redirected.
  virtual std::unique_ptr<RedirectionGuard> DisableRedirection() = 0;
  // The path a library that opens files by itself (SQLite) must be given.
  virtual std::string NativePath(std::string_view path) = 0;
  // FindFirstFile on one path: the name the file system reports for its last component
  // (the long name for a short one, the stored letter case); nothing when it does not
  // exist. Wildcards match nothing. By default the folder is listed and the name matched
  // without case.
  virtual std::optional<std::string> FindName(std::string_view path);
};

}  // namespace orvo::os
