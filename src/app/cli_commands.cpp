#include "app/cli_commands.h"

#include <cstdio>
#include <iostream>

#include "catalogue/browser_list.h"
#include "catalogue/firefox_extensions.h"
#include "catalogue/json_document.h"
#include "catalogue/system_values.h"
#include "platform/console.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvo::cli {
namespace {

// The English texts of the program's messages "BIsRuning", "DeleteConf", "SetAsDefault".
constexpr const char* kRunningText = "The browser is running. Please close it to continue.";
constexpr const char* kDeleteQuestion = "Are you sure to delete this plug-in?";
constexpr const char* kSetAsDefault = "Successfully set as default browser.";

constexpr const char* kBrowserWords[5] = {"", "chrome", "ie", "firefox", "opera"};

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "orvopm: %s\n", message.c_str());
  return code;
}

TBrowserAppBase* FindBrowser(BrowserList& list, const std::string& word) {
  for (auto& app : list) {
    if (EqualsNoCase(word, kBrowserWords[app->BrowserKind])) return app.get();
  }
  return nullptr;
}

std::string KindWord(const TBrowserAppBase& app, const TBrowserExtensionInfo& item) {
  if (app.BrowserKind == bkIE) {
    static const char* kIe[] = {"bho", "toolbar", "button", "menu"};
    return item.ItemKind < 4 ? kIe[item.ItemKind] : "?";
  }
  return item.ItemKind == ikExtension ? "extension" : "plugin";
}

bool Switchable(const TBrowserAppBase& app, const TBrowserExtensionInfo& item) {
  return app.BrowserKind == bkIE ? item.ItemKind != pkMenuExt : item.ItemKind == ikExtension;
}

void AddRows(const TBrowserAppBase& app, std::vector<RecordRow>& rows) {
  for (int i = 0; i < app.GetCount(); ++i) {
    const TBrowserExtensionInfo& item = *app.GetItem(i);
    rows.push_back({kBrowserWords[app.BrowserKind], i, KindWord(app, item), item.Id,
                    item.ListTitle(IsWin64()), item.Version, !item.Disabled, item.Path});
  }
}

// ":N" picks by position; anything else is an id (the first record holding it).
TBrowserExtensionInfo* FindRecord(TBrowserAppBase& app, const std::string& key) {
  if (key.size() > 1 && key[0] == ':') {
    try {
      return app.GetItem(std::stoi(key.substr(1)));
    } catch (...) {
      return nullptr;
    }
  }
  int matches = 0;
  TBrowserExtensionInfo* first = nullptr;
  for (int i = 0; i < app.GetCount(); ++i) {
    if (app.GetItem(i)->Id == key) {
      if (!first) first = app.GetItem(i);
      ++matches;
    }
  }
  if (matches > 1) {
    std::fprintf(stderr, "orvopm: %d records share this id; using :%d (address others as :N)\n",
                 matches, app.IndexOf(first));
  }
  return first;
}

bool Confirm(bool yes) {
  if (yes) return true;
  if (!os::InputIsTerminal()) {
    std::fprintf(stderr, "orvopm: %s Not confirmed: no terminal to ask on (use --yes).\n", kDeleteQuestion);
    return false;
  }
  std::printf("%s [y/N] ", kDeleteQuestion);
  std::fflush(stdout);
  std::string answer;
  std::getline(std::cin, answer);
  answer = ToLowerAscii(Trim(answer));
  return answer == "y" || answer == "yes";
}

// Each browser whose data could not be read, on standard error; kDataUnreadable when
// there was one, else kOk.
int ReportLoadErrors(const std::vector<const TBrowserAppBase*>& apps) {
  int code = kOk;
  for (const TBrowserAppBase* app : apps) {
    if (app->LoadError.empty()) continue;
    std::fprintf(stderr, "orvopm: %s: %s\n", app->DisplayName.c_str(), app->LoadError.c_str());
    code = kDataUnreadable;
  }
  return code;
}

std::vector<const TBrowserAppBase*> All(const BrowserList& list) {
  std::vector<const TBrowserAppBase*> apps;
  for (const auto& app : list) apps.push_back(app.get());
  return apps;
}

int Browsers(BrowserList& list, Format format) {
  if (format == Format::kText) {
    for (const auto& app : list) {
      std::printf("%-18s %-14s %-12s %d add-ons%s\n", app->DisplayName.c_str(),
                  app->Icon ? "installed" : "not installed", app->IsDefault ? "default" : "",
                  app->GetCount(), app->LoadError.empty() ? "" : "  (data unreadable)");
    }
    std::fflush(stdout);
    return ReportLoadErrors(All(list));
  }
  if (format == Format::kCsv) std::puts("browser,name,installed,default,addons,error");
  std::string json = "[";
  for (size_t i = 0; i < list.size(); ++i) {
    const auto& app = *list[i];
    if (format == Format::kCsv) {
      std::printf("%s,%s,%s,%s,%d,%s\n", kBrowserWords[app.BrowserKind], CsvField(app.DisplayName).c_str(),
                  app.Icon ? "yes" : "no", app.IsDefault ? "yes" : "no", app.GetCount(),
                  CsvField(app.LoadError).c_str());
    } else {
      Json o = {{"browser", kBrowserWords[app.BrowserKind]}, {"name", app.DisplayName},
                {"installed", app.Icon != nullptr}, {"default", app.IsDefault}, {"addons", app.GetCount()}};
      o["error"] = app.LoadError.empty() ? Json() : Json(app.LoadError);
      json += (i ? ",\n " : "\n ") + o.dump();
    }
  }
  if (format == Format::kJson) std::printf("%s\n]\n", json.c_str());
  std::fflush(stdout);
  return ReportLoadErrors(All(list));
}

