// The in-memory registry tree shared by the sandbox back end and the regedit-file codec.
#include "platform/reg_hive.h"

#include <algorithm>

#include "platform/text.h"

namespace orvo::os {

RegHive::Key* RegHive::Key::FindSubKey(std::string_view n) const {
  for (const auto& k : subkeys) {
    if (EqualsNoCase(k->name, n)) return k.get();
  }
  return nullptr;
}

RegHive::Key* RegHive::Key::AddSubKey(std::string_view n) {
  if (Key* k = FindSubKey(n)) return k;
  subkeys.push_back(std::make_unique<Key>());
  subkeys.back()->name = std::string(n);
  return subkeys.back().get();
}

bool RegHive::Key::RemoveSubKey(std::string_view n) {
  for (auto it = subkeys.begin(); it != subkeys.end(); ++it) {
    if (EqualsNoCase((*it)->name, n)) {
      subkeys.erase(it);
      return true;
    }
  }
  return false;
}

const RegValue* RegHive::Key::FindValue(std::string_view n) const {
  for (const auto& [vn, v] : values) {
    if (EqualsNoCase(vn, n)) return &v;
  }
  return nullptr;
}

void RegHive::Key::SetValue(std::string_view n, RegValue value) {
  for (auto& [vn, v] : values) {
    if (EqualsNoCase(vn, n)) {
      v = std::move(value);
      return;
    }
  }
  values.emplace_back(std::string(n), std::move(value));
}

bool RegHive::Key::RemoveValue(std::string_view n) {
  for (auto it = values.begin(); it != values.end(); ++it) {
    if (EqualsNoCase(it->first, n)) {
      values.erase(it);
      return true;
    }
  }
  return false;
}

std::vector<std::string> RegHive::Key::SortedSubKeyNames() const {
  std::vector<std::string> names;
  names.reserve(subkeys.size());
  for (const auto& k : subkeys) names.push_back(k->name);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return ToUpperAscii(a) < ToUpperAscii(b);
  });
  return names;
}

std::vector<std::string> RegHive::SplitPath(std::string_view path) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find('\\', pos);
    if (end == std::string_view::npos) end = path.size();
    if (end > pos) parts.emplace_back(path.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

RegHive::Location RegHive::Locate(RegRoot root, std::string_view path) {
  Location where{root, SplitPath(path)};
  if (root == RegRoot::ClassesRoot) {
    where.root = RegRoot::LocalMachine;
    where.parts.insert(where.parts.begin(), {"SOFTWARE", "Classes"});
  }
  return where;
}

RegHive::RegHive() {
  for (auto& r : roots_) r = std::make_unique<Key>();
}

int RegHive::RootIndex(RegRoot root) const {
  switch (root) {
    case RegRoot::CurrentUser: return 0;
    case RegRoot::LocalMachine: return 1;
    case RegRoot::Users: return 2;
    case RegRoot::CurrentConfig: return 3;
    case RegRoot::ClassesRoot: return 1;  // callers go through Locate first
  }
  return 1;
}

RegHive::Key& RegHive::RootKey(RegRoot root) { return *roots_[RootIndex(root)]; }
const RegHive::Key& RegHive::RootKey(RegRoot root) const { return *roots_[RootIndex(root)]; }

RegHive::Key* RegHive::Find(const Location& where) const {
  Key* key = roots_[RootIndex(where.root)].get();
  for (const auto& part : where.parts) {
    key = key->FindSubKey(part);
    if (!key) return nullptr;
  }
  return key;
}

RegHive::Key* RegHive::Create(const Location& where) {
  Key* key = roots_[RootIndex(where.root)].get();
  for (const auto& part : where.parts) key = key->AddSubKey(part);
  return key;
}

bool RegHive::Delete(const Location& where) {
  if (where.parts.empty()) return false;
  Location parent = where;
  parent.parts.pop_back();
  Key* p = Find(parent);
  return p && p->RemoveSubKey(where.parts.back());
}

const std::vector<std::pair<RegRoot, const char*>>& RegHive::Roots() {
  static const std::vector<std::pair<RegRoot, const char*>> roots = {
      {RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE"},
      {RegRoot::CurrentUser, "HKEY_CURRENT_USER"},
      {RegRoot::Users, "HKEY_USERS"},
      {RegRoot::CurrentConfig, "HKEY_CURRENT_CONFIG"},
  };
  return roots;
}

const char* RegRootName(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegRoot::CurrentUser: return "HKEY_CURRENT_USER";
    case RegRoot::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RegRoot::Users: return "HKEY_USERS";
    case RegRoot::CurrentConfig: return "HKEY_CURRENT_CONFIG";
  }
  return "";
}

std::optional<RegRoot> ParseRegRoot(std::string_view name, bool allow_short) {
  static const std::pair<const char*, RegRoot> kNames[] = {
      {"HKEY_CLASSES_ROOT", RegRoot::ClassesRoot},
      {"HKEY_CURRENT_USER", RegRoot::CurrentUser},
      {"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine},
      {"HKEY_USERS", RegRoot::Users},
      {"HKEY_CURRENT_CONFIG", RegRoot::CurrentConfig}};
  static const std::pair<const char*, RegRoot> kShort[] = {{"HKCR", RegRoot::ClassesRoot},
                                                           {"HKCU", RegRoot::CurrentUser},
                                                           {"HKLM", RegRoot::LocalMachine},
                                                           {"HKU", RegRoot::Users},
                                                           {"HKCC", RegRoot::CurrentConfig}};
  for (const auto& [n, r] : kNames) {
    if (EqualsNoCase(name, n)) return r;
  }
  if (allow_short) {
    for (const auto& [n, r] : kShort) {
      if (EqualsNoCase(name, n)) return r;
    }
  }
  return std::nullopt;
}

}  // namespace orvo::os
