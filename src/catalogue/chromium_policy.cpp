#include "catalogue/chromium_policy.h"

#include <algorithm>
#include <memory>

#include "catalogue/registry_changes.h"
#include "catalogue/registry_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {
namespace {

constexpr const char* kBlocklist = "ExtensionInstallBlocklist";
constexpr const char* kOldBlocklist = "ExtensionInstallBlacklist";
constexpr const char* kAllowlist = "ExtensionInstallAllowlist";
constexpr const char* kOldAllowlist = "ExtensionInstallWhitelist";
constexpr const char* kSettings = "ExtensionSettings";
// ExtensionSettings is a JSON text of a few kilobytes.
constexpr size_t kMaxSettings = size_t(1) << 20;

std::unique_ptr<os::RegKey> OpenRead(RegRoot root, const std::string& key) {
  std::unique_ptr<os::RegKey> handle;
  if (os::Current().registry().OpenKey(root, key, RegViewAccess(os::kKeyRead, key, true),
                                       &handle) != os::kErrorSuccess) {
    return nullptr;
  }
  return handle;
}

std::string TextOf(const os::RegValue& value) {
  if (value.type != os::kRegSz && value.type != os::kRegExpandSz) return {};
  return Utf16LeBytesToUtf8(value.data.data(), value.data.size(), true);
}

// The browser takes a value name as a list position when it is a number.
std::optional<int> PositionOf(std::string_view name) {
  if (name.empty() || name.size() > 9) return std::nullopt;
  int n = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

PolicyList ReadList(RegRoot root, const std::string& key, const char* list_name) {
  PolicyList list;
  list.name = list_name;
  auto handle = OpenRead(root, key + "\\" + list_name);
  if (!handle) return list;
  list.set = true;
  std::vector<std::string> names;
  handle->EnumValues(&names);
  for (const std::string& name : names) {
    if (!PositionOf(name)) continue;
    os::RegValue value;
    if (handle->QueryValue(name, &value) == os::kErrorSuccess)
      list.values.emplace_back(name, TextOf(value));
  }
  return list;
}

// The list under its current name, else under the name before version 86.
PolicyList ReadNamedList(RegRoot root, const std::string& key, const char* name,
                         const char* old_name) {
  PolicyList list = ReadList(root, key, name);
  if (list.set) return list;
  PolicyList old = ReadList(root, key, old_name);
  return old.set ? old : list;
}

// ExtensionSettings: a JSON text in a value of the policy key, or the same dictionary as
// subkeys (one per extension id or "*", its settings as values).
std::optional<Json> ReadSettings(RegRoot root, const std::string& key) {
  if (auto handle = OpenRead(root, key)) {
    os::RegValue value;
    if (handle->QueryValue(kSettings, &value) == os::kErrorSuccess &&
        value.data.size() <= 2 * kMaxSettings) {
      Json parsed = Json::parse(TextOf(value), nullptr, false);
      if (parsed.is_object()) return parsed;
    }
  }
  auto dict = OpenRead(root, key + "\\" + kSettings);
  if (!dict) return std::nullopt;
  Json settings = Json::object();
  std::vector<std::string> ids;
  dict->EnumSubKeys(&ids);
  const std::string entries = key + "\\" + kSettings + "\\";
  for (const std::string& id : ids) {
    auto entry = OpenRead(root, entries + id);
    os::RegValue mode;
    if (entry && entry->QueryValue("installation_mode", &mode) == os::kErrorSuccess) {
      settings[id] = Json{{"installation_mode", TextOf(mode)}};
    }
  }
  return settings;
}

PolicyScope ReadScope(RegRoot root, const std::string& key) {
  PolicyScope scope;
  scope.blocklist = ReadNamedList(root, key, kBlocklist, kOldBlocklist);
  scope.allowlist = ReadNamedList(root, key, kAllowlist, kOldAllowlist);
  scope.settings = ReadSettings(root, key);
  return scope;
}

std::string ModeOf(const std::optional<Json>& settings, const std::string& id) {
  if (!settings) return {};
  const Json* entry = ObjectMember(*settings, id);
  return entry ? StringMember(*entry, "installation_mode") : std::string();
}

bool BlockingMode(const std::string& mode) { return mode == "blocked" || mode == "removed"; }

}  // namespace

bool PolicyList::Contains(const std::string& item) const {
  return std::any_of(values.begin(), values.end(), [&](const auto& v) { return v.second == item; });
}

ChromiumPolicy::ChromiumPolicy(std::string key) : key_(std::move(key)) {
  if (Available()) Load();
}

void ChromiumPolicy::Load() {
  machine_ = ReadScope(RegRoot::LocalMachine, key_);
  user_ = ReadScope(RegRoot::CurrentUser, key_);
}

ChromiumPolicy::Verdict ChromiumPolicy::Evaluate(const std::string& id, const PolicyScope& machine,
                                                 const PolicyScope& user) const {
  const bool machine_settings = machine.settings.has_value();
  const auto& settings = machine_settings ? machine.settings : user.settings;
  const Source settings_source = machine_settings ? Source::kMachine : Source::kUser;
  const PolicyList& blocklist = machine.blocklist.set ? machine.blocklist : user.blocklist;
  const Source block_source = machine.blocklist.set ? Source::kMachine : Source::kUser;
  const PolicyList& allowlist = machine.allowlist.set ? machine.allowlist : user.allowlist;

  if (const std::string mode = ModeOf(settings, id); !mode.empty()) {
    return {BlockingMode(mode), BlockingMode(mode) ? settings_source : Source::kNone};
  }
  if (allowlist.Contains(id)) return {};
  if (blocklist.Contains(id)) return {true, block_source};
  if (const std::string mode = ModeOf(settings, "*"); !mode.empty()) {
    return {BlockingMode(mode), BlockingMode(mode) ? settings_source : Source::kNone};
  }
  if (blocklist.Contains("*")) return {true, block_source};
  return {};
}

ChromiumPolicy::Verdict ChromiumPolicy::Check(const std::string& id) const {
  if (!Available()) return {};
  return Evaluate(id, machine_, user_);
}

bool ChromiumPolicy::UserListsId(const std::string& id) const {
  return user_.blocklist.Contains(id);
}

std::string ChromiumPolicy::UserListKey() const {
  return key_ + "\\" + (user_.blocklist.name.empty() ? kBlocklist : user_.blocklist.name);
}

std::string ChromiumPolicy::UserListPath() const {
  return RegistryPath(RegRoot::CurrentUser, UserListKey());
}

ChangeResult ChromiumPolicy::CanAddUserBlock(const std::string& id,
                                             const std::string& browser) const {
  if (!Available())
    return {kChangeOnlyInBrowser, browser + " has no policy to block an extension with"};
  PolicyScope planned = user_;
  planned.blocklist.set = true;
  planned.blocklist.values.emplace_back("", id);
  if (Evaluate(id, machine_, planned).blocked) return {};
  const std::string why =
      machine_.blocklist.set
          ? "the computer's policy (" +
                RegistryPath(RegRoot::LocalMachine, key_ + "\\" + kBlocklist) +
                ") decides which extensions are blocked, and it overrides an entry for this user"
          : "another of its policy settings allows this extension";
  return {kChangeOnlyInBrowser, browser + " would not take a block for this user: " + why};
}

ChangeResult ChromiumPolicy::CanRemoveUserBlock(const std::string& id,
                                                const std::string& browser) const {
  PolicyScope planned = user_;
  auto& values = planned.blocklist.values;
  values.erase(
      std::remove_if(values.begin(), values.end(), [&](const auto& v) { return v.second == id; }),
      values.end());
  const Verdict after = Evaluate(id, machine_, planned);
  if (!after.blocked) return {};
  return {
      kChangeOnlyInBrowser,
      browser + " would still block it: " +
          (after.source == Source::kMachine
               ? std::string(
                     "the computer's policy blocks it, and only its administrator can lift that")
               : "its policy for this user blocks it by a rule other than its own entry")};
}

ChangeResult ChromiumPolicy::AddUserBlock(const std::string& id, const std::string& browser) {
  if (ChangeResult can = CanAddUserBlock(id, browser); !can) return can;
  if (UserListsId(id)) return {};

  int free = 1;
  std::vector<int> used;
  for (const auto& v : user_.blocklist.values) used.push_back(*PositionOf(v.first));
  while (std::find(used.begin(), used.end(), free) != used.end()) ++free;
  const std::string list_key = UserListKey();
  std::unique_ptr<os::RegKey> handle;
  long error = os::Current().registry().CreateKey(
      RegRoot::CurrentUser, list_key, RegViewAccess(os::kKeyAllAccess, list_key, true), &handle);
  if (error == os::kErrorSuccess)
    error = handle->SetValue(std::to_string(free), os::kRegSz, os::RegStringData(id));
  if (error != os::kErrorSuccess) return {error, UserListPath() + " " + RegistryErrorText(error)};
  Load();
  return {};
}

ChangeResult ChromiumPolicy::RemoveUserBlock(const std::string& id, const std::string& browser) {
  if (!Available() || !UserListsId(id)) return {};
  if (ChangeResult can = CanRemoveUserBlock(id, browser); !can) return can;

  const std::string list_key = UserListKey();
  long error = os::kErrorSuccess;
  std::unique_ptr<os::RegKey> handle = OpenKeyForChange(RegRoot::CurrentUser, list_key, &error);
  if (!handle) return {error, UserListPath() + " " + RegistryErrorText(error)};
  // Our entries go; then, while a number below the highest is missing, the highest entry
  // moves into that gap, so that a browser reading up to the first gap sees them all.
  std::vector<std::pair<int, std::string>> kept;  // position, value name; sorted below
  for (const auto& [name, item] : user_.blocklist.values) {
    if (item == id) {
      if ((error = handle->DeleteValue(name)) != os::kErrorSuccess) break;
    } else {
      kept.emplace_back(*PositionOf(name), name);
    }
  }
  std::sort(kept.begin(), kept.end());
  for (int want = 1; error == os::kErrorSuccess && !kept.empty() && kept.back().first > want;
       ++want) {
    if (std::any_of(kept.begin(), kept.end(), [&](const auto& k) { return k.first == want; }))
      continue;
    os::RegValue moved;
    error = handle->QueryValue(kept.back().second, &moved);
    if (error == os::kErrorSuccess)
      error = handle->SetValue(std::to_string(want), moved.type, moved.data);
    if (error == os::kErrorSuccess) error = handle->DeleteValue(kept.back().second);
    kept.pop_back();
    kept.insert(std::upper_bound(kept.begin(), kept.end(), std::pair<int, std::string>{want, ""}),
                {want, std::to_string(want)});
  }
  Load();
  if (error != os::kErrorSuccess) return {error, UserListPath() + " " + RegistryErrorText(error)};
  return {};
}

}  // namespace orvo
