#include "catalogue/ie_extensions.h"

#include "catalogue/icon_helpers.h"
#include "catalogue/shell_helpers.h"

namespace orvo {

TIEExtensions::TIEExtensions() {
  BrowserKind = bkIE;
  DisplayName = BrowserDisplayNames[bkIE];
  AppDescription = "Internet Explorer";
  OpenCommand = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
  IsDefault = CurrentHttpProgId() == BrowserProgIds[bkIE];
  Sweeper = std::make_unique<TIESweeper>();
  for (int i = 0; i < Sweeper->Count(); ++i) {
    const TPlugItem& entry = *Sweeper->Item(i);
    auto item = std::make_unique<TBrowserExtensionInfo>();
    item->Id = entry.Clsid;
    item->Name = entry.Name;
    item->Description = entry.Name;
    item->Path = entry.Path;
    item->Disabled = entry.Disabled;
    // Paths stored as expandable strings stay unexpanded: such an icon is simply not found.
    item->Image = IconFileToPng(entry.Path, 0);
    item->ItemKind = entry.Kind;
    item->Is64 = entry.Native;
    Items.push_back(std::move(item));
  }
  SortItems();
}

void TIEExtensions::CloseBrowser() {}  // no window of the program asks IE to close
bool TIEExtensions::IsRunning() { return IsIERunning(); }

ChangeResult TIEExtensions::ToggleItem(TBrowserExtensionInfo* item) {
  // Menu extensions have no switch (and no class id to find an entry by).
  if (!Contains(item) || item->ItemKind == pkMenuExt || item->Id.empty()) return {};
  const TPlugItem* entry = nullptr;
  for (int i = 0; i < Sweeper->Count() && !entry; ++i) {
    if (Sweeper->Item(i)->Clsid == item->Id) entry = Sweeper->Item(i);
  }
  if (!entry) return {};
  // The record only shows the new state when the registry took it.
  if (!Sweeper->SetItemDisabled(*entry, item->Disabled)) {
    return {os::kErrorAccessDenied,
            "the registry refused the change of " + ExtSettingsKey(item->Id)};
  }
  item->Disabled = !item->Disabled;
  return {};
}

ChangeResult TIEExtensions::DeleteItem(TBrowserExtensionInfo* item) {
  if (!Contains(item)) return {};
  const bool native = item->Is64 == 1;
  ChangeResult result;
  switch (item->ItemKind) {
    case pkBHO: result = Sweeper->DeleteBHO(item->Id, native); break;
    case pkToolbar: result = Sweeper->DeleteToolbar(item->Id, native); break;
    case pkExtension: result = Sweeper->DeleteExtensionKey(item->Id, native); break;
    case pkMenuExt: result = Sweeper->DeleteMenuExt(item->Name, native); break;
    default:
      return {os::kErrorInvalidParameter,
              item->ListTitle(false) + " is no add-on of " + DisplayName};
  }
  // A refused delete (no rights under HKEY_LOCAL_MACHINE, a key that denies access) leaves
  // the add-on in place, so it stays listed.
  if (result) RemoveItem(item);
  return result;
}

}  // namespace orvo
