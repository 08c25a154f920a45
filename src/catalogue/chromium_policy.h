#pragma once
// The extension policies of a Chromium-family browser, as far as they block an extension,
// and the one change this program makes to them: the per-user ExtensionInstallBlocklist.
//
// The browser reads its policies from HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER under its
// own key (SOFTWARE\Policies\Google\Chrome, ...). A list policy is a subkey whose values
// "1", "2", ... hold the items (components/policy/core/common/registry_dict.cc; browsers
// before 2017 stop at the first missing number, so the numbers are kept unbroken). For
// one policy the machine's setting wins over the user's whole (policy_merger.cc: the
// user's platform policies are never merged with the machine's). An extension is blocked
// as extension_management.cc settles it: its own ExtensionSettings entry, else the
// allowlist, else the blocklist, else the default ("*" in the blocklist, or
// ExtensionSettings "*"). ExtensionInstallBlocklist.yaml: a blocked extension that is
// installed is switched off, shown as blocked by the administrator, and switched on again
// when the block goes. The names before version 86 (ExtensionInstallBlacklist,
// ExtensionInstallWhitelist) are read where the new ones are not set.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/browser_app.h"
#include "catalogue/json_document.h"

namespace orvo {

// One list policy in one scope.
struct PolicyList {
  bool set = false;  // its key is there (an empty list is a setting too)
  // The name of its key: the current one, or the name before version 86 where only that
  // is set. A change goes to the key the browser reads: a new key beside an old one would
  // hide the old one's entries from it.
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;  // value name, item
  bool Contains(const std::string& item) const;
};

struct PolicyScope {
  PolicyList blocklist;
  PolicyList allowlist;
  std::optional<Json> settings;  // ExtensionSettings, when set
};

class ChromiumPolicy {
 public:
  enum class Source { kNone, kMachine, kUser };
  struct Verdict {
    bool blocked = false;
    Source source = Source::kNone;  // the scope of the setting that decides
  };

  // `key`: the browser's policy key below both roots; empty for a browser without policies.
  explicit ChromiumPolicy(std::string key);

  bool Available() const { return !key_.empty(); }
  Verdict Check(const std::string& id) const;
  // Whether the per-user list holds the id itself.
  bool UserListsId(const std::string& id) const;

  // Whether a per-user block would take effect: refused, with the setting that stands in
  // the way named, when the machine sets the blocklist or another setting allows the
  // extension. Nothing is written.
  ChangeResult CanAddUserBlock(const std::string& id, const std::string& browser) const;
  // Whether removing the per-user entries would free the extension: refused when it would
  // stay blocked (by the machine, "*", or ExtensionSettings). Nothing is written.
  ChangeResult CanRemoveUserBlock(const std::string& id, const std::string& browser) const;
  // Adds the id to the per-user blocklist under the lowest free number, when
  // CanAddUserBlock allows.
  ChangeResult AddUserBlock(const std::string& id, const std::string& browser);
  // Removes the per-user entries of the id (the last entries move into the gaps), when
  // CanRemoveUserBlock allows.
  ChangeResult RemoveUserBlock(const std::string& id, const std::string& browser);

  // HKEY_CURRENT_USER\<key>\ExtensionInstallBlocklist (or the name before version 86,
  // where the user's list has only that), as messages name it.
  std::string UserListPath() const;

 private:
  Verdict Evaluate(const std::string& id, const PolicyScope& machine,
                   const PolicyScope& user) const;
  void Load();
  // The key of the user's blocklist below HKEY_CURRENT_USER.
  std::string UserListKey() const;
  std::string key_;
  PolicyScope machine_;
  PolicyScope user_;
};

}  // namespace orvo
