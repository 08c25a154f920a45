#pragma once
// What the running program brings with it: its own folder, with the files shipped beside
// the executable (the "Languages" folder), and its raw-data resources. On Windows the
// folder is the executable's (GetModuleFileNameW) and the resources are the executable's
// RCDATA resources. Natively the folder is a host folder (the one of /proc/self/exe, or
// one a test names) and the resources are bytes compiled into the program; these files
// belong to the program, not to the Windows image it works on, so they are not reached
// through FileSystem.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace orvo::os {

class ProgramFolder {
 public:
  virtual ~ProgramFolder() = default;
  // The folder, ending with the separator ("C:\Program Files\Orvo\", "/opt/orvo/bin/").
  virtual const std::string& Folder() const = 0;
  // The separator of paths below Folder(): '\\' on Windows, '/' natively.
  virtual char Separator() const = 0;
  virtual bool Exists(std::string_view path) = 0;
  // Entries of a folder in the file system's order (natively sorted by name, as NTFS
  // lists them), without "." and "..".
  virtual bool ListFolder(std::string_view path, std::vector<FolderEntry>* entries) = 0;
  // The whole file, or nothing when it can't be read or is larger than max_bytes.
  virtual std::optional<std::string> ReadFile(std::string_view path, size_t max_bytes) = 0;
};

// The running executable's folder, or `folder` when one is given (tests, and the native
// program's own options). Null when the executable's folder can't be found.
std::unique_ptr<ProgramFolder> OpenProgramFolder(std::string_view folder = {});

// The raw-data (RCDATA) resource of that name of the running program; nothing when the
// program has none.
std::optional<std::string_view> FindRawResource(std::string_view name);

}  // namespace orvo::os
