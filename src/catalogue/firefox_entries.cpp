#include "catalogue/firefox_entries.h"

#include "catalogue/firefox_addon_facts.h"

namespace orvo {

bool IsEntryOf(const Json& entry, std::string_view id, std::string_view location) {
  return entry.is_object() && StringMember(entry, "id") == id &&
         StringMember(entry, "location") == location;
}

Json* FindEntry(Json& document, std::string_view id, std::string_view location) {
  Json* found = nullptr;
  if (Json* addons = ArrayMember(document, "addons")) {
    for (Json& e : *addons) {
      if (IsEntryOf(e, id, location)) found = &e;
    }
  }
  return found;
}

const Json* FindEntry(const Json& document, std::string_view id, std::string_view location) {
  return FindEntry(const_cast<Json&>(document), id, location);
}

// Both rebuild the array once: erasing and inserting one entry at a time costs the
// length of the array each, and a damaged file may hold an add-on thousands of times.
TakenEntries TakeEntries(Json& addons, std::string_view id, std::string_view location) {
  TakenEntries taken;
  if (!addons.is_array()) return taken;
  Json kept = Json::array();
  for (size_t i = 0; i < addons.size(); ++i) {
    if (IsEntryOf(addons[i], id, location)) {
      taken.emplace_back(i, std::move(addons[i]));
    } else {
      kept.push_back(std::move(addons[i]));
    }
  }
  addons = std::move(kept);
  return taken;
}

void PutBackEntries(Json& addons, TakenEntries taken) {
  if (taken.empty() || !addons.is_array()) return;
  Json whole = Json::array();
  auto next = taken.begin();
  size_t kept = 0;
  while (next != taken.end() || kept < addons.size()) {
    if (next != taken.end() && (next->first == whole.size() || kept == addons.size())) {
      whole.push_back(std::move(next->second));
      ++next;
    } else {
      whole.push_back(std::move(addons[kept++]));
    }
  }
  addons = std::move(whole);
}

bool EntryVisible(const Json& entry) {
  return !entry.contains("visible") || BoolMember(entry, "visible");
}

void SetEntryEnabled(Json& entry, Json* cache_state, bool on) {
  entry["userDisabled"] = !on;
  if (on && entry.contains("softDisabled")) entry["softDisabled"] = false;
  const bool runs = !FirefoxEntryDisabled(entry) && EntryVisible(entry);
  entry["active"] = runs;
  if (cache_state) (*cache_state)["enabled"] = runs;
}

void EntrySwitches::SetEnabled(Json& entry, Json* cache_state, bool on) {
  saved_.push_back({&entry, MemberCopy(entry, "userDisabled"), MemberCopy(entry, "softDisabled"),
                    MemberCopy(entry, "active")});
  SetEntryEnabled(entry, cache_state, on);
}

void EntrySwitches::Undo() {
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    RestoreMember(*it->entry, "userDisabled", it->user_disabled);
    RestoreMember(*it->entry, "softDisabled", it->soft_disabled);
    RestoreMember(*it->entry, "active", it->active);
  }
  saved_.clear();
}

void ApplyEntryState(TBrowserExtensionInfo& item, const Json& entry, bool current) {
  item.Disabled = FirefoxEntryDisabled(entry);
  item.TypeName = FirefoxTypeName(StringMember(entry, "type"));
  item.BrowserOwned = IsBrowserOwnedLocation(StringMember(entry, "location"));
  item.SwitchLock = FirefoxSwitchLock(entry);
  // The browser offers no switch-off for its default theme (AddonInternal.permissions):
  // another theme replaces it.
  if (current && item.SwitchLock.empty() && !item.Disabled && item.Id == kFirefoxDefaultThemeId) {
    item.SwitchLock =
        "Firefox always keeps a theme on, so turn another theme on to replace this one";
  }
}

}  // namespace orvo
