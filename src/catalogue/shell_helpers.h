#pragma once
// Files, folders and the shell for the catalogues and windows: existence tests that look
// through WOW64 redirection, deletion through the shell, special folders, environment
// expansion, opening links, and the small system tests. Like the registry helpers they
// never raise and never show anything.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win_constants.h"

namespace orvo {

bool PathExistsEx(std::string_view path);
// Plain existence tests (no redirection, no extensions tried).
bool FolderExists(std::string_view path);
bool FileExists(std::string_view path);
// A path with a ".." step: one that may climb out of the folder it is given under.
bool HasParentStep(std::string_view path);
bool DeleteFileOrFolder(std::string_view path, bool to_recycle_bin);
bool ShellDeleteFolder(std::string_view path);
bool IsFileLocked(std::string_view file_name);
// No trailing backslash; empty on failure.
std::string GetSpecialFolder(int folder_id);
// At most 260 characters; the text unchanged when expansion fails.
std::string ExpandEnvVars(std::string_view text);
std::string AddBackslash(std::string_view path);

// Signature, structure version, file version MS/LS, product version MS/LS, flags mask,
// flags, OS, type, subtype.
using TFixedFileInfo = std::array<uint32_t, 11>;
// Fills `info` and returns true when the file has a version record; else leaves it.
bool GetFixedFileVersion(std::string_view file_name, TFixedFileInfo& info);

void OpenUrl(std::string_view url);
bool IsIERunning();
bool IsWindows8();

}  // namespace orvo
