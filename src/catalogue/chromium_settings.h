#pragma once
// One extension's entry of extensions.settings, read as the browser reads it. A profile
// keeps the entries in "Preferences" and, where the browser guards them with checksums
// (Windows and macOS outside a domain, chrome/browser/prefs/chrome_pref_service_factory.cc),
// in "Secure Preferences"; the MACs sit beside them under protection.macs.extensions.
// settings.<id> (services/preferences/tracked/dictionary_hash_store_contents.cc). An entry
// edited without a matching MAC is dropped by the browser at its next start, which
// uninstalls the extension: such entries are never edited here.
//
// Whether an entry is switched off follows extensions/browser/extension_prefs.cc as it
// stands now: "disable_reasons" decides (a list of disable_reason.h values; before that an
// integer bit mask, which the browser turns into that list); "state" is read only where
// there are no reasons, and 0 there means off (MaybeClearExtensionStatePref turns it into
// the user's reason); an entry with neither is on.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/json_document.h"

namespace orvo {

// mojom::ManifestLocation (extensions/common/mojom/manifest.mojom).
enum ChromiumLocation : int64_t {
  kLocationInternal = 1,  // a user's install from the store or a .crx
  kLocationExternalPref = 2,
  kLocationExternalRegistry = 3,
  kLocationUnpacked = 4,  // loaded from a developer's folder, absolute "path", no stored manifest
  kLocationComponent = 5,
  kLocationExternalPrefDownload = 6,
  kLocationExternalPolicyDownload = 7,
  kLocationCommandLine = 8,
  kLocationExternalPolicy = 9,
  kLocationExternalComponent = 10,
};

// disable_reason::DisableReason (extensions/browser/disable_reason.h).
inline constexpr int64_t kDisableUserAction = 1 << 0;
inline constexpr int64_t kDisableBlockedByPolicy = 1 << 16;

// Extension::State 3, DEPRECATED_EXTERNAL_EXTENSION_UNINSTALLED: an external extension the
// user removed; the browser loads no such entry.
inline constexpr int64_t kStateExternalUninstalled = 3;

enum class SettingsStore { kPreferences, kSecurePreferences };

struct ChromiumEntry {
  Json* value = nullptr;  // the entry in its document
  SettingsStore store = SettingsStore::kPreferences;
  // A MAC guards it (in either file), or it lives in Secure Preferences: not ours to edit.
  bool is_protected = false;
};

// The reasons the entry holds: the integers of its list, or the set bits of the old mask;
// nothing for any other value.
std::vector<int64_t> DisableReasons(const Json& entry);
// The reasons that keep it off by its own entry: all but the policy block, which follows
// the policy itself (the browser drops it when the policy goes).
std::vector<int64_t> EntryReasons(const Json& entry);
// Switched off by its own entry (the policy aside).
bool EntryOff(const Json& entry);
// The user's words for reasons other than the user's own switch ("needs new permissions");
// empty when there are none.
std::string DescribeReasons(const std::vector<int64_t>& reasons);
// The location, when the entry has a readable one.
std::optional<int64_t> EntryLocation(const Json& entry);
// An external extension the user removed (state 3): the browser loads no such entry.
bool MarkedUninstalled(const Json& entry);
// Installed by policy: the browser keeps it on and puts it back when removed.
bool PolicyInstalled(const Json& entry);
// Loaded from a folder of the user's own (unpacked or from the command line).
bool LoadedFromFolder(const Json& entry);

// The extensions.settings of one profile, both files together.
class ChromiumSettings {
 public:
  // Either document may be null (a profile without Secure Preferences).
  ChromiumSettings(JsonDocument* preferences, JsonDocument* secure);
  // The entry of an extension: Secure Preferences' when it holds one, else Preferences'.
  std::optional<ChromiumEntry> Find(const std::string& id) const;
  // The ids of every object entry, Secure Preferences' first, each once.
  std::vector<std::string> Ids() const;

 private:
  JsonDocument* preferences_;
  JsonDocument* secure_;
};

// "extensions"."settings" of a document, when it is an object.
Json* SettingsOf(JsonDocument* document);
// A MAC for the entry under protection.macs.extensions.settings.<id>.
bool HasEntryMac(const JsonDocument* document, const std::string& id);

}  // namespace orvo