int Change(BrowserList& list, const std::string& verb, const Options& o) {
  if (o.args.size() != 3) return Fail(kUsage, verb + " needs BROWSER and ID");
  TBrowserAppBase* app = FindBrowser(list, o.args[1]);
  if (!app) return Fail(kUnknownBrowser, "unknown browser \"" + o.args[1] + "\" (chrome, ie, firefox, opera)");
  TBrowserExtensionInfo* item = FindRecord(*app, o.args[2]);
  if (!item) return Fail(kUnknownId, "no add-on \"" + o.args[2] + "\" in " + app->DisplayName);
  if (verb != "delete" && !Switchable(*app, *item)) {
    return Fail(kNotSwitchable, "\"" + item->ListTitle(IsWin64()) + "\" has no on/off switch");
  }
  if (!app->LoadError.empty()) {
    return Fail(kDataUnreadable, app->DisplayName + " is left unchanged because its data could not be read: " +
                                     app->LoadError);
  }
  if (app->IsRunning()) return Fail(kBrowserRunning, kRunningText);

  const std::string title = item->ListTitle(IsWin64());
  if (verb == "delete") {
    if (!Confirm(o.yes)) return kNotConfirmed;
    const ChangeResult r = app->DeleteItem(item);
    if (!r) return Fail(kWriteFailed, title + " was not deleted: " + r.message);
    std::printf("Deleted %s.\n", title.c_str());
    if (!r.message.empty()) std::printf("Note: %s.\n", r.message.c_str());
    return kOk;
  }
  const bool want_disabled = verb == "disable";
  if (item->Disabled == want_disabled) {
    std::printf("%s is already %s.\n", title.c_str(), want_disabled ? "off" : "on");
    return kOk;
  }
  const ChangeResult r = app->ToggleItem(item);
  if (!r) return Fail(kWriteFailed, title + " was not switched: " + r.message);
  std::printf("%s is now %s.\n", title.c_str(), item->Disabled ? "off" : "on");
  return kOk;
}

int SetDefault(BrowserList& list, const Options& o) {
  if (o.args.size() != 2) return Fail(kUsage, "set-default needs BROWSER");
  TBrowserAppBase* app = FindBrowser(list, o.args[1]);
  if (!app) return Fail(kUnknownBrowser, "unknown browser \"" + o.args[1] + "\" (chrome, ie, firefox, opera)");
  if (app->IsRunning()) return Fail(kBrowserRunning, kRunningText);
  const ChangeResult r = SetDefaultBrowser(*app);
  if (app->IsDefault) {
    for (auto& other : list) {
      if (other.get() != app) other->IsDefault = false;
    }
  }
  if (!r) return Fail(kWriteFailed, r.message);
  std::printf("%s\n", kSetAsDefault);
  return kOk;
}

int Dispatch(BrowserList& list, const Options& o) {
  const std::string& command = o.args[0];
  if (command == "system") return ShowSystem();
  if (command == "browsers") {
    return o.args.size() == 1 ? Browsers(list, o.format) : Fail(kUsage, "browsers takes no operand");
  }
  if (command == "set-default") return SetDefault(list, o);
  if (command != "list") return Change(list, command, o);
  if (o.args.size() > 2) return Fail(kUsage, "list takes at most one BROWSER");
  std::vector<const TBrowserAppBase*> apps;
  if (o.args.size() == 2) {
    TBrowserAppBase* app = FindBrowser(list, o.args[1]);
    if (!app) return Fail(kUnknownBrowser, "unknown browser \"" + o.args[1] + "\" (chrome, ie, firefox, opera)");
    apps.push_back(app);
  } else {
    apps = All(list);
  }
  std::vector<RecordRow> rows;
  std::vector<BrowserError> errors;
  for (const TBrowserAppBase* app : apps) {
    AddRows(*app, rows);
    if (!app->LoadError.empty()) errors.push_back({kBrowserWords[app->BrowserKind], app->LoadError});
  }
  PrintRecords(stdout, rows, errors, o.format);
  std::fflush(stdout);
  return ReportLoadErrors(apps);
}

}  // namespace

int Run(const Options& o) {
  if (o.args.empty()) return Fail(kUsage, "no command given (see --help)");
  static const char* kCommands[] = {"system", "browsers", "list", "disable", "enable", "delete", "set-default"};
  bool known = false;
  for (const char* c : kCommands) known = known || o.args[0] == c;
  if (!known) return Fail(kUsage, "unknown command \"" + o.args[0] + "\" (see --help)");

  std::string error;
  auto platform = os::OpenPlatform(o.image, &error);
  if (!platform) return Fail(kNoSystem, error);
  UseSystem(platform.get());
  os::UseUtf8Console();
  TFireFoxExtensions::DownloadIcons = false;  // no list here to show them in
  int code = kFailed;
  {
    BrowserList list;
    if (o.args[0] != "system") BuildBrowserList(list);
    code = Dispatch(list, o);
  }
  UseSystem(nullptr);
  return code;
}

}  // namespace orvo::cli
