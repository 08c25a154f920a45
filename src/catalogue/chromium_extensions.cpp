#include "catalogue/chromium_extensions.h"

#include <unordered_set>

#include "catalogue/chromium_profiles.h"
#include "catalogue/chromium_settings.h"
#include "catalogue/data_file.h"
#include "catalogue/extension_messages.h"
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

// Why an entry without a location is off.
constexpr const char* kNotLoaded =
    "the browser does not load it: its entry names no install location";

// A heavy profile's Preferences is a few megabytes; anything near this is not one.
constexpr size_t kMaxPreferences = size_t(64) << 20;

// A name that could lead out of the folder it is listed in (possible on a host whose
// file names may hold backslashes) is never made a record, so never deleted.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("\\/:") == std::string_view::npos;
}

// "C:\..." or "\\server\...": the only paths an unpacked extension's entry is taken with.
bool IsAbsoluteWindowsPath(std::string_view path) {
  const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') &&
                     path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  return (drive || path.substr(0, 2) == "\\\\") && !HasParentStep(path);
}

// The program of an open command: its first word, or its quoted first part.
std::string ProgramOf(std::string_view command) {
  command = TrimView(command);
  if (command.empty()) return {};
  if (command[0] == '"') {
    const size_t end = command.find('"', 1);
    return std::string(
        command.substr(1, end == std::string_view::npos ? std::string_view::npos : end - 1));
  }
  return std::string(command.substr(0, command.find(' ')));
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
      const int d = HexDigitValue(s[at + 2 + k]);
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
    : process_name_(c.process_name), page_scheme_(c.page_scheme), policy_(c.policy_key) {
  BrowserKind = c.kind;
  DisplayName = BrowserDisplayNames[c.kind];
  DataFileName = "Preferences";
  UserDataDir = GetSpecialFolder(c.base_folder) + c.data_suffix;
  const ChromiumProfileSet set = ReadChromiumProfiles(UserDataDir, c.flat_allowed);
  Profiles = set.profiles;
  UiLocale = BrowserUiLocale(set.app_locale, os::Current().system().UserUiLanguage());
  const std::string wanted = profile.empty() ? set.shown : profile;
  ProfileDir = ChromiumProfileFolder(set, UserDataDir, wanted);
  if (!ProfileDir.empty()) {
    ProfileName = wanted;
  } else if (profile.empty()) {
    ProfileDir = UserDataDir + "Default\\";  // where the browser would make its first profile
  }
  if (!FolderExists(ProfileDir)) return;
  // A file that can't be read or parsed lists no extensions and keeps the reason: with
  // either file missing from the picture, what is listed would not be what the browser
  // runs. The plug-ins come from the registry and are listed all the same.
  Document = ReadDataFile(ProfileDir + DataFileName, kMaxPreferences, &LoadError);
  std::string secure_error;
  SecureDocument = ReadDataFile(ProfileDir + "Secure Preferences", kMaxPreferences, &secure_error);
  if (!secure_error.empty()) LoadError += (LoadError.empty() ? "" : "; ") + secure_error;
  if (LoadError.empty() && (Document || SecureDocument)) Scan();
  AddMozillaPlugins(Items);
  SortItems();
}

TChromiumExtensions::~TChromiumExtensions() = default;

void TChromiumExtensions::Scan() {
  ChromiumSettings settings(Document.get(), SecureDocument.get());
  std::unordered_set<std::string> listed;
  std::vector<os::FolderEntry> entries;
  os::Current().files().ListFolder(ExtensionsDir(), &entries);
  for (const auto& folder : entries) {
    if (!IsPlainName(folder.name)) continue;
    const std::optional<ChromiumEntry> entry = settings.Find(folder.name);
    if (!entry || MarkedUninstalled(*entry->value)) continue;
    AddRecord(folder.name, *entry, ExtensionsDir() + StringMember(*entry->value, "path"));
    listed.insert(folder.name);
  }
  // Extensions loaded from a folder of the user's own have none under Extensions: their
  // entry names the folder (extension_prefs.cc keeps unpacked paths absolute).
  for (const std::string& id : settings.Ids()) {
    if (listed.count(id) || !IsPlainName(id)) continue;
    const std::optional<ChromiumEntry> entry = settings.Find(id);
    const std::string path = StringMember(*entry->value, "path");
    if (!LoadedFromFolder(*entry->value) || !IsAbsoluteWindowsPath(path) || !FolderExists(path))
      continue;
    AddRecord(id, *entry, path);
  }
}

void TChromiumExtensions::AddRecord(const std::string& id, const ChromiumEntry& entry,
                                    const std::string& folder) {
  auto item = std::make_unique<TBrowserExtensionInfo>();
  item->ItemKind = ikExtension;
  item->Id = id;
  item->Path = folder;
  ReadSwitch(*item, entry);
  // The manifest the browser stored; an unpacked extension has none there, and is read
  // from its folder as the browser reads it.
  const bool safe_folder = !HasParentStep(folder);
  const Json* manifest = ObjectMember(*entry.value, "manifest");
  std::unique_ptr<JsonDocument> file;
  if (!manifest && safe_folder && (file = ReadExtensionJson(folder + "\\manifest.json")))
    manifest = &file->value;
  if (manifest) {
    std::optional<ExtensionMessages> messages;
    const auto text = [&](const char* key) {
      std::string t = StringMember(*manifest, key);
      if (HasMessagePlaceholder(t) && safe_folder) {
        if (!messages)
          messages =
              LoadExtensionMessages(folder, UiLocale, StringMember(*manifest, "default_locale"));
        t = LocaliseText(t, *messages);
      }
      return DecodeUnicodeEscapes(t);
    };
    item->Name = text("name");
    item->Description = text("description");
    item->Version = StringMember(*manifest, "version");
    if (const Json* icons = ObjectMember(*manifest, "icons")) {
      for (const char* size : {"48", "32", "16"}) {
        item->IconRef = StringMember(*icons, size);
        if (!item->IconRef.empty()) break;
      }
      // Pictures are only read from inside the extension's own folder.
      if (!item->IconRef.empty() && safe_folder && !HasParentStep(item->IconRef)) {
        item->Image = LoadPngFile(folder + "\\" + item->IconRef);
      }
    }
  }
  Items.push_back(std::move(item));
}

void TChromiumExtensions::ReadSwitch(TBrowserExtensionInfo& item,
                                     const ChromiumEntry& entry) const {
  item.EntryFile =
      entry.store == SettingsStore::kSecurePreferences ? "Secure Preferences" : "Preferences";
  item.Protected = entry.is_protected;
  // An entry without an install location is not loaded at all (GetInstalledInfoHelper).
  if (!EntryLocation(*entry.value)) {
    item.Disabled = true;
    item.DisabledReason = kNotLoaded;
    return;
  }
  // The browser's management policy never blocks what the policy itself installed.
  const ChromiumPolicy::Verdict verdict =
      PolicyInstalled(*entry.value) ? ChromiumPolicy::Verdict{} : policy_.Check(item.Id);
  item.Disabled = EntryOff(*entry.value) || verdict.blocked;
  std::string why;
  if (verdict.blocked) {
    why = verdict.source == ChromiumPolicy::Source::kMachine
              ? "blocked by the computer's policy"
              : "blocked by " + DisplayName + "'s policy for this user";
  }
  if (const std::string reasons = DescribeReasons(EntryReasons(*entry.value)); !reasons.empty()) {
    why += (why.empty() ? "" : "; ") + reasons;
  }
  item.DisabledReason = item.Disabled ? why : std::string();
}

std::string TChromiumExtensions::AddonPageAddress(const TBrowserExtensionInfo& item) const {
  return page_scheme_ + "extensions/?id=" + item.Id;
}

bool TChromiumExtensions::OpenAddonPage(const TBrowserExtensionInfo& item) {
  const std::string program = ProgramOf(OpenCommand);
  if (program.empty() || item.ItemKind != ikExtension) return false;
  std::string parameters;
  // The page opens in the profile this catalogue shows (the old single-folder layout has
  // only the one).
  if (ProfileDir != UserDataDir && !ProfileName.empty())
    parameters = "--profile-directory=\"" + ProfileName + "\" ";
  parameters += AddonPageAddress(item);
  return os::Current().shell().Execute("open", program, parameters);
}

std::string TChromiumExtensions::PolicyExplanation() const {
  return DisplayName +
         " guards the settings of this extension with a checksum and removes an extension whose "
         "settings another program changed. So this switch goes through " +
         DisplayName +
         "'s own policy for extensions instead: switching it off adds the extension to the "
         "ExtensionInstallBlocklist of your user account (" +
         policy_.UserListPath() + "). " + DisplayName +
         " then shows it as blocked by your administrator and keeps it off, in every profile of " +
         DisplayName +
         ", since the policy holds for all of them; switching it on here lifts that block again.";
}

ChangeResult TChromiumExtensions::WriteBack() {
  const std::string path = ProfileDir + DataFileName;
  // The checksummed file is the browser's alone: a write to it would cost the user the
  // extensions it guards. Only Preferences is ever written here.
  if (EqualsNoCase(DataFileName, "Secure Preferences"))
    return {os::kErrorAccessDenied, path + " is not ours to write"};
  return os::Current().files().WriteFileAtomic(path, WriteCompactJson(Document->value));
}

bool TChromiumExtensions::IsRunning() { return FindProcessByName(process_name_) != 0; }

void TChromiumExtensions::CloseBrowser() { KillProcessesByName(process_name_); }

}  // namespace orvo
