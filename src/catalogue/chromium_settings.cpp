#include "catalogue/chromium_settings.h"

#include <algorithm>
#include <unordered_set>

namespace orvo {
namespace {

std::optional<int64_t> IntegerOf(const Json* value) {
  if (value && value->is_number_integer()) return value->get<int64_t>();
  return std::nullopt;
}

// The user's words for one reason (disable_reason.h, in the order of its values).
struct ReasonText {
  int64_t reason;
  const char* text;
};
constexpr ReasonText kReasonTexts[] = {
    {1 << 1, "it asks for new permissions"},
    {1 << 2, "it is being reloaded"},
    {1 << 3, "it needs something this computer lacks"},
    {1 << 4, "it was installed by another program and removed"},
    {1 << 8, "its install could not be verified"},
    {1 << 9, "Safe Browsing flagged it"},
    {1 << 10, "its files are damaged"},
    {1 << 11, "it was installed remotely and waits for approval"},
    {1 << 13, "another program added it and it waits for approval"},
    {1 << 14, "the administrator requires a newer version"},
    {1 << 15, "it waits for a parent's approval"},
    {1 << 16, "the browser's policy blocks it"},
    {1 << 19, "it is being reinstalled"},
    {1 << 20, "Enhanced Safe Browsing does not trust it"},
    {1 << 22, "the administrator allows only extensions still in the store"},
    {1 << 23, "its manifest version is no longer supported"},
    {1 << 24, "developer mode is off"},
};

}  // namespace

std::vector<int64_t> DisableReasons(const Json& entry) {
  std::vector<int64_t> reasons;
  const Json* value = Member(entry, "disable_reasons");
  if (!value) return reasons;
  if (value->is_array()) {
    // ReadDisableReasonsFromPrefs: integers only, each once.
    for (const Json& e : *value) {
      if (!e.is_number_integer()) continue;
      const int64_t r = e.get<int64_t>();
      if (std::find(reasons.begin(), reasons.end(), r) == reasons.end()) reasons.push_back(r);
    }
  } else if (value->is_number_integer()) {
    // BitflagToList: every set bit of the low 32.
    const int64_t mask = value->get<int64_t>();
    for (int bit = 0; bit < 32; ++bit) {
      if (mask & (int64_t(1) << bit)) reasons.push_back(int64_t(1) << bit);
    }
  }
  std::sort(reasons.begin(), reasons.end());
  return reasons;
}

std::vector<int64_t> EntryReasons(const Json& entry) {
  std::vector<int64_t> reasons = DisableReasons(entry);
  reasons.erase(std::remove(reasons.begin(), reasons.end(), kDisableBlockedByPolicy),
                reasons.end());
  return reasons;
}

bool EntryOff(const Json& entry) {
  if (!DisableReasons(entry).empty()) return !EntryReasons(entry).empty();
  const std::optional<int64_t> state = IntegerOf(Member(entry, "state"));
  return state && *state == 0;
}

std::string DescribeReasons(const std::vector<int64_t>& reasons) {
  std::string text;
  for (int64_t r : reasons) {
    if (r == kDisableUserAction) continue;
    std::string words = "reason " + std::to_string(r);
    for (const auto& t : kReasonTexts) {
      if (t.reason == r) words = t.text;
    }
    text += (text.empty() ? "" : "; ") + words;
  }
  return text;
}

std::optional<int64_t> EntryLocation(const Json& entry) {
  return IntegerOf(Member(entry, "location"));
}

bool MarkedUninstalled(const Json& entry) {
  return IntegerOf(Member(entry, "state")) == kStateExternalUninstalled;
}

bool PolicyInstalled(const Json& entry) {
  const auto location = EntryLocation(entry);
  return location == kLocationExternalPolicy || location == kLocationExternalPolicyDownload;
}

bool LoadedFromFolder(const Json& entry) {
  const auto location = EntryLocation(entry);
  return location == kLocationUnpacked || location == kLocationCommandLine;
}

Json* SettingsOf(JsonDocument* document) {
  if (!document) return nullptr;
  Json* extensions = ObjectMember(document->value, "extensions");
  return extensions ? ObjectMember(*extensions, "settings") : nullptr;
}

bool HasEntryMac(const JsonDocument* document, const std::string& id) {
  if (!document) return false;
  const Json* node = &document->value;
  for (const char* step : {"protection", "macs", "extensions", "settings"}) {
    node = ObjectMember(*node, step);
    if (!node) return false;
  }
  return Member(*node, id) != nullptr;
}

ChromiumSettings::ChromiumSettings(JsonDocument* preferences, JsonDocument* secure)
    : preferences_(preferences), secure_(secure) {}

std::optional<ChromiumEntry> ChromiumSettings::Find(const std::string& id) const {
  const bool mac = HasEntryMac(secure_, id) || HasEntryMac(preferences_, id);
  if (Json* settings = SettingsOf(secure_)) {
    if (Json* entry = ObjectMember(*settings, id))
      return ChromiumEntry{entry, SettingsStore::kSecurePreferences, true};
  }
  if (Json* settings = SettingsOf(preferences_)) {
    if (Json* entry = ObjectMember(*settings, id))
      return ChromiumEntry{entry, SettingsStore::kPreferences, mac};
  }
  return std::nullopt;
}

std::vector<std::string> ChromiumSettings::Ids() const {
  std::vector<std::string> ids;
  std::unordered_set<std::string> seen;
  for (JsonDocument* doc : {secure_, preferences_}) {
    const Json* settings = SettingsOf(doc);
    if (!settings) continue;
    for (auto it = settings->begin(); it != settings->end(); ++it) {
      if (it.value().is_object() && seen.insert(it.key()).second) ids.push_back(it.key());
    }
  }
  return ids;
}

}  // namespace orvo
