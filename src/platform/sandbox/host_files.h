#pragma once
// Host files seen the Windows way, shared by the image's file system and the program's
// own folder: attributes from the mode bits, folder listings in NTFS name order, and
// whole-file reads that refuse anything larger than the caller allows.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace orvo::os::sandbox {

// kInvalidFileAttributes when the path does not exist.
uint32_t HostAttributes(const std::filesystem::path& path);
bool ListHostFolder(const std::filesystem::path& path, std::vector<FolderEntry>* entries);
// A regular file of at most max_bytes, read whole; nothing otherwise.
std::optional<std::string> ReadHostFileCapped(const std::filesystem::path& path, size_t max_bytes);

}  // namespace orvo::os::sandbox
