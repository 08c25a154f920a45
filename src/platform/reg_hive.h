#pragma once
// An in-memory registry: the five roots as trees of keys holding typed values. The sandbox
// back end keeps its whole registry in one of these, and the regedit-file reader and writer
// (reg_file.h) move it to and from text. HKEY_CLASSES_ROOT is not a tree of its own: as on
// Windows it shows HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace orvo::os {

class RegHive {
 public:
  struct Key {
    std::string name;                                      // as first spelled
    std::vector<std::pair<std::string, RegValue>> values;  // in the order they were set
    std::vector<std::unique_ptr<Key>> subkeys;             // in the order they were created

    Key* FindSubKey(std::string_view name) const;
    Key* AddSubKey(std::string_view name);
    bool RemoveSubKey(std::string_view name);
    const RegValue* FindValue(std::string_view name) const;
    void SetValue(std::string_view name, RegValue value);
    bool RemoveValue(std::string_view name);
    // Subkey names sorted without case, the order Windows enumerates them in.
    std::vector<std::string> SortedSubKeyNames() const;
  };

  // The root tree and path components a root and path lead to (HKCR folded into HKLM).
  struct Location {
    RegRoot root;
    std::vector<std::string> parts;
  };
  static Location Locate(RegRoot root, std::string_view path);
  static std::vector<std::string> SplitPath(std::string_view path);

  RegHive();
  Key& RootKey(RegRoot root);
  const Key& RootKey(RegRoot root) const;

  Key* Find(const Location& where) const;
  Key* Create(const Location& where);
  bool Delete(const Location& where);

  // Roots in the order the writer emits them, with their full names.
  static const std::vector<std::pair<RegRoot, const char*>>& Roots();

 private:
  std::unique_ptr<Key> roots_[4];  // HKCU, HKLM, HKU, HKCC
  int RootIndex(RegRoot root) const;
};

// The name of a root as the registry spells it ("HKEY_LOCAL_MACHINE"), and back; the
// reader also accepts the short forms regedit files sometimes use (HKLM, HKCU, ...).
const char* RegRootName(RegRoot root);
std::optional<RegRoot> ParseRegRoot(std::string_view name, bool allow_short);

}  // namespace orvo::os
