#include "catalogue/chromium_extensions.h"

#include <optional>

#include "catalogue/chromium_profiles.h"
#include "catalogue/data_file.h"
#include "catalogue/file_removal.h"
#include "catalogue/icon_helpers.h"
#include "catalogue/json_document.h"
#include "catalogue/json_writer.h"
#include "catalogue/plugin_records.h"
#include "catalogue/process_helpers.h"
#include "catalogue/shell_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {
namespace {

// A heavy profile's Preferences is a few megabytes; anything near this is not one.
constexpr size_t kMaxPreferences = size_t(64) << 20;

// A name that could lead out of the folder it is listed in (possible on a host whose
// file names may hold backslashes) is never made a record, so never deleted.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("\\/:") == std::string_view::npos;
}

// Reads an integer member leniently (real files hold integers; a float or a boolean is
// taken for what it says). Nothing when the member is missing or not a number.
std::optional<int64_t> IntegerOf(const Json* value) {
  if (!value) return std::nullopt;
  if (value->is_number_integer()) return value->get<int64_t>();
  if (value->is_number_float()) return static_cast<int64_t>(value->get<double>());
  if (value->is_boolean()) return value->get<bool>() ? 1 : 0;
  return std::nullopt;
}

// Manifest::Location of Chromium's extension code: 1 (kInternal) is a user's own install;
// 0 is invalid; 2 and up are external, unpacked, component and policy installs.
constexpr int64_t kLocationInternal = 1;

