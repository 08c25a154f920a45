#include "catalogue/firefox_extensions.h"

#include "catalogue/data_file.h"
#include "catalogue/file_removal.h"
#include "catalogue/icon_download.h"
#include "catalogue/json_document.h"
#include "catalogue/json_writer.h"
#include "catalogue/plugin_records.h"
#include "catalogue/process_helpers.h"
#include "catalogue/shell_helpers.h"
#include "catalogue/sqlite_database.h"
#include "catalogue/sqlite_table.h"
#include "platform/ini_file.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {

bool TFireFoxExtensions::DownloadIcons = true;

namespace {

constexpr size_t kMaxDataFile = size_t(64) << 20;
// A running Firefox holds its database locked; we wait this long, never without bound.
constexpr int kBusyTimeoutMs = 1500;

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
// profile (toolkit/mozapps/extensions/internal/XPIProvider.jsm): DIR_EXTENSIONS
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

const Json* FindAddon(const Json& addons, const std::string& id) {
  for (const auto& element : addons) {
    if (element.is_object() && StringMember(element, "id") == id) return &element;
  }
  return nullptr;
}

// The column a name stands for, matched without case; -1 when the row has none.
int ColumnOf(const TSQLiteTable& table, std::string_view name) {
  const std::string wanted = ToUpperAscii(name);
  const auto& names = table.ColumnNames();
  for (size_t i = 0; i < names.size(); ++i) {
    if (ToUpperAscii(names[i]) == wanted) return static_cast<int>(i);
  }
  return -1;
}

bool HasColumn(TSQLiteDatabase& db, std::string_view table, std::string_view column) {
  auto info = db.OpenQuery("pragma table_info(" + std::string(table) + ")");
  const int name = ColumnOf(*info, "name");
  for (; name >= 0 && !info->AtEnd(); info->MoveNext()) {
    if (EqualsNoCase(info->CellText(name), column)) return true;
  }
  return false;
}

}  // namespace

TFireFoxExtensions::TFireFoxExtensions() {
  BrowserKind = bkFirefox;
  DisplayName = BrowserDisplayNames[bkFirefox];
  DataFileName = "extensions.json";
  ProfileDir = GetSpecialFolder(os::kCsidlAppData) + "\\Mozilla\\Firefox\\";
  if (!FolderExists(ProfileDir)) return;
  std::string path;
  if (auto text = os::Current().files().ReadFile(ProfileDir + "profiles.ini", size_t(1) << 20)) {
    path = IniFile::Parse(*text).GetOr("Profile0", "Path", "");
  }
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  // The path is taken below the Firefox folder; one that climbs out of it names no profile.
  if (HasParentStep(path)) path.clear();
  ProfileDir += path + "\\";

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
      ReadJson();
    } else if (FileExists(ProfileDir + "extensions.sqlite")) {
      NoteLoadError(addons_error);
      ReadDatabase();
    }
  } catch (const std::exception& e) {
    NoteLoadError((Document ? ProfileDir + DataFileName : ProfileDir + "extensions.sqlite") + ": " + e.what());
  }
  AddMozillaPlugins(Items);
  SortItems();
}

void TFireFoxExtensions::NoteLoadError(const std::string& reason) {
  if (reason.empty()) return;
  LoadError += (LoadError.empty() ? "" : "; ") + reason;
}

TFireFoxExtensions::~TFireFoxExtensions() = default;

void TFireFoxExtensions::ReadJson() {
  const Json* addons = ArrayMember(Document->value, "addons");
  if (!addons) return;
  for (const auto& element : *addons) {
    if (!element.is_object()) continue;
    auto item = std::make_unique<TBrowserExtensionInfo>();
    item->ItemKind = ikExtension;
    item->Id = StringMember(element, "id");
    item->Name = StringMember(element, "name");
    item->Disabled = BoolMember(element, "userDisabled") || BoolMember(element, "appDisabled");
    if (const Json* locale = ObjectMember(element, "defaultLocale")) {
      item->Name = StringMember(*locale, "name");
      item->Description = StringMember(*locale, "description");
    }
    item->Path = StringMember(element, "descriptor");
    if (const Json* locales = ArrayMember(element, "locales"); locales && !locales->empty()) {
      item->Name = StringMember((*locales)[0], "name");
      item->Description = StringMember((*locales)[0], "description");
    }
    if (const Json* icons = ObjectMember(element, "icons")) {
      item->IconRef = StringMember(*icons, "64");
      if (item->IconRef.empty()) item->IconRef = StringMember(*icons, "32");
    }
    item->Version = StringMember(element, "version");
    if (!item->IconRef.empty() && DownloadIcons) DownloadIcon(*item);
    Items.push_back(std::move(item));
  }
}

