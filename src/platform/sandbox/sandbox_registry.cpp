// The registry of a Windows image: its hive in memory, saved back to registry.reg after
// every change. On a 64-bit image the 32-bit view is redirected as WOW64 does it:
// HKLM\SOFTWARE\X is seen as HKLM\SOFTWARE\WOW6432Node\X, and the class registrations
// (CLSID and its kin) under SOFTWARE\Classes as SOFTWARE\Classes\WOW6432Node\...; a path
// that already names WOW6432Node is taken literally. A change registry.reg cannot take
// (a full disk) is undone in memory too and reported, so a failed write changes nothing,
// as with the system's registry.
#include <algorithm>
#include <optional>

#include "platform/sandbox/sandbox_platform.h"
#include "platform/text.h"

namespace orvo::os::sandbox {
namespace {

constexpr uint32_t kDelete = 0x10000;
constexpr uint32_t kWriteRights = kKeySetValue | kKeyCreateSubKey | kDelete | 0x40000 | 0x80000;

bool IsRedirectedClass(std::string_view name) {
  for (const char* n : {"CLSID", "Interface", "DirectShow", "Media Type", "MediaFoundation"}) {
    if (EqualsNoCase(name, n)) return true;
  }
  return false;
}

class SandboxRegistry;

class SandboxKey : public RegKey {
 public:
  SandboxKey(Image& image, RegHive::Location where, uint32_t access)
      : image_(image), where_(std::move(where)), access_(access) {}

  long QueryValue(std::string_view name, RegValue* out) override {
    if (!(access_ & kKeyQueryValue)) return kErrorAccessDenied;
    RegHive::Key* key = image_.hive().Find(where_);
    if (!key) return kErrorKeyDeleted;
    const RegValue* v = key->FindValue(name);
    if (!v) return kErrorFileNotFound;
    *out = *v;
    return kErrorSuccess;
  }

  long SetValue(std::string_view name, uint32_t type, std::span<const uint8_t> data) override {
    if (!(access_ & kKeySetValue)) return kErrorAccessDenied;
    RegHive::Key* key = image_.hive().Find(where_);
    if (!key) return kErrorKeyDeleted;
    const RegValue* old = key->FindValue(name);
    const std::optional<RegValue> previous = old ? std::optional<RegValue>(*old) : std::nullopt;
    key->SetValue(name, RegValue{type, {data.begin(), data.end()}});
    const long saved = Save();
    if (saved != kErrorSuccess) {
      if (previous) {
        key->SetValue(name, *previous);
      } else {
        key->RemoveValue(name);
      }
    }
    return saved;
  }

  long DeleteValue(std::string_view name) override {
    if (!(access_ & kKeySetValue)) return kErrorAccessDenied;
    RegHive::Key* key = image_.hive().Find(where_);
    if (!key) return kErrorKeyDeleted;
    const auto it = std::find_if(key->values.begin(), key->values.end(), [&](const auto& value) {
      return EqualsNoCase(value.first, name);
    });
    if (it == key->values.end()) return kErrorFileNotFound;
    const auto at = it - key->values.begin();
    auto removed = std::move(*it);
    key->values.erase(it);
    const long saved = Save();
    if (saved != kErrorSuccess) key->values.insert(key->values.begin() + at, std::move(removed));
    return saved;
  }

  long EnumSubKeys(std::vector<std::string>* names) override {
    if (!(access_ & kKeyEnumerateSubKeys)) return kErrorAccessDenied;
    RegHive::Key* key = image_.hive().Find(where_);
    if (!key) return kErrorKeyDeleted;
    *names = key->SortedSubKeyNames();
    return kErrorSuccess;
  }

  long EnumValues(std::vector<std::string>* names) override {
    if (!(access_ & kKeyQueryValue)) return kErrorAccessDenied;
    RegHive::Key* key = image_.hive().Find(where_);
    if (!key) return kErrorKeyDeleted;
    names->clear();
    for (const auto& [n, v] : key->values) names->push_back(n);
    return kErrorSuccess;
  }