// "state" 1 is on and 0 off. An entry without one is shown as the browser treats it, after
// extensions/browser/extension_prefs.cc: ExtensionPrefs::GetExtensionState reads a missing
// state as enabled ("Bad or missing pref 'state'"), while GetInstalledExtensionInfo loads
// no entry without a state from the profile ("Old preferences files may not have
// kPrefState for component extensions"). So a component or external extension (a location
// other than a user install) without a state runs, and a user install without one is
// never loaded: off. Without a readable location nothing says the browser runs it.
bool DisabledBySettings(const Json& entry) {
  if (const auto state = IntegerOf(Member(entry, "state"))) return *state == 0;
  if (Member(entry, "state")) return true;  // a state that is no number
  const auto location = IntegerOf(Member(entry, "location"));
  return !location || *location <= kLocationInternal;
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

std::string DecodeUnicodeEscapes(std::string_view text) {
  if (text.find("\\u") == std::string_view::npos) return std::string(text);
  // On UTF-16 units, so that two escapes of a surrogate pair make one character. After a
  // replacement the search starts over, as a decoded "\" may begin a new escape.
  std::u16string s = Utf8ToUtf16(text);
  size_t from = 0;
  while (true) {
    const size_t at = s.find(u"\\u", from);
    if (at == std::u16string::npos) break;
    int value = 0;
    bool valid = at + 6 <= s.size();
    for (size_t k = 0; valid && k < 4; ++k) {
      const int d = HexValue(s[at + 2 + k]);
      valid = d >= 0;
      value = value * 16 + d;
    }
    if (!valid) {
      from = at + 1;
      continue;
    }
    s.replace(at, 6, 1, static_cast<char16_t>(value));
    from = 0;
  }
  return Utf16ToUtf8(s);
}

TChromiumExtensions::TChromiumExtensions(const Constants& c, const std::string& profile)
    : process_name_(c.process_name) {
  BrowserKind = c.kind;
  DisplayName = BrowserDisplayNames[c.kind];
  DataFileName = "Preferences";
  UserDataDir = GetSpecialFolder(c.base_folder) + c.data_suffix;
  const ChromiumProfileSet set = ReadChromiumProfiles(UserDataDir, c.flat_allowed);
  Profiles = set.profiles;
  const std::string wanted = profile.empty() ? set.shown : profile;
  ProfileDir = ChromiumProfileFolder(set, UserDataDir, wanted);
  if (!ProfileDir.empty()) {
    ProfileName = wanted;
  } else if (profile.empty()) {
    ProfileDir = UserDataDir + "Default\\";  // where the browser would make its first profile
  }
  if (!FolderExists(ProfileDir)) return;
  // A Preferences file that can't be read or parsed lists no extensions and keeps the
  // reason; the plug-ins come from the registry and are listed all the same.
  Document = ReadDataFile(ProfileDir + DataFileName, kMaxPreferences, &LoadError);
  if (Document) Scan();
  AddMozillaPlugins(Items);
  SortItems();
}

void TChromiumExtensions::Scan() {
  const Json* extensions = ObjectMember(Document->value, "extensions");
  const Json* settings = extensions ? ObjectMember(*extensions, "settings") : nullptr;
  if (!settings) return;
  std::vector<os::FolderEntry> entries;
  os::Current().files().ListFolder(ExtensionsDir(), &entries);
  for (const auto& entry : entries) {
    if (!IsPlainName(entry.name)) continue;
    const Json* member = Member(*settings, entry.name);
    if (!member || !member->is_object()) continue;
    auto item = std::make_unique<TBrowserExtensionInfo>();
    item->ItemKind = ikExtension;
    item->Id = entry.name;
    item->Disabled = DisabledBySettings(*member);
    const std::string relative = StringMember(*member, "path");
    item->Path = ExtensionsDir() + relative;
    if (const Json* manifest = ObjectMember(*member, "manifest")) {
      item->Name = DecodeUnicodeEscapes(StringMember(*manifest, "name"));
      item->Description = DecodeUnicodeEscapes(StringMember(*manifest, "description"));
      item->Version = StringMember(*manifest, "version");
      if (const Json* icons = ObjectMember(*manifest, "icons")) {
        for (const char* size : {"48", "32", "16"}) {
          item->IconRef = StringMember(*icons, size);
          if (!item->IconRef.empty()) break;
        }
        // Pictures are only read from inside the profile's Extensions folder.
        if (!item->IconRef.empty() && !HasParentStep(relative) && !HasParentStep(item->IconRef)) {
          item->Image = LoadPngFile(item->Path + "\\" + item->IconRef);
        }
      }
    }
    Items.push_back(std::move(item));
  }
}

ChangeResult TChromiumExtensions::ToggleItem(TBrowserExtensionInfo* item) {
  if (!Contains(item)) return {};
  if (ChangeResult refused = RefusalForLoadError(); !refused) return refused;
  if (item->ItemKind != ikExtension || !Document) {
    return {os::kErrorInvalidParameter, item->ListTitle(false) + " has no on/off switch"};
  }
  Json* extensions = ObjectMember(Document->value, "extensions");
  Json* settings = extensions ? ObjectMember(*extensions, "settings") : nullptr;
  if (!settings || !ObjectMember(*settings, item->Id)) {
    return {os::kErrorNotFound, item->Id + " has no settings entry in " + ProfileDir + DataFileName};
  }
  // The list is made first: adding a member moves the others, so pointers into
  // "extensions" are taken only afterwards.
  const bool made_list = !Member(*extensions, "known_disabled");
  if (made_list) (*extensions)["known_disabled"] = Json::array();
  Json* known = Member(*extensions, "known_disabled");
  Json* entry = ObjectMember(*ObjectMember(*extensions, "settings"), item->Id);
  const bool list_ok = known->is_array();  // a damaged list is left alone

  // What a refused write has to put back, so that the next write does not save this change.
  const bool was_disabled = item->Disabled;
  const std::optional<Json> old_state = MemberCopy(*entry, "state");
  Json old_list = list_ok && !made_list ? *known : Json();

  if (item->Disabled) {
    item->Disabled = false;
    (*entry)["state"] = 1;
    if (list_ok) {
      for (size_t i = known->size(); i-- > 0;) {
        const Json& e = (*known)[i];
        if (e.is_string() && e.get_ref<const std::string&>() == item->Id) known->erase(i);
      }
    }
  } else {
    item->Disabled = true;
    (*entry)["state"] = 0;
    if (list_ok) known->push_back(item->Id);
  }
  ChangeResult result = WriteBack();
  if (!result) {
    item->Disabled = was_disabled;
    RestoreMember(*entry, "state", old_state);
    if (made_list) {
      extensions->erase("known_disabled");
    } else if (list_ok) {
      *known = std::move(old_list);
    }
  }
  return result;
}

ChangeResult TChromiumExtensions::DeleteItem(TBrowserExtensionInfo* item) {
  if (!Contains(item)) return {};
  if (ChangeResult refused = RefusalForLoadError(); !refused) return refused;
  if (item->ItemKind == ikPlugin) {
    if (ChangeResult removed = DeletePluginKey(*item); !removed) return removed;
    RemoveItem(item);
    return {};
  }
  if (item->ItemKind != ikExtension || !Document) {
    return {os::kErrorInvalidParameter, item->ListTitle(false) + " is no add-on of " + DisplayName};
  }
  // The entry goes only with the whole folder: an entry without its files would be a
  // broken extension, a folder without its entry is what the browser cleans up itself.
  const std::string folder = ExtensionsDir() + item->Id;
  if (ChangeResult removed = RemoveForGood(folder, ShellDeleteFolder); !removed) {
    removed.message += "; its entry in " + DataFileName + " is kept";
    return removed;
  }
  Json* extensions = ObjectMember(Document->value, "extensions");
  if (Json* settings = extensions ? ObjectMember(*extensions, "settings") : nullptr) {
    auto& members = settings->get_ref<Json::object_t&>();
    const auto it = members.find(item->Id);
    if (it != members.end()) {
      const size_t at = static_cast<size_t>(it - members.begin());
      Json entry = std::move(it->second);
      members.erase(it);
      if (ChangeResult written = WriteBack(); !written) {
        members.emplace_at(at, item->Id, std::move(entry));
        return {written.error, "the folder " + folder + " was deleted, but " + written.message};
      }
    }
  }
  RemoveItem(item);
  return {};
}

ChangeResult TChromiumExtensions::WriteBack() {
  return os::Current().files().WriteFileAtomic(ProfileDir + DataFileName,
                                               WriteCompactJson(Document->value));
}

bool TChromiumExtensions::IsRunning() { return FindProcessByName(process_name_) != 0; }

void TChromiumExtensions::CloseBrowser() { KillProcessesByName(process_name_); }

TChromeExtensions::TChromeExtensions(const std::string& profile)
    : TChromiumExtensions({bkChrome, os::kCsidlLocalAppData, "\\Google\\Chrome\\User Data\\", "chrome.exe", false},
                          profile) {}

// Opera kept Preferences in "Opera Stable" itself until it took up profiles; it now keeps
// them in "Opera Stable\Default" as Chrome does.
TOPeraExtensions::TOPeraExtensions(const std::string& profile)
    : TChromiumExtensions({bkOpera, os::kCsidlAppData, "\\Opera Software\\Opera Stable\\", "opera.exe", true},
                          profile) {}

}  // namespace orvo