std::string TFireFoxExtensions::DatabasePath() const {
  return os::Current().files().NativePath(ProfileDir + "extensions.sqlite");
}

void TFireFoxExtensions::ReadDatabase() {
  TSQLiteDatabase db(DatabasePath(), TSQLiteDatabase::OpenMode::kExistingOnly);
  db.SetBusyTimeout(kBusyTimeoutMs);
  // In the browser's own schema an add-on's default locale row is locale.id =
  // addon.defaultLocale; older databases without that column join on internal_id.
  const bool by_default_locale = HasColumn(db, "addon", "defaultLocale");
  auto rows = db.OpenQuery(by_default_locale
                               ? "select addon.*, locale.* from addon left join locale on addon.defaultLocale=locale.id"
                               : "select addon.*, locale.* from addon left join locale on addon.internal_id=locale.id");
  // The flags by name; the fixed positions only for a database without those names.
  int active = ColumnOf(*rows, "active");
  int user_disabled = ColumnOf(*rows, "userDisabled");
  if (active < 0 || user_disabled < 0) {
    active = 15;
    user_disabled = 16;
  }
  const Json* names = AddonsDocument ? ArrayMember(AddonsDocument->value, "addons") : nullptr;
  const int name = ColumnOf(*rows, "name");
  const int description = ColumnOf(*rows, "description");
  const int icon = ColumnOf(*rows, "iconURL");
  const int descriptor = ColumnOf(*rows, "descriptor");
  for (; !rows->AtEnd(); rows->MoveNext()) {
    auto item = std::make_unique<TBrowserExtensionInfo>();
    item->ItemKind = ikExtension;
    item->Id = rows->CellText(1);
    if (const Json* known = names ? FindAddon(*names, item->Id) : nullptr) {
      item->Name = StringMember(*known, "name");
      item->Description = StringMember(*known, "description");
    } else {
      if (name >= 0) item->Name = rows->CellText(name);
      if (description >= 0) item->Description = rows->CellText(description);
    }
    item->Disabled = rows->CellInteger(user_disabled) == 1 || rows->CellInteger(active) == 0;
    if (icon >= 0) item->IconRef = rows->CellText(icon);
    if (descriptor >= 0) item->Path = rows->CellText(descriptor);
    if (!item->IconRef.empty() && DownloadIcons) DownloadIcon(*item);
    Items.push_back(std::move(item));
  }
}

ChangeResult TFireFoxExtensions::ToggleItem(TBrowserExtensionInfo* item) {
  if (!Contains(item)) return {};
  if (ChangeResult refused = RefusalForLoadError(); !refused) return refused;
  if (item->ItemKind != ikExtension) return {os::kErrorInvalidParameter, item->ListTitle(false) + " has no on/off switch"};
  if (!Document) return DatabaseToggle(*item);
  Json* element = nullptr;
  if (Json* addons = ArrayMember(Document->value, "addons")) {
    for (auto& e : *addons) {
      if (e.is_object() && StringMember(e, "id") == item->Id) {
        element = &e;
        break;
      }
    }
  }
  if (!element) return {os::kErrorNotFound, item->Id + " is not in " + ProfileDir + DataFileName};
  // What a refused write has to put back, so that the next write does not save this change.
  const std::optional<Json> user_disabled = MemberCopy(*element, "userDisabled");
  const std::optional<Json> active = MemberCopy(*element, "active");
  item->Disabled = !item->Disabled;
  (*element)["userDisabled"] = item->Disabled;
  (*element)["active"] = !item->Disabled;
  ChangeResult result = WriteBack();
  if (!result) {
    item->Disabled = !item->Disabled;
    RestoreMember(*element, "userDisabled", user_disabled);
    RestoreMember(*element, "active", active);
  }
  return result;
}

