// The Firefox catalogue's older store: extensions.sqlite, which Firefox used until it moved
// to extensions.json (its last schema, 14, is the one the demo image's old profile holds).
// Names come from addons.json where it knows the add-on, else from the add-on's own locale
// row.
#include "catalogue/firefox_addon_facts.h"
#include "catalogue/firefox_extensions.h"
#include "catalogue/icon_download.h"
#include "catalogue/json_document.h"
#include "catalogue/sqlite_database.h"
#include "catalogue/sqlite_table.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo {
namespace {

// A running Firefox holds its database locked; we wait this long, never without bound.
constexpr int kBusyTimeoutMs = 1500;

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

std::string TFireFoxExtensions::DatabasePath() const {
  return os::Current().files().NativePath(ProfileDir + "extensions.sqlite");
}

void TFireFoxExtensions::ReadDatabase() {
  TSQLiteDatabase db(DatabasePath(), TSQLiteDatabase::OpenMode::kExistingOnly);
  db.SetBusyTimeout(kBusyTimeoutMs);
  // In the browser's own schema an add-on's default locale row is locale.id =
  // addon.defaultLocale; older databases without that column join on internal_id.
  const bool by_default_locale = HasColumn(db, "addon", "defaultLocale");
  auto rows = db.OpenQuery(
      by_default_locale
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
  const int version = ColumnOf(*rows, "version");
  const int type = ColumnOf(*rows, "type");
  const int location = ColumnOf(*rows, "location");
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
    if (version >= 0) item->Version = rows->CellText(version);
    if (type >= 0) item->TypeName = FirefoxTypeName(rows->CellText(type));
    if (location >= 0) item->BrowserOwned = IsBrowserOwnedLocation(rows->CellText(location));
    if (!item->IconRef.empty() && DownloadIcons) DownloadIcon(*item);
    Items.push_back(std::move(item));
  }
}

ChangeResult TFireFoxExtensions::DatabaseToggle(TBrowserExtensionInfo& item) {
  const bool disable = !item.Disabled;
  try {
    TSQLiteDatabase db(DatabasePath(), TSQLiteDatabase::OpenMode::kExistingOnly);
    db.SetBusyTimeout(kBusyTimeoutMs);
    const int64_t changed =
        db.RunStatement("update addon set ACTIVE=?, USERDISABLED=? where id=?",
                        {int64_t(disable ? 0 : 1), int64_t(disable ? 1 : 0), item.Id});
    if (changed == 0)
      return {os::kErrorNotFound, item.Id + " has no row in " + ProfileDir + "extensions.sqlite"};
  } catch (const std::exception& e) {
    // The switch shows what is stored: a refused update leaves the record as it was.
    return {os::kErrorWriteFault, ProfileDir + "extensions.sqlite: " + std::string(e.what())};
  }
  item.Disabled = disable;
  return {};
}

ChangeResult TFireFoxExtensions::DatabaseDelete(const TBrowserExtensionInfo& item) {
  try {
    TSQLiteDatabase db(DatabasePath(), TSQLiteDatabase::OpenMode::kExistingOnly);
    db.SetBusyTimeout(kBusyTimeoutMs);
    const bool by_default_locale = HasColumn(db, "addon", "defaultLocale");
    auto row =
        db.OpenQuery(by_default_locale ? "select internal_id, defaultLocale from addon where id=?"
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

}  // namespace orvo
