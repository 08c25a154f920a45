#pragma once
// The registry side of the operating-system seam. It mirrors the Win32 registry calls the
// program needs (open, create, query, set, enumerate, delete) with their result codes, so
// the helpers above it can apply the Windows rules (views, types, "access denied") the same
// way on the real registry and on the sandbox hive.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_constants.h"

namespace orvo::os {

// Raw value data exactly as the registry stores it: strings are UTF-16LE including the
// terminating NUL the writer gave them, DWORDs are four little-endian bytes.
struct RegValue {
  uint32_t type = kRegNone;
  std::vector<uint8_t> data;
};

// An open key; closed when destroyed. Every operation answers with a Win32 error code.
class RegKey {
 public:
  virtual ~RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  // An empty name is the key's default value.
  virtual long QueryValue(std::string_view name, RegValue* out) = 0;
  virtual long SetValue(std::string_view name, uint32_t type, std::span<const uint8_t> data) = 0;
  virtual long DeleteValue(std::string_view name) = 0;
  virtual long EnumSubKeys(std::vector<std::string>* names) = 0;
  virtual long EnumValues(std::vector<std::string>* names) = 0;
  // Deletes the subkey `name` of this key with everything below it (RegDeleteTree).
  virtual long DeleteSubTree(std::string_view name) = 0;

 protected:
  RegKey() = default;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // `access` is a combination of the kKey* rights and at most one view flag. Paths use
  // backslashes; an empty path opens the root itself.
  virtual long OpenKey(RegRoot root, std::string_view path, uint32_t access,
                       std::unique_ptr<RegKey>* out) = 0;
  // Opens the key, creating it and any missing parents.
  virtual long CreateKey(RegRoot root, std::string_view path, uint32_t access,
                         std::unique_ptr<RegKey>* out) = 0;
};

// Helpers for building value data.
std::vector<uint8_t> RegStringData(std::string_view utf8);  // UTF-16LE with NUL
std::vector<uint8_t> RegDwordData(uint32_t value);
std::vector<uint8_t> RegMultiStringData(const std::vector<std::string>& items);

}  // namespace orvo::os