ChangeResult TFireFoxExtensions::DatabaseToggle(TBrowserExtensionInfo& item) {
  const bool disable = !item.Disabled;
  try {
    TSQLiteDatabase db(DatabasePath(), TSQLiteDatabase::OpenMode::kExistingOnly);
    db.SetBusyTimeout(kBusyTimeoutMs);
    const int64_t changed = db.RunStatement("update addon set ACTIVE=?, USERDISABLED=? where id=?",
                                            {int64_t(disable ? 0 : 1), int64_t(disable ? 1 : 0), item.Id});
    if (changed == 0) return {os::kErrorNotFound, item.Id + " has no row in " + ProfileDir + "extensions.sqlite"};
  } catch (const std::exception& e) {
    // The switch shows what is stored: a refused update leaves the record as it was.
    return {os::kErrorWriteFault, ProfileDir + "extensions.sqlite: " + std::string(e.what())};
  }
  item.Disabled = disable;
  return {};
}

ChangeResult TFireFoxExtensions::DeleteItem(TBrowserExtensionInfo* item) {
  if (!Contains(item)) return {};
  if (ChangeResult refused = RefusalForLoadError(); !refused) return refused;
  if (item->ItemKind == ikPlugin) {
    if (ChangeResult removed = DeletePluginKey(*item); !removed) return removed;
    RemoveItem(item);
    return {};
  }
  if (item->ItemKind != ikExtension) return {os::kErrorInvalidParameter, item->ListTitle(false) + " is no add-on of " + DisplayName};
  const std::string store = Document ? ProfileDir + DataFileName : ProfileDir + "extensions.sqlite";

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
      outcome.message = "only the entry was removed: " + path +
                        " lies outside the folders Firefox installs add-ons into, so its files were left there";
    }
  }
  const std::string files_note = files_went ? "its files " + path + " were deleted, but " : "";
  if (Document) {
    if (Json* addons = ArrayMember(Document->value, "addons")) {
      for (size_t i = 0; i < addons->size(); ++i) {
        if ((*addons)[i].is_object() && StringMember((*addons)[i], "id") == item->Id) {
          Json entry = std::move((*addons)[i]);
          addons->erase(i);
          if (ChangeResult written = WriteBack(); !written) {
            addons->insert(addons->begin() + static_cast<std::ptrdiff_t>(i), std::move(entry));
            return {written.error, files_note + written.message};
          }
          break;
        }
      }
    }
  } else if (ChangeResult deleted = DatabaseDelete(*item); !deleted) {
    return {deleted.error, files_note + deleted.message};  // the record stays listed
  }
  RemoveItem(item);
  return outcome;
}

ChangeResult TFireFoxExtensions::DatabaseDelete(const TBrowserExtensionInfo& item) {
  try {
    TSQLiteDatabase db(DatabasePath(), TSQLiteDatabase::OpenMode::kExistingOnly);
    db.SetBusyTimeout(kBusyTimeoutMs);
    const bool by_default_locale = HasColumn(db, "addon", "defaultLocale");
    auto row = db.OpenQuery(by_default_locale ? "select internal_id, defaultLocale from addon where id=?"
                                              : "select internal_id from addon where id=?",
                            {item.Id});
    const int64_t internal_id = row->CellInteger(0);  // "Table is at End of File" when none
    const int64_t locale = by_default_locale ? row->CellInteger(1) : internal_id;
    db.RunStatement("delete from addon where internal_id=?", {internal_id});
    db.RunStatement("delete from locale where id=?", {locale});
  } catch (const std::exception& e) {
    return {os::kErrorWriteFault, ProfileDir + "extensions.sqlite: " + std::string(e.what())};
  }
  return {};
}

ChangeResult TFireFoxExtensions::WriteBack() {
  return os::Current().files().WriteFileAtomic(ProfileDir + DataFileName, WriteCompactJson(Document->value));
}

void TFireFoxExtensions::CloseBrowser() { KillProcessesByName(BrowserProcessNames[bkFirefox]); }
bool TFireFoxExtensions::IsRunning() { return FindProcessByName(BrowserProcessNames[bkFirefox]) != 0; }

}  // namespace orvo
