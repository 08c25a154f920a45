#include "catalogue/firefox_extensions.h"

#include "catalogue/data_file.h"
#include "catalogue/file_removal.h"
#include "catalogue/file_set_write.h"
#include "catalogue/firefox_addon_facts.h"
#include "catalogue/firefox_entries.h"
#include "catalogue/firefox_locale.h"
#include "catalogue/firefox_prefs.h"
#include "catalogue/firefox_profiles.h"
#include "catalogue/firefox_startup_cache.h"
#include "catalogue/icon_download.h"
#include "catalogue/json_document.h"
#include "catalogue/json_writer.h"
#include "catalogue/plugin_records.h"
#include "catalogue/process_helpers.h"
#include "catalogue/shell_helpers.h"
#include "platform/failure_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {

bool TFireFoxExtensions::DownloadIcons = true;

namespace {

constexpr size_t kMaxDataFile = size_t(64) << 20;

std::string FirefoxFolder() { return GetSpecialFolder(os::kCsidlAppData) + "\\Mozilla\\Firefox\\"; }

// Lower-case, one backslash between parts, no trailing one: for comparing folder paths.
std::string Normalised(std::string_view path) {
  std::string out;
  for (char c : path) {
    const char n = c == '/' ? '\\' : ToLowerAscii(c);
    if (n == '\\' && !out.empty() && out.back() == '\\') continue;
    out += n;
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

// The folders Firefox itself installs add-ons into and removes them from, all inside the
// profile (toolkit/mozapps/extensions/internal/XPIProvider.sys.mjs): DIR_EXTENSIONS
// "extensions" for the user's add-ons (with DIR_STAGE "staged" and DIR_TRASH "trash"
// inside it), DIR_SYSTEM_ADDONS "features" for updated system add-ons, and
// DIR_APP_SYSTEM_PROFILE "system-extensions". An add-on anywhere else (the application's
// folder, a folder another program registered, a temporary add-on loaded from the user's
// own folder) is not the browser's to delete, and so not ours: a descriptor may point at
// the user's documents.
constexpr const char* kInstallFolders[] = {"extensions", "features", "system-extensions"};

bool InInstallFolder(std::string_view path, std::string_view profile) {
  const std::string p = Normalised(TrimView(path));
  if (p.empty() || HasParentStep(p)) return false;
  const std::string prof = Normalised(profile);
  for (const char* folder : kInstallFolders) {
    const std::string base = prof + "\\" + folder + "\\";
    if (p.size() > base.size() && p.compare(0, base.size(), base) == 0) return true;
  }
  return false;
}

bool DeleteForGood(std::string_view path) { return DeleteFileOrFolder(path, false); }

std::string StartupCachePath(const std::string& profile) { return profile + kStartupCacheFile; }

}  // namespace

TFireFoxExtensions::TFireFoxExtensions(const std::string& profile) {
  BrowserKind = bkFirefox;
  DisplayName = BrowserDisplayNames[bkFirefox];
  DataFileName = "extensions.json";
  ProfileDir = FirefoxFolder();
  if (!FolderExists(ProfileDir)) return;
  ChooseProfile(profile);
  if (ProfileDir.empty()) return;

  // Names are shown in the language the browser asks for.
  std::optional<std::string> requested, useragent;
  if (auto prefs = os::Current().files().ReadFile(ProfileDir + "prefs.js", kMaxDataFile)) {
    requested = UserPrefString(*prefs, "intl.locale.requested");
    useragent = UserPrefString(*prefs, "general.useragent.locale");
  }
  requested_locales_ =
      FirefoxRequestedLocales(requested, useragent, os::Current().system().UserUiLanguage());

  // A store that is there but cannot be read lists what it gave until then and keeps the
  // reason; the plug-ins come from the registry and are listed all the same.
  try {
    std::string error;
    Document = ReadDataFile(ProfileDir + DataFileName, kMaxDataFile, &error);
    NoteLoadError(error);
    // addons.json only names the database's add-ons: it matters when they are read.
    std::string addons_error;
    AddonsDocument = ReadDataFile(ProfileDir + "addons.json", kMaxDataFile, &addons_error);
    if (Document) {
      // A damaged startup cache is a reason like a damaged extensions.json: a change
      // written beside it would not be the one the browser starts with.
      std::string cache_error;
      StartupCache = ReadStartupCache(StartupCachePath(ProfileDir), &cache_error);
      NoteLoadError(cache_error);
      ReadJson();
    } else if (FileExists(ProfileDir + "extensions.sqlite")) {
      NoteLoadError(addons_error);
      ReadDatabase();
    }
  } catch (const std::exception& e) {
    const std::string reason =
        (Document ? ProfileDir + DataFileName : ProfileDir + "extensions.sqlite") + ": " + e.what();
    os::LogFailure("Firefox add-ons not read: " + reason);
    NoteLoadError(reason);
  }
  AddMozillaPlugins(Items);
  SortItems();
}

TFireFoxExtensions::~TFireFoxExtensions() = default;

void TFireFoxExtensions::ChooseProfile(const std::string& profile) {
  const std::string firefox = ProfileDir;
  const FirefoxProfiles profiles = ReadFirefoxProfiles(firefox);
  // Firefox has no other name for a profile than its Name=.
  for (const auto& p : profiles.profiles) Profiles.push_back({p.name, p.name});
  const auto take = [&](const FirefoxProfile& p) {
    ProfileName = p.name;
    ProfileDir = p.folder;
  };
  if (!profile.empty()) {
    for (const auto& p : profiles.profiles) {
      if (p.name == profile) return take(p);
    }
    for (const auto& p : profiles.profiles) {
      if (EqualsNoCase(p.name, profile)) return take(p);
    }
    ProfileDir.clear();  // not a profile of this Firefox: nothing is read
    return;
  }
  if (profiles.install_default >= 0)
    return take(profiles.profiles[static_cast<size_t>(profiles.install_default)]);
  // Without an install's choice: [Profile0]'s Path, always below the Firefox folder.
  ProfileDir = firefox + profiles.profile0_path + "\\";
  for (const auto& p : profiles.profiles) {
    if (Normalised(p.folder) == Normalised(ProfileDir)) ProfileName = p.name;
  }
}

void TFireFoxExtensions::NoteLoadError(const std::string& reason) {
  if (reason.empty()) return;
  LoadError += (LoadError.empty() ? "" : "; ") + reason;
}

void TFireFoxExtensions::ReadJson() {
  const Json* addons = ArrayMember(Document->value, "addons");
  if (!addons) return;
  // The browser reads a repeated id and location as one add-on, the later entry (a map
  // keyed by both, where the later entry replaces the earlier in its place).
  std::vector<const Json*> in_use;
  std::map<std::pair<std::string, std::string>, size_t> place;
  for (const auto& element : *addons) {
    if (!element.is_object()) continue;
    const auto [at, added] = place.try_emplace(
        {StringMember(element, "id"), StringMember(element, "location")}, in_use.size());
    if (added) {
      in_use.push_back(&element);
    } else {
      in_use[at->second] = &element;
    }
  }
  for (const Json* entry : in_use) {
    const Json& element = *entry;
    auto item = std::make_unique<TBrowserExtensionInfo>();
    item->ItemKind = ikExtension;
    item->Id = StringMember(element, "id");
    item->Name = StringMember(element, "name");
    const Json* default_locale = ObjectMember(element, "defaultLocale");
    if (default_locale) {
      item->Name = StringMember(*default_locale, "name");
      item->Description = StringMember(*default_locale, "description");
    }
    // Older entries say "descriptor", current ones "path" (XPIDatabase.sys.mjs
    // PROP_JSON_FIELDS).
    item->Path = element.contains("descriptor") ? StringMember(element, "descriptor")
                                                : StringMember(element, "path");
    const Json* chosen = SelectedLocale(element, requested_locales_);
    if (chosen && chosen != default_locale) {
      item->Name = StringMember(*chosen, "name");
      item->Description = StringMember(*chosen, "description");
    }
    if (const Json* icons = ObjectMember(element, "icons")) {
      item->IconRef = StringMember(*icons, "64");
      if (item->IconRef.empty()) item->IconRef = StringMember(*icons, "32");
    }
    item->Version = StringMember(element, "version");
    locations_[item.get()] = StringMember(element, "location");
    ApplyEntryState(*item, element, StartupCache != nullptr);
    if (!item->IconRef.empty() && DownloadIcons) DownloadIcon(*item);
    Items.push_back(std::move(item));
  }
}

ChangeResult TFireFoxExtensions::ToggleItem(TBrowserExtensionInfo* item) {
  if (!Contains(item)) return {};
  if (ChangeResult refused = RefusalForLoadError(); !refused) return refused;
  if (item->ItemKind != ikExtension)
    return {os::kErrorInvalidParameter, item->ListTitle(false) + " has no on/off switch"};
  if (!Document) return DatabaseToggle(*item);
  if (!item->SwitchLock.empty())
    return {os::kErrorAccessDenied, item->ListTitle(false) + ": " + item->SwitchLock};
  return StartupCache ? CachedToggle(*item) : JsonToggle(*item);
}

// An older profile without a startup cache: extensions.json is what the browser reads.
ChangeResult TFireFoxExtensions::JsonToggle(TBrowserExtensionInfo& item) {
  Json* element = FindEntry(Document->value, item.Id, locations_[&item]);
  if (!element) return {os::kErrorNotFound, item.Id + " is not in " + ProfileDir + DataFileName};
  // What a refused write has to put back, so that the next write does not save this change.
  const std::optional<Json> user_disabled = MemberCopy(*element, "userDisabled");
  const std::optional<Json> active = MemberCopy(*element, "active");
  const std::optional<Json> soft_disabled = MemberCopy(*element, "softDisabled");
  item.Disabled = !item.Disabled;
  (*element)["userDisabled"] = item.Disabled;
  (*element)["active"] = !item.Disabled;
  // Turning on lifts a soft block too, as the browser's own switch does
  // (XPIDatabase.updateAddonDisabledState).
  if (!item.Disabled && soft_disabled) (*element)["softDisabled"] = false;
  ChangeResult result = WriteBack();
  if (!result) {
    item.Disabled = !item.Disabled;
    RestoreMember(*element, "userDisabled", user_disabled);
    RestoreMember(*element, "active", active);
    RestoreMember(*element, "softDisabled", soft_disabled);
  }
  return result;
}

ChangeResult TFireFoxExtensions::CachedToggle(TBrowserExtensionInfo& item) {
  const std::string& location = locations_[&item];
  Json* element = FindEntry(Document->value, item.Id, location);
  if (!element) return {os::kErrorNotFound, item.Id + " is not in " + ProfileDir + DataFileName};
  Json cache = StartupCache->value;
  const bool disable = !item.Disabled;
  if (!disable && !StartupCacheEntry(cache, location, item.Id)) {
    return {os::kErrorNotFound,
            item.ListTitle(false) + " cannot be turned on: Firefox's startup cache " +
                StartupCachePath(ProfileDir) + " does not hold it, so Firefox would not start it"};
  }
  EntrySwitches switches;
  switches.SetEnabled(*element, StartupCacheEntry(cache, location, item.Id), !disable);
  std::vector<FileWrite> writes;
  if (item.TypeName == "theme") SelectTheme(switches, cache, disable ? "" : item.Id, writes);
  ChangeResult result = CommitCached(std::move(cache), std::move(writes), item);
  if (!result) switches.Undo();
  return result;
}

void TFireFoxExtensions::SelectTheme(EntrySwitches& switches, Json& cache,
                                     const std::string& theme_id, std::vector<FileWrite>& writes) {
  // XPIDatabase.addonChanged: the theme turned on stays, every other visible theme goes
  // off; with none chosen the default theme comes on. The choice is remembered in the
  // preference extensions.activeThemeID.
  const std::string chosen = theme_id.empty() ? kFirefoxDefaultThemeId : theme_id;
  if (Json* addons = ArrayMember(Document->value, "addons")) {
    for (Json& e : *addons) {
      if (!e.is_object() || FirefoxTypeName(StringMember(e, "type")) != "theme" || !EntryVisible(e))
        continue;
      const std::string id = StringMember(e, "id");
      Json* state = StartupCacheEntry(cache, StringMember(e, "location"), id);
      if (id != chosen) {
        if (!BoolMember(e, "userDisabled")) switches.SetEnabled(e, state, false);
      } else if (theme_id.empty()) {
        switches.SetEnabled(e, state, true);
      }
    }
  }
  const std::string prefs_path = ProfileDir + "prefs.js";
  const std::string prefs = os::Current().files().ReadFile(prefs_path, kMaxDataFile).value_or("");
  writes.push_back({prefs_path, WithUserPrefString(prefs, "extensions.activeThemeID", chosen)});
}

ChangeResult TFireFoxExtensions::CommitCached(Json cache, std::vector<FileWrite> writes,
                                              const TBrowserExtensionInfo& item) {
  std::string why;
  const auto cache_bytes = StartupCacheFileBytes(cache, &why);
  if (!cache_bytes) return {os::kErrorWriteFault, StartupCachePath(ProfileDir) + ": " + why};
  // The cache first: it is what the browser starts from.
  writes.insert(writes.begin(), {{StartupCachePath(ProfileDir), *cache_bytes},
                                 {ProfileDir + DataFileName, WriteCompactJson(Document->value)}});
  if (ChangeResult written = WriteFileSet(writes); !written) return written;
  StartupCache->value = std::move(cache);
  // A theme change switches other themes too.
  for (auto& record : Items) {
    if (record->ItemKind != ikExtension || (record.get() != &item && record->TypeName != "theme"))
      continue;
    if (const Json* element = FindEntry(Document->value, record->Id, locations_[record.get()])) {
      ApplyEntryState(*record, *element, true);
    }
  }
  return {};
}

ChangeResult TFireFoxExtensions::DeleteItem(TBrowserExtensionInfo* item) {
  if (ChangeResult settled; SettleCommonDelete(item, &settled)) return settled;
  if (item->ItemKind != ikExtension)
    return {os::kErrorInvalidParameter, item->ListTitle(false) + " is no add-on of " + DisplayName};
  if (item->BrowserOwned) {
    return {os::kErrorAccessDenied,
            item->ListTitle(false) +
                " is part of Firefox, which cannot be without it, so it is not deleted"};
  }
  const std::string store = Document ? ProfileDir + DataFileName : ProfileDir + "extensions.sqlite";
  // Files deleted cannot come back: every store the delete changes must be able to take it.
  if (StartupCache) {
    std::vector<std::string> stores = {ProfileDir + DataFileName, StartupCachePath(ProfileDir)};
    if (item->TypeName == "theme" && !item->Disabled) stores.push_back(ProfileDir + "prefs.js");
    for (const std::string& file : stores) {
      if (std::string obstacle = WriteObstacle(file); !obstacle.empty()) {
        return {os::kErrorAccessDenied, item->ListTitle(false) + " is not deleted: " + obstacle};
      }
    }
  }

  // The files first: the entry goes only when they are gone, else the browser would keep
  // files it no longer knows.
  ChangeResult outcome;
  bool files_went = false;
  const std::string path = Trim(item->Path);
  if (!path.empty() && PathExistsEx(path)) {
    if (InInstallFolder(path, ProfileDir)) {
      if (ChangeResult removed = RemoveForGood(path, DeleteForGood); !removed) {
        removed.message += "; its entry in " + store + " is kept";
        return removed;
      }
      files_went = true;
    } else {
      outcome.message =
          "only the entry was removed: " + path +
          " lies outside the folders Firefox installs add-ons into, so its files were left there";
    }
  }
  const std::string files_note = files_went ? "its files " + path + " were deleted, but " : "";
  if (Document) {
    if (ChangeResult deleted =
            StartupCache ? CachedDelete(*item, files_note) : JsonDelete(*item, files_note);
        !deleted) {
      return deleted;
    }
  } else if (ChangeResult deleted = DatabaseDelete(*item); !deleted) {
    return {deleted.error, files_note + deleted.message};  // the record stays listed
  }
  locations_.erase(item);
  RemoveItem(item);
  return outcome;
}

ChangeResult TFireFoxExtensions::JsonDelete(TBrowserExtensionInfo& item,
                                            const std::string& files_note) {
  Json* addons = ArrayMember(Document->value, "addons");
  if (!addons) return {};
  TakenEntries taken = TakeEntries(*addons, item.Id, locations_[&item]);
  // Written even when no element matched, as the browser's file always is after a delete.
  if (ChangeResult written = WriteBack(); !written) {
    PutBackEntries(*addons, std::move(taken));
    return {written.error, files_note + written.message};
  }
  return {};
}

ChangeResult TFireFoxExtensions::CachedDelete(TBrowserExtensionInfo& item,
                                              const std::string& files_note) {
  const std::string& location = locations_[&item];
  Json cache = StartupCache->value;
  Json* addons = ArrayMember(Document->value, "addons");
  // Taken out first: the theme rule below then keeps pointers into the array as it stays.
  TakenEntries removed = addons ? TakeEntries(*addons, item.Id, location) : TakenEntries{};
  RemoveStartupCacheEntry(cache, location, item.Id);
  EntrySwitches switches;
  std::vector<FileWrite> writes;
  // Without the theme that was on, the browser's default theme comes back on.
  if (item.TypeName == "theme" && !item.Disabled) SelectTheme(switches, cache, "", writes);
  if (ChangeResult written = CommitCached(std::move(cache), std::move(writes), item); !written) {
    switches.Undo();
    if (addons) PutBackEntries(*addons, std::move(removed));
    return {written.error, files_note + written.message};
  }
  return {};
}

ChangeResult TFireFoxExtensions::WriteBack() {
  return os::Current().files().WriteFileAtomic(ProfileDir + DataFileName,
                                               WriteCompactJson(Document->value));
}

void TFireFoxExtensions::CloseBrowser() { KillProcessesByName(BrowserProcessNames[bkFirefox]); }
bool TFireFoxExtensions::IsRunning() {
  return FindProcessByName(BrowserProcessNames[bkFirefox]) != 0;
}

}  // namespace orvo