  long DeleteSubTree(std::string_view name) override {
    if ((access_ & (kKeyEnumerateSubKeys | kKeyQueryValue)) !=
        (kKeyEnumerateSubKeys | kKeyQueryValue)) {
      return kErrorAccessDenied;
    }
    RegHive::Key* key = image_.hive().Find(where_);
    if (!key) return kErrorKeyDeleted;
    RegHive::Location child = where_;
    for (auto& part : RegHive::SplitPath(name)) child.parts.push_back(part);
    if (child.parts.size() == where_.parts.size()) return kErrorInvalidParameter;
    if (!image_.hive().Find(child)) return kErrorFileNotFound;
    if (DeniesWithin(child)) return kErrorAccessDenied;
    RegHive::Location parent_at = child;
    parent_at.parts.pop_back();
    auto& siblings = image_.hive().Find(parent_at)->subkeys;
    const auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& k) {
      return EqualsNoCase(k->name, child.parts.back());
    });
    const auto at = it - siblings.begin();
    std::unique_ptr<RegHive::Key> removed = std::move(*it);
    siblings.erase(it);
    const long saved = Save();
    if (saved != kErrorSuccess) {
      siblings.insert(siblings.begin() + at, std::move(removed));
      return saved;
    }
    image_.Record("registry delete " + Describe(child));
    return saved;
  }

 private:
  long Save() { return image_.SaveRegistry() ? kErrorSuccess : kErrorWriteFault; }

  // A denial on the key, one of its parents, or anywhere inside the subtree blocks a
  // tree delete, as an ACL on any subkey would on Windows.
  bool DeniesWithin(const RegHive::Location& top) {
    if (image_.Denied(top) != DenyKind::kNone) return true;
    RegHive::Key* key = image_.hive().Find(top);
    if (!key) return false;
    for (const auto& sub : key->subkeys) {
      RegHive::Location next = top;
      next.parts.push_back(sub->name);
      if (DeniesWithin(next)) return true;
    }
    return false;
  }

  static std::string Describe(const RegHive::Location& where) {
    std::string s = RegRootName(where.root);
    for (const auto& p : where.parts) s += "\\" + p;
    return s;
  }

  Image& image_;
  RegHive::Location where_;
  uint32_t access_;
};

class SandboxRegistry : public Registry {
 public:
  explicit SandboxRegistry(Image& image) : image_(image) {}

  long OpenKey(RegRoot root, std::string_view path, uint32_t access,
               std::unique_ptr<RegKey>* out) override {
    const RegHive::Location where = Resolve(root, path, access);
    const DenyKind deny = image_.Denied(where);
    if (deny == DenyKind::kAll) return kErrorAccessDenied;
    if (!image_.hive().Find(where)) return kErrorFileNotFound;
    if (deny == DenyKind::kWrite && (access & kWriteRights)) return kErrorAccessDenied;
    *out = std::make_unique<SandboxKey>(image_, where, access);
    return kErrorSuccess;
  }

  long CreateKey(RegRoot root, std::string_view path, uint32_t access,
                 std::unique_ptr<RegKey>* out) override {
    const RegHive::Location where = Resolve(root, path, access);
    const DenyKind deny = image_.Denied(where);
    const bool exists = image_.hive().Find(where) != nullptr;
    if (deny == DenyKind::kAll) return kErrorAccessDenied;
    if (deny == DenyKind::kWrite && (!exists || (access & kWriteRights))) return kErrorAccessDenied;
    if (!exists) {
      // The first missing level goes again when the registry cannot be saved.
      RegHive::Location existing = where;
      while (!image_.hive().Find(existing)) existing.parts.pop_back();
      const std::string first_new = where.parts[existing.parts.size()];
      image_.hive().Create(where);
      if (!image_.SaveRegistry()) {
        image_.hive().Find(existing)->RemoveSubKey(first_new);
        return kErrorWriteFault;
      }
    }
    *out = std::make_unique<SandboxKey>(image_, where, access);
    return kErrorSuccess;
  }

 private:
  RegHive::Location Resolve(RegRoot root, std::string_view path, uint32_t access) const {
    RegHive::Location where = RegHive::Locate(root, path);
    if (!image_.Is64Bit() || (access & kKeyWow64Res) != kKeyWow64_32Key) return where;
    auto& parts = where.parts;
    if (parts.empty() || !EqualsNoCase(parts[0], "SOFTWARE")) return where;
    if (where.root != RegRoot::LocalMachine && where.root != RegRoot::CurrentUser) return where;
    if (parts.size() >= 2 && EqualsNoCase(parts[1], "WOW6432Node")) return where;
    if (parts.size() >= 2 && EqualsNoCase(parts[1], "Classes")) {
      if (parts.size() >= 3 && IsRedirectedClass(parts[2])) {
        parts.insert(parts.begin() + 2, "WOW6432Node");
      }
      return where;
    }
    if (where.root == RegRoot::LocalMachine) parts.insert(parts.begin() + 1, "WOW6432Node");
    return where;
  }

  Image& image_;
};

}  // namespace

std::unique_ptr<Registry> MakeRegistry(Image& image) {
  return std::make_unique<SandboxRegistry>(image);
}

}  // namespace orvo::os::sandbox
