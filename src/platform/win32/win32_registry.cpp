// The registry through advapi32. Views are chosen by the caller's access flags
// (KEY_WOW64_64KEY / KEY_WOW64_32KEY); nothing is added here.
#include <windows.h>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace orvo::os::win32 {
namespace {

HKEY RootHandle(RegRoot root) {
  return reinterpret_cast<HKEY>(
      static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<uint32_t>(root))));
}

class Win32Key : public RegKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }

  long QueryValue(std::string_view name, RegValue* out) override {
    const std::wstring wname = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key_, wname.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the two calls; ask again until it fits.
    for (int attempt = 0; rc == ERROR_SUCCESS && attempt < 8; ++attempt) {
      out->data.assign(size, 0);
      DWORD got = size;
      rc = RegQueryValueExW(key_, wname.c_str(), nullptr, &type, out->data.data(), &got);
      if (rc == ERROR_MORE_DATA) {
        size = got;
        rc = ERROR_SUCCESS;
        continue;
      }
      if (rc == ERROR_SUCCESS) {
        out->data.resize(got);
        out->type = type;
        return ERROR_SUCCESS;
      }
    }
    return rc;
  }

  long SetValue(std::string_view name, uint32_t type, std::span<const uint8_t> data) override {
    return RegSetValueExW(key_, Wide(name).c_str(), 0, type, data.data(),
                          static_cast<DWORD>(data.size()));
  }

  long DeleteValue(std::string_view name) override {
    return RegDeleteValueW(key_, Wide(name).c_str());
  }

  long EnumSubKeys(std::vector<std::string>* names) override { return Enumerate(kSubKeys, names); }

  long EnumValues(std::vector<std::string>* names) override { return Enumerate(kValues, names); }

  long DeleteSubTree(std::string_view name) override {
    if (name.empty()) return ERROR_INVALID_PARAMETER;
    return RegDeleteTreeW(key_, Wide(name).c_str());
  }

 private:
  enum Listing { kSubKeys, kValues };

  // Subkey and value names are listed the same way; only the query for the longest name
  // and the enumerating call differ.
  long Enumerate(Listing what, std::vector<std::string>* names) {
    names->clear();
    DWORD max_len = 0;
    LONG rc = RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr,
                               what == kSubKeys ? &max_len : nullptr, nullptr, nullptr,
                               what == kValues ? &max_len : nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    std::wstring buf(max_len + 2, L'\0');
    for (DWORD i = 0;; ++i) {
      DWORD len = static_cast<DWORD>(buf.size());
      rc = what == kSubKeys
               ? RegEnumKeyExW(key_, i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr)
               : RegEnumValueW(key_, i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
      if (rc == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
      // The key changed since the query: a longer name came in.
      if (rc == ERROR_MORE_DATA) {
        buf.assign(buf.size() * 2 + 256, L'\0');
        --i;
        continue;
      }
      if (rc != ERROR_SUCCESS) return rc;
      names->push_back(Narrow(std::wstring_view(buf.data(), len)));
    }
  }

  HKEY key_;
};

class Win32Registry : public Registry {
 public:
  long OpenKey(RegRoot root, std::string_view path, uint32_t access,
               std::unique_ptr<RegKey>* out) override {
    HKEY key = nullptr;
    const LONG rc = RegOpenKeyExW(RootHandle(root), Wide(path).c_str(), 0, access, &key);
    if (rc == ERROR_SUCCESS) *out = std::make_unique<Win32Key>(key);
    return rc;
  }

  long CreateKey(RegRoot root, std::string_view path, uint32_t access,
                 std::unique_ptr<RegKey>* out) override {
    HKEY key = nullptr;
    const LONG rc = RegCreateKeyExW(RootHandle(root), Wide(path).c_str(), 0, nullptr,
                                    REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) *out = std::make_unique<Win32Key>(key);
    return rc;
  }
};

}  // namespace

std::unique_ptr<Registry> MakeRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace orvo::os::win32
