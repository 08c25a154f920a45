// Switching and deleting in a Chromium-family profile. The rules the browser holds to
// (extensions/browser/extension_prefs.cc) decide the route: an entry without checksum is
// edited in Preferences; a guarded entry only ever changes through the browser's policy
// or in the browser itself; what the policy installed, the browser keeps and restores.
// Every refusal is decided before anything is written, and a write that fails is taken
// back from the document, so the next write saves only its own change.
#include <algorithm>
#include <optional>

#include "catalogue/chromium_extensions.h"
#include "catalogue/chromium_settings.h"
#include "catalogue/file_removal.h"
#include "catalogue/plugin_records.h"
#include "catalogue/shell_helpers.h"

namespace orvo {
namespace {

// A member of an object as it was, for putting back after a refused write.
struct Saved {
  Json* object;
  std::string name;
  std::optional<Json> value;
};

void Restore(std::vector<Saved>& saved) {
  for (auto it = saved.rbegin(); it != saved.rend(); ++it)
    RestoreMember(*it->object, it->name, it->value);
}

// The user's own reason, added to or taken from "disable_reasons" in the form the entry
// keeps it: a list gains or loses 1 and goes when empty; the old integer mask keeps its
// other bits and goes at 0, as the browser removes it (ModifyBitMapPrefBits). An entry
// without reasons gains the list only where it has no "state": old browsers read state
// alone, and a profile of theirs is written exactly as they write it.
void SetUserReason(Json& entry, bool off) {
  Json* reasons = Member(entry, "disable_reasons");
  if (reasons && reasons->is_array()) {
    auto& list = reasons->get_ref<Json::array_t&>();
    const auto is_user = [](const Json& e) {
      return e.is_number_integer() && e.get<int64_t>() == kDisableUserAction;
    };
    if (off) {
      if (std::none_of(list.begin(), list.end(), is_user)) list.push_back(kDisableUserAction);
    } else {
      list.erase(std::remove_if(list.begin(), list.end(), is_user), list.end());
      if (list.empty()) entry.erase("disable_reasons");
    }
  } else if (reasons && reasons->is_number_integer()) {
    const int64_t mask = off ? (reasons->get<int64_t>() | kDisableUserAction)
                             : (reasons->get<int64_t>() & ~kDisableUserAction);
    if (mask == 0) {
      entry.erase("disable_reasons");
    } else {
      *reasons = mask;
    }
  } else if (!reasons && off && !Member(entry, "state")) {
    entry["disable_reasons"] = Json::array({kDisableUserAction});
  }
}

std::string WithPage(const std::string& text, const std::string& page) {
  return text + " (" + page + ")";
}

}  // namespace

ChangeResult TChromiumExtensions::ToggleItem(TBrowserExtensionInfo* item) {
  if (!Contains(item)) return {};
  if (ChangeResult refused = RefusalForLoadError(); !refused) return refused;
  if (item->ItemKind != ikExtension)
    return {os::kErrorInvalidParameter, item->ListTitle(false) + " has no on/off switch"};
  const std::optional<ChromiumEntry> entry =
      ChromiumSettings(Document.get(), SecureDocument.get()).Find(item->Id);
  if (!entry)
    return {os::kErrorNotFound,
            item->Id + " has no settings entry in " + ProfileDir + DataFileName};
  if (PolicyInstalled(*entry->value)) {
    return {kChangeOnlyInBrowser, item->ListTitle(false) +
                                      " was installed by the administrator's policy, and " +
                                      DisplayName + " keeps it on"};
  }
  if (!EntryLocation(*entry->value))
    return {kChangeOnlyInBrowser, item->ListTitle(false) + ": " + item->DisabledReason};
  if (entry->is_protected || policy_.Check(item->Id).blocked) return SwitchByPolicy(*item, *entry);
  return SwitchByEntry(*item, *entry->value);
}

ChangeResult TChromiumExtensions::EntryStaysOff(const TBrowserExtensionInfo& item,
                                                const Json& entry) const {
  std::vector<int64_t> others = EntryReasons(entry);
  others.erase(std::remove(others.begin(), others.end(), kDisableUserAction), others.end());
  if (others.empty()) return {};
  return {kChangeOnlyInBrowser,
          WithPage(item.ListTitle(false) + " stays off in " + DisplayName + ": " +
                       DescribeReasons(others) + "; only " + DisplayName + " can switch it on",
                   AddonPageAddress(item))};
}

ChangeResult TChromiumExtensions::SwitchByEntry(TBrowserExtensionInfo& item, Json& original) {
  if (item.Disabled) {
    if (ChangeResult stays = EntryStaysOff(item, original); !stays) return stays;
  }
  const bool off = !item.Disabled;
  const bool has_state = Member(original, "state") != nullptr;
  // Adding a member to "extensions" moves the others, so "known_disabled" is made before
  // the entry is looked up again.
  Json* extensions = ObjectMember(Document->value, "extensions");
  std::vector<Saved> saved;
  if (has_state) {
    saved.push_back({extensions, "known_disabled", MemberCopy(*extensions, "known_disabled")});
    if (!Member(*extensions, "known_disabled")) (*extensions)["known_disabled"] = Json::array();
  }
  Json& entry = *ObjectMember(*ObjectMember(*extensions, "settings"), item.Id);
  saved.push_back({&entry, "state", MemberCopy(entry, "state")});
  saved.push_back({&entry, "disable_reasons", MemberCopy(entry, "disable_reasons")});

  if (has_state) {
    entry["state"] = off ? 0 : 1;
    // "known_disabled" as the browsers that read "state" kept it: an id appended for
    // every switch off, every copy removed for a switch on; a damaged list is left alone.
    if (Json* known = ArrayMember(*extensions, "known_disabled")) {
      if (off) {
        known->push_back(item.Id);
      } else {
        for (size_t i = known->size(); i-- > 0;) {
          const Json& e = (*known)[i];
          if (e.is_string() && e.get_ref<const std::string&>() == item.Id) known->erase(i);
        }
      }
    }
  }
  SetUserReason(entry, off);
  if (ChangeResult written = WriteBack(); !written) {
    Restore(saved);
    return written;
  }
  ReadSwitch(item, ChromiumEntry{&entry, SettingsStore::kPreferences, false});
  return {};
}

ChangeResult TChromiumExtensions::SwitchByPolicy(TBrowserExtensionInfo& item,
                                                 const ChromiumEntry& entry) {
  const std::string title = item.ListTitle(false);
  const std::string page = AddonPageAddress(item);
  const bool entry_off = EntryOff(*entry.value);
  if (item.Disabled) {
    if (entry_off && entry.is_protected) {
      const std::string reasons = DescribeReasons(EntryReasons(*entry.value));
      return {kChangeOnlyInBrowser,
              WithPage(title + " is switched off in " + DisplayName + " itself" +
                           (reasons.empty() ? "" : " (" + reasons + ")") + ", and " + DisplayName +
                           " guards its settings with a checksum: only " + DisplayName +
                           " can switch it on",
                       page)};
    }
    if (ChangeResult stays = EntryStaysOff(item, *entry.value); !stays) return stays;
    if (ChangeResult can = policy_.CanRemoveUserBlock(item.Id, DisplayName); !can) return can;
    if (!PolicyChangesAllowed) return {kChangeNeedsPolicyConsent, PolicyExplanation()};
    if (ChangeResult lifted = policy_.RemoveUserBlock(item.Id, DisplayName); !lifted) return lifted;
    if (entry_off) {
      // An entry without checksum that is off by itself too: its own switch follows. The
      // entry may move meanwhile, so it is not looked at here afterwards.
      ChangeResult switched = SwitchByEntry(item, *entry.value);
      if (!switched) policy_.AddUserBlock(item.Id, DisplayName);  // back as it was
      return switched;
    }
  } else {
    if (!policy_.Available()) {
      return {kChangeOnlyInBrowser, WithPage(DisplayName + " guards the settings of " + title +
                                                 " with a checksum and has no policy this "
                                                 "program could switch it with: switch it off in " +
                                                 DisplayName,
                                             page)};
    }
    if (ChangeResult can = policy_.CanAddUserBlock(item.Id, DisplayName); !can) return can;
    if (!PolicyChangesAllowed) return {kChangeNeedsPolicyConsent, PolicyExplanation()};
    if (ChangeResult blocked_now = policy_.AddUserBlock(item.Id, DisplayName); !blocked_now)
      return blocked_now;
  }
  ReadSwitch(item, entry);
  return {};
}

ChangeResult TChromiumExtensions::DeleteItem(TBrowserExtensionInfo* item) {
  if (ChangeResult settled; SettleCommonDelete(item, &settled)) return settled;
  if (item->ItemKind != ikExtension) {
    return {os::kErrorInvalidParameter, item->ListTitle(false) + " is no add-on of " + DisplayName};
  }
  const std::optional<ChromiumEntry> entry =
      ChromiumSettings(Document.get(), SecureDocument.get()).Find(item->Id);
  if (entry) {
    const std::string title = item->ListTitle(false);
    if (PolicyInstalled(*entry->value)) {
      return {kChangeOnlyInBrowser, title + " was installed by the administrator's policy, and " +
                                        DisplayName + " would install it again"};
    }
    // Only the browser can take a guarded entry out: deleted behind its back, the
    // extension is downloaded again or shown as damaged at the next start, so it would not
    // be gone. The user is sent to the browser's own page for it.
    if (entry->is_protected) {
      return {kChangeOnlyInBrowser, WithPage(title + " can be removed only in " + DisplayName +
                                                 " itself: " + DisplayName +
                                                 " guards its settings with a checksum and would "
                                                 "bring it back if it were deleted here",
                                             AddonPageAddress(*item))};
    }
  }
  return DeleteEntry(*item, entry ? *entry : ChromiumEntry{});
}

ChangeResult TChromiumExtensions::DeleteEntry(TBrowserExtensionInfo& item,
                                              const ChromiumEntry& entry) {
  // An extension loaded from a folder of the user's own leaves that folder alone, as the
  // browser does; anything else goes with its whole folder first: an entry without its
  // files would be a broken extension, a folder without its entry is what the browser
  // cleans up itself.
  std::string note;
  const bool own_folder = entry.value && LoadedFromFolder(*entry.value);
  if (own_folder) {
    note = "its folder " + item.Path + " is the developer's own and was left in place";
  } else {
    const std::string folder = ExtensionsDir() + item.Id;
    if (ChangeResult removed = RemoveForGood(folder, ShellDeleteFolder); !removed) {
      removed.message += "; its entry in " + DataFileName + " is kept";
      return removed;
    }
    note = "the folder " + folder + " was deleted";
  }
  Json* extensions = Document ? ObjectMember(Document->value, "extensions") : nullptr;
  Json* settings = extensions ? ObjectMember(*extensions, "settings") : nullptr;
  if (settings && Member(*settings, item.Id)) {
    // An external extension the user removes is remembered, so that the program that
    // placed it does not bring it back (ExtensionPrefs::OnExtensionUninstalled).
    const auto location = EntryLocation(*Member(*settings, item.Id));
    const bool external = location == kLocationExternalPref ||
                          location == kLocationExternalRegistry ||
                          location == kLocationExternalPrefDownload;
    std::vector<Saved> saved;
    if (external) {
      saved.push_back(
          {extensions, "external_uninstalls", MemberCopy(*extensions, "external_uninstalls")});
      if (!Member(*extensions, "external_uninstalls"))
        (*extensions)["external_uninstalls"] = Json::array();
      if (Json* list = ArrayMember(*extensions, "external_uninstalls")) list->push_back(item.Id);
      settings = ObjectMember(*extensions, "settings");
    }
    auto& members = settings->get_ref<Json::object_t&>();
    const auto it = members.find(item.Id);
    const size_t at = static_cast<size_t>(it - members.begin());
    Json kept = std::move(it->second);
    members.erase(it);
    if (ChangeResult written = WriteBack(); !written) {
      members.emplace_at(at, item.Id, std::move(kept));
      Restore(saved);
      return {written.error, note + ", but " + written.message};
    }
  }
  RemoveItem(&item);
  return {os::kErrorSuccess, own_folder ? note : std::string()};
}

}  // namespace orvo
