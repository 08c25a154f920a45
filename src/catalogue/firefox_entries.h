#pragma once
// One add-on's entry in extensions.json and its state in the startup cache, kept in step
// the way the browser keeps them: "userDisabled" is the user's switch, "softDisabled" a
// soft block the user's turning on lifts, "active" whether it runs, and the cache's
// "enabled" the same "visible and not disabled" (XPIDatabase.updateAddonDisabledState,
// XPIState.syncWithDB).
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/extension_info.h"
#include "catalogue/json_document.h"

namespace orvo {

// The entry of the add-on `id` installed in `location` (the same id may be installed in
// two locations); null when there is none. Of two entries for the same id and location the
// browser keeps the later one (XPIDatabase.parseDB fills a map keyed by location and id),
// so that is the one found.
Json* FindEntry(Json& document, std::string_view id, std::string_view location);
const Json* FindEntry(const Json& document, std::string_view id, std::string_view location);
bool IsEntryOf(const Json& entry, std::string_view id, std::string_view location);

// Every entry of the add-on, taken out of the "addons" array with the place it had, so
// that no earlier copy comes to life when the one in use goes; PutBackEntries undoes it.
using TakenEntries = std::vector<std::pair<size_t, Json>>;
TakenEntries TakeEntries(Json& addons, std::string_view id, std::string_view location);
void PutBackEntries(Json& addons, TakenEntries taken);

// The entry's add-on is the one the browser uses among copies of the same id ("visible",
// true when the member is missing).
bool EntryVisible(const Json& entry);

// The user's switch on or off; `cache_state` (may be null) follows.
void SetEntryEnabled(Json& entry, Json* cache_state, bool on);

// Switches made on the held extensions.json document, kept so that a change the files
// refuse can be taken back (the document may be megabytes: copying it for every switch
// would cost more than writing it). The entries must stay where they are until Undo.
class EntrySwitches {
 public:
  void SetEnabled(Json& entry, Json* cache_state, bool on);
  // Puts every switched entry's flags back as they were, the last switched first.
  void Undo();

 private:
  struct Saved {
    Json* entry;
    std::optional<Json> user_disabled, soft_disabled, active;
  };
  std::vector<Saved> saved_;
};

// The record's state, kind and locks from its entry. `current` is true for a profile with
// a startup cache, where the default theme cannot be switched off on its own.
void ApplyEntryState(TBrowserExtensionInfo& item, const Json& entry, bool current);

}  // namespace orvo
