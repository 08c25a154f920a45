#include "catalogue/browser_app.h"

#include <algorithm>

#include "catalogue/icon_helpers.h"
#include "catalogue/json_document.h"
#include "catalogue/plugin_records.h"
#include "catalogue/registry_changes.h"
#include "catalogue/registry_helpers.h"
#include "platform/text.h"

namespace orvo {

const std::array<const char*, kBrowserKinds> BrowserDisplayNames = {
    "",      "Google Chrome", "Internet Explorer", "Mozilla Firefox", "Opera", "Microsoft Edge",
    "Brave", "Vivaldi"};
const std::array<const char*, kBrowserKinds> StartMenuKeys = {
    "",      "Google Chrome", "IEXPLORE.EXE", "FIREFOX.EXE", "OperaStable", "Microsoft Edge",
    "Brave", "Vivaldi"};
const std::array<const char*, kBrowserKinds> BrowserProgIds = {
    "",          "ChromeHTML", "IE.HTTP",   "FirefoxURL", "OperaStable",
    "MSEdgeHTM", "BraveHTML",  "VivaldiHTM"};
const std::array<const char*, kBrowserKinds> BrowserProcessNames = {
    "", "chrome.exe", "", "firefox.exe", "opera.exe", "msedge.exe", "brave.exe", "vivaldi.exe"};

namespace {
constexpr const char* kUserChoice =
    "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\%s\\UserChoice";

std::string UserChoiceKey(const char* scheme) {
  std::string key = kUserChoice;
  key.replace(key.find("%s"), 2, scheme);
  return key;
}
}  // namespace

int RatingBrowserId(uint8_t browser_kind) { return browser_kind == bkIE ? 0 : browser_kind; }

bool TBrowserAppBase::PolicyChangesAllowed = false;

TBrowserAppBase::TBrowserAppBase() = default;
TBrowserAppBase::~TBrowserAppBase() = default;

TBrowserExtensionInfo* TBrowserAppBase::GetItem(int index) const {
  if (index < 0 || index >= static_cast<int>(Items.size())) return nullptr;
  return Items[static_cast<size_t>(index)].get();
}

int TBrowserAppBase::GetCount() const { return static_cast<int>(Items.size()); }

int TBrowserAppBase::IndexOf(const TBrowserExtensionInfo* item) const {
  for (size_t i = 0; i < Items.size(); ++i) {
    if (Items[i].get() == item) return static_cast<int>(i);
  }
  return -1;
}

bool TBrowserAppBase::OpenAddonPage(const TBrowserExtensionInfo&) { return false; }

std::string TBrowserAppBase::ProfileCaption() const {
  if (Profiles.size() < 2) return {};
  for (const TBrowserProfile& p : Profiles) {
    if (p.Name == ProfileName) return p.Title.empty() ? p.Name : p.Title;
  }
  return ProfileName;
}

bool TBrowserAppBase::Contains(const TBrowserExtensionInfo* item) const {
  return item != nullptr && IndexOf(item) >= 0;
}

ChangeResult TBrowserAppBase::RefusalForLoadError() const {
  if (LoadError.empty()) return {};
  // A change written over data we could not read would lose whatever we did not see.
  return {os::kErrorFileCorrupt,
          DisplayName + " is left unchanged because its data could not be read: " + LoadError};
}

bool TBrowserAppBase::SettleCommonDelete(TBrowserExtensionInfo* item, ChangeResult* result) {
  *result = {};
  if (!Contains(item)) return true;
  if (ChangeResult refused = RefusalForLoadError(); !refused) {
    *result = std::move(refused);
    return true;
  }
  if (item->ItemKind != ikPlugin) return false;
  if (ChangeResult removed = DeletePluginKey(*item); !removed) {
    *result = std::move(removed);
    return true;
  }
  RemoveItem(item);
  return true;
}

void TBrowserAppBase::RemoveItem(TBrowserExtensionInfo* item) {
  const int i = IndexOf(item);
  if (i >= 0) Items.erase(Items.begin() + i);
}

void TBrowserAppBase::SortItems() {
  std::stable_sort(Items.begin(), Items.end(),
                   [](const auto& a, const auto& b) { return CompareItems(*a, *b) < 0; });
}

int CompareItems(const TBrowserExtensionInfo& a, const TBrowserExtensionInfo& b) {
  if (a.ItemKind != b.ItemKind) return int(b.ItemKind) - int(a.ItemKind);
  // Ordinal comparison of UTF-16 units, as the names are compared on Windows.
  const std::u16string x = Utf8ToUtf16(a.Name);
  const std::u16string y = Utf8ToUtf16(b.Name);
  return x < y ? -1 : (y < x ? 1 : 0);
}

std::string CurrentHttpProgId() {
  return RegReadString(RegRoot::CurrentUser, UserChoiceKey("http"), "Progid", true);
}

void TBrowserAppBase::ReadBrowserInfo() {
  const std::string k = StartMenuKeys[BrowserKind];
  const std::string native = "SOFTWARE\\Clients\\StartMenuInternet\\" + k;
  const std::string wow = "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet\\" + k;
  // Every value is read from the native registration, else from its WOW6432Node twin.
  const auto read = [&](const std::string& sub, const char* value) {
    std::string v = RegReadString(RegRoot::LocalMachine, native + sub, value, true);
    if (v.empty()) v = RegReadString(RegRoot::LocalMachine, wow + sub, value, true);
    return v;
  };
  OpenCommand = read("\\shell\\open\\command", "");
  ReinstallCommand = read("\\InstallInfo\\", "ReinstallCommand");
  const std::string default_icon = read("\\DefaultIcon", "");
  AppDescription = read("\\Capabilities", "ApplicationDescription");
  IsDefault = CurrentHttpProgId() == BrowserProgIds[BrowserKind];

  const size_t comma = default_icon.find(',');
  if (default_icon.empty() || comma == std::string::npos) return;
  const std::string index_text = Trim(default_icon.substr(comma + 1));
  if (index_text.empty() || index_text.size() > 9 ||
      !std::all_of(index_text.begin() + (index_text[0] == '-' ? 1 : 0), index_text.end(),
                   [](char c) { return c >= '0' && c <= '9'; }) ||
      index_text == "-") {
    return;  // a malformed index leaves the browser without an icon
  }
  Icon = AssociatedIconToPng(default_icon.substr(0, comma), std::stoi(index_text));
}

ChangeResult SetDefaultBrowser(TBrowserAppBase& app) {
  if (app.IsDefault) return {};
  const std::string refused = app.DisplayName + " was not made the default browser: ";
  // An empty open command written over the system's own would leave links opening nothing.
  if (app.OpenCommand.empty())
    return {os::kErrorFileNotFound, refused + "it has no registered open command"};
  struct Write {
    RegRoot root;
    std::string key;
    const char* value;
    std::string text;
  };
  const char* prog_id = BrowserProgIds[app.BrowserKind];
  std::vector<Write> writes;
  for (const char* scheme : {"ftp", "http", "https"}) {
    writes.push_back({RegRoot::CurrentUser, UserChoiceKey(scheme), "Progid", prog_id});
  }
  for (const char* key :
       {"https\\shell\\open\\command", "http\\shell\\open\\command", "ftp\\shell\\open\\command"}) {
    writes.push_back({RegRoot::ClassesRoot, key, "", app.OpenCommand});
  }

  // Every key is opened before anything is written: a key that is missing (keys are never
  // made here) or refuses leaves all of them as they were, not some schemes switched.
  std::vector<std::unique_ptr<os::RegKey>> keys;
  std::string problems;
  long first_error = os::kErrorSuccess;
  const auto note = [&](const Write& w, long error) {
    problems += (problems.empty() ? "" : "; ") + RegistryPath(w.root, w.key) + " " +
                RegistryErrorText(error);
    if (first_error == os::kErrorSuccess) first_error = error;
  };
  for (const Write& w : writes) {
    long error = os::kErrorSuccess;
    keys.push_back(OpenKeyForChange(w.root, w.key, &error));
    if (!keys.back()) note(w, error);
  }
  if (!problems.empty()) return {first_error, refused + problems};
  for (size_t i = 0; i < writes.size(); ++i) {
    const long error =
        keys[i]->SetValue(writes[i].value, os::kRegSz, os::RegStringData(writes[i].text));
    if (error != os::kErrorSuccess) note(writes[i], error);
  }
  // What the registry now says, not what was meant.
  app.IsDefault = CurrentHttpProgId() == prog_id;
  if (!problems.empty())
    return {first_error,
            app.DisplayName + " was made the default browser only in part: " + problems};
  return {};
}

std::string TBrowserExtensionInfo::ListTitle(bool is_win64) const {
  std::string title = Name.empty() ? Id : Name;
  if (is_win64 && Is64 == 1) title += " (64)";
  return title;
}

}  // namespace orvo
