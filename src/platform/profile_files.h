#pragma once
// Reading and writing single entries of initialisation files, as Windows' private-profile
// functions (GetPrivateProfileStringW, WritePrivateProfileStringW) do: section and key
// names without regard to case, blanks around keys and values dropped, a value in matching
// quotes without them, the first of duplicate keys wins, a missing file reads as empty.
// The program's settings go through this seam. Paths are Windows paths, as for FileSystem.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::os {

class FileSystem;

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // The entry's value, or `fallback` when the file, the section or the key is missing.
  virtual std::string GetString(std::string_view file, std::string_view section,
                                std::string_view key, std::string_view fallback) = 0;
  // The key names of a section in file order (GetPrivateProfileString with no key name);
  // empty when the file or the section is missing.
  virtual std::vector<std::string> KeyNames(std::string_view file, std::string_view section) = 0;
  // Sets the entry, adding the section or the file as needed (the folder must exist).
  // False when nothing could be written.
  virtual bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};

// The back end this build links: the system's profile functions on Windows, the portable
// reader and writer below natively.
std::unique_ptr<ProfileFiles> OpenProfileFiles(FileSystem& files);

// The portable reader and writer over any file system. A file it cannot read (larger
// than 16 MiB, or not text) reads as empty and is never overwritten; every write replaces
// the file atomically, keeping its encoding and every other line; a new file is UTF-16LE,
// so any language name survives. Values holding line breaks are refused, as they would
// turn into entries of their own.
std::unique_ptr<ProfileFiles> MakePortableProfileFiles(FileSystem& files);

}  // namespace orvo::os
