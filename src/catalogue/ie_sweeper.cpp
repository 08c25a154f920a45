// The four scans. "Native" is the path as written, read in the native view; the WOW twin
// is the same path with SOFTWARE\WOW6432NODE\ (for class registrations WOW6432NODE\CLSID\)
// and is only looked at on 64-bit Windows.
#include "catalogue/ie_sweeper.h"

#include "catalogue/extension_info.h"
#include "catalogue/registry_changes.h"
#include "catalogue/registry_helpers.h"
#include "catalogue/system_values.h"
#include "platform/platform.h"

namespace orvo {
namespace {

constexpr const char* kBhoKey =
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
constexpr const char* kToolbarKey = "Microsoft\\Internet Explorer\\Toolbar";
constexpr const char* kExtensionsKey = "Microsoft\\Internet Explorer\\Extensions";
constexpr const char* kMenuExtKey = "Microsoft\\Internet Explorer\\MenuExt";

std::string Location(const char* below_software, bool native) {
  return std::string(native ? "SOFTWARE\\" : "SOFTWARE\\WOW6432NODE\\") + below_software;
}

// The class registration to read a name or module from: the native CLSID key when it can
// be opened (or exists but refuses), else on 64-bit Windows the WOW6432NODE one.
std::string ClassKey(const std::string& clsid, const std::string& sub) {
  std::string native = "CLSID\\" + clsid + sub;
  if (RegKeyReadable(RegRoot::ClassesRoot, native, true)) return native;
  if (IsWin64()) {
    std::string wow = "WOW6432NODE\\CLSID\\" + clsid + sub;
    if (RegKeyReadable(RegRoot::ClassesRoot, wow, true)) return wow;
  }
  return {};
}

std::string ClassValue(const std::string& clsid, const std::string& sub) {
  const std::string key = ClassKey(clsid, sub);
  return key.empty() ? std::string() : RegReadString(RegRoot::ClassesRoot, key, "", true);
}

bool SwitchedOff(const std::string& clsid) {
  return RegReadInteger(RegRoot::CurrentUser, ExtSettingsKey(clsid), "Flags", false, 0) == 1;
}

}  // namespace

std::string ExtSettingsKey(const std::string& clsid) {
  return "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\" + clsid;
}

TIESweeper::TIESweeper() {
  for (void (TIESweeper::*scan)(bool) : {&TIESweeper::ScanBHOs, &TIESweeper::ScanToolbars,
                                         &TIESweeper::ScanExtensions, &TIESweeper::ScanMenuExts}) {
    (this->*scan)(true);
    if (IsWin64()) (this->*scan)(false);
  }
}

TPlugItem* TIESweeper::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

void TIESweeper::Add(std::unique_ptr<TPlugItem> item) {
  if (!item->Name.empty()) items_.push_back(std::move(item));
}

// Helper objects and toolbars name a class registration; name and module come from it.
void TIESweeper::AddClassEntries(uint8_t kind, bool native,
                                 const std::vector<std::string>& clsids) {
  for (const auto& clsid : clsids) {
    auto item = std::make_unique<TPlugItem>();
    item->Kind = kind;
    item->Native = native ? 1 : 0;
    item->Clsid = clsid;
    item->Name = ClassValue(clsid, "");
    item->Path = ClassValue(clsid, "\\InprocServer32");
    item->Disabled = SwitchedOff(clsid);
    Add(std::move(item));
  }
}

void TIESweeper::ScanBHOs(bool native) {
  std::vector<std::string> names;
  RegGetSubKeyNames(RegRoot::LocalMachine, Location(kBhoKey, native), names, true, true);
  AddClassEntries(pkBHO, native, names);
}

void TIESweeper::ScanToolbars(bool native) {
  std::vector<std::string> names;
  RegGetValueNames(RegRoot::LocalMachine, Location(kToolbarKey, native), names, true, true);
  AddClassEntries(pkToolbar, native, names);
}

void TIESweeper::ScanExtensions(bool native) {
  const std::string list = Location(kExtensionsKey, native);
  std::vector<std::string> names;
  RegGetSubKeyNames(RegRoot::LocalMachine, list, names, true, true);
  const std::string prefix = list + "\\";
  for (const auto& clsid : names) {
    const std::string key = prefix + clsid;
    auto item = std::make_unique<TPlugItem>();
    item->Kind = pkExtension;
    item->Native = native ? 1 : 0;
    item->Clsid = clsid;
    item->Name = RegReadString(RegRoot::LocalMachine, key, "ButtonText", true);
    if (item->Name.empty())
      item->Name = RegReadString(RegRoot::LocalMachine, key, "MenuText", true);
    item->Path = RegReadString(RegRoot::LocalMachine, key, "HotIcon", true);
    if (item->Path.empty()) item->Path = RegReadString(RegRoot::LocalMachine, key, "Icon", true);
    item->Disabled = SwitchedOff(clsid);
    Add(std::move(item));
  }
}

void TIESweeper::ScanMenuExts(bool native) {
  const std::string list = Location(kMenuExtKey, native);
  std::vector<std::string> names;
  RegGetSubKeyNames(RegRoot::CurrentUser, list, names, true, true);
  const std::string prefix = list + "\\";
  for (const auto& name : names) {
    auto item = std::make_unique<TPlugItem>();
    item->Kind = pkMenuExt;
    item->Native = native ? 1 : 0;
    item->Name = name;
    item->Path = RegReadString(RegRoot::CurrentUser, prefix + name, "", true);
    Add(std::move(item));
  }
}

bool TIESweeper::SetItemDisabled(const TPlugItem& item, bool currently_disabled) {
  // An entry without a class id has no switch; an empty id would name the whole
  // Ext\Settings key, the switches of every add-on.
  if (item.Clsid.empty()) return false;
  const std::string key = ExtSettingsKey(item.Clsid);
  if (currently_disabled) {
    RegDeleteKeyPath(RegRoot::CurrentUser, key);
    return !RegKeyReadable(RegRoot::CurrentUser, key, false);
  }
  std::unique_ptr<os::RegKey> handle;
  if (os::Current().registry().CreateKey(RegRoot::CurrentUser, key, RegAccess(false), &handle) !=
      os::kErrorSuccess) {
    return false;
  }
  const auto flags = os::RegDwordData(1);
  const auto version = os::RegStringData("*");
  return handle->SetValue("Flags", os::kRegDword, flags) == os::kErrorSuccess &&
         handle->SetValue("Version", os::kRegSz, version) == os::kErrorSuccess;
}

// A name is never empty here: an empty one would make the path name the whole list key.
os::WriteResult NoName() {
  return {os::kErrorInvalidParameter, "an entry without a name cannot be deleted"};
}

os::WriteResult TIESweeper::DeleteBHO(const std::string& clsid, bool native) {
  if (clsid.empty()) return NoName();
  return DeleteRegistryKey(RegRoot::LocalMachine, Location(kBhoKey, native) + "\\" + clsid);
}

os::WriteResult TIESweeper::DeleteToolbar(const std::string& clsid, bool native) {
  if (clsid.empty()) return NoName();
  return DeleteRegistryValue(RegRoot::LocalMachine, Location(kToolbarKey, native), clsid);
}

os::WriteResult TIESweeper::DeleteExtensionKey(const std::string& clsid, bool native) {
  if (clsid.empty()) return NoName();
  return DeleteRegistryKey(RegRoot::LocalMachine, Location(kExtensionsKey, native) + "\\" + clsid);
}

os::WriteResult TIESweeper::DeleteMenuExt(const std::string& key_name, bool native) {
  if (key_name.empty()) return NoName();
  return DeleteRegistryKey(RegRoot::CurrentUser, Location(kMenuExtKey, native) + "\\" + key_name);
}

}  // namespace orvo
