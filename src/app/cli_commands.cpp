#include "app/cli_commands.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <utility>

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

constexpr const char* kBrowserWords[kBrowserKinds] = {"",      "chrome", "ie",    "firefox",
                                                      "opera", "edge",   "brave", "vivaldi"};
constexpr const char* kBrowserChoice = "chrome, ie, firefox, opera, edge, brave, vivaldi";

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "orvopm: %s\n", message.c_str());
  return code;
}

// A change that did not happen: the exit code for why, and what the user is told.
int ChangeFailed(const std::string& what, const ChangeResult& r) {
  if (r.error == kChangeNeedsPolicyConsent) {
    return Fail(kNeedsPolicy,
                what + ": " + r.message + "\nTo go ahead, run the command again with --policy.");
  }
  if (r.error == kChangeOnlyInBrowser) return Fail(kOnlyInBrowser, what + ": " + r.message);
  return Fail(kWriteFailed, what + ": " + r.message);
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
  if (item.ItemKind != ikExtension) return "plugin";
  return item.TypeName.empty() ? "extension" : item.TypeName;  // a Firefox theme is a theme
}

bool Switchable(const TBrowserAppBase& app, const TBrowserExtensionInfo& item) {
  return app.BrowserKind == bkIE ? item.ItemKind != pkMenuExt : item.ItemKind == ikExtension;
}

// The profile a listing names: only for a browser with several.
std::string ListedProfile(const TBrowserAppBase& app) {
  return app.Profiles.size() > 1 ? app.ProfileName : "";
}

void AddRows(const TBrowserAppBase& app, std::vector<RecordRow>& rows) {
  for (int i = 0; i < app.GetCount(); ++i) {
    const TBrowserExtensionInfo& item = *app.GetItem(i);
    rows.push_back({kBrowserWords[app.BrowserKind], ListedProfile(app), app.ProfileCaption(), i,
                    KindWord(app, item), item.Id, item.ListTitle(IsWin64()), item.Version,
                    !item.Disabled, item.Path, item.BrowserOwned, item.SwitchLock,
                    item.DisabledReason, item.EntryFile, item.Protected});
  }
}

// The profile `wanted` names: a folder name (letter case aside, as Windows compares
// them), else the name the browser shows; null when neither.
const TBrowserProfile* FindProfile(const std::vector<TBrowserProfile>& profiles,
                                   const std::string& wanted) {
  for (const auto& p : profiles) {
    if (EqualsNoCase(p.Name, wanted)) return &p;
  }
  for (const auto& p : profiles) {
    if (EqualsNoCase(p.Title, wanted)) return &p;
  }
  return nullptr;
}

// The catalogues a command works on: every browser on the profile it opens with; with
// --profile, each browser that has that profile, on it; with --all-profiles, one
// catalogue per profile of each browser (a browser without profiles once).
BrowserList Catalogues(const Options& o) {
  BrowserList list;
  BuildBrowserList(list);
  AddChromiumRelatives(list);
  if (o.profile.empty() && !o.all_profiles) return list;
  BrowserList out;
  for (auto& app : list) {
    const std::vector<TBrowserProfile> profiles = app->Profiles;
    const uint8_t kind = app->BrowserKind;
    std::vector<std::string> names;
    if (!o.all_profiles) {
      if (const TBrowserProfile* p = FindProfile(profiles, o.profile)) names.push_back(p->Name);
    } else {
      for (const auto& p : profiles) names.push_back(p.Name);
      if (profiles.empty()) {
        out.push_back(std::move(app));
        continue;
      }
    }
    for (const std::string& name : names) {
      // The catalogue already read serves its own profile, once; app is null after that.
      if (app && name == app->ProfileName) {
        out.push_back(std::exchange(app, nullptr));
      } else if (auto made = MakeCatalogue(kind, name); made && made->ProfileName == name) {
        out.push_back(std::move(made));
      }
    }
  }
  return out;
}

// ":N" picks by position; anything else is an id (the first record holding it).
TBrowserExtensionInfo* FindRecord(TBrowserAppBase& app, const std::string& key) {
  if (key.size() > 1 && key[0] == ':') {
    try {
      return app.GetItem(std::stoi(key.substr(1)));
    } catch (const std::logic_error&) {  // not a number, or out of range: no such record
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
    std::fprintf(stderr, "orvopm: %s Not confirmed: no terminal to ask on (use --yes).\n",
                 kDeleteQuestion);
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
    const std::string profile = app->ProfileCaption();
    std::fprintf(stderr, "orvopm: %s%s: %s\n", app->DisplayName.c_str(),
                 profile.empty() ? "" : (" (" + profile + ")").c_str(), app->LoadError.c_str());
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
      const std::string profile = ListedProfile(*app);
      const std::string caption = app->ProfileCaption();
      std::printf("%-18s %-14s %-12s %d add-ons%s%s\n", app->DisplayName.c_str(),
                  app->Icon ? "installed" : "not installed", app->IsDefault ? "default" : "",
                  app->GetCount(), app->LoadError.empty() ? "" : "  (data unreadable)",
                  profile.empty()
                      ? ""
                      : ("  profile " + profile + (caption != profile ? " (" + caption + ")" : ""))
                            .c_str());
    }
    std::fflush(stdout);
    return ReportLoadErrors(All(list));
  }
  if (format == Format::kCsv) std::puts("browser,name,installed,default,addons,error,profile");
  std::string json = "[";
  for (size_t i = 0; i < list.size(); ++i) {
    const auto& app = *list[i];
    if (format == Format::kCsv) {
      std::printf("%s,%s,%s,%s,%d,%s,%s\n", kBrowserWords[app.BrowserKind],
                  CsvField(app.DisplayName).c_str(), app.Icon ? "yes" : "no",
                  app.IsDefault ? "yes" : "no", app.GetCount(), CsvField(app.LoadError).c_str(),
                  CsvField(ListedProfile(app)).c_str());
    } else {
      Json o = {{"browser", kBrowserWords[app.BrowserKind]},
                {"name", app.DisplayName},
                {"installed", app.Icon != nullptr},
                {"default", app.IsDefault},
                {"addons", app.GetCount()}};
      o["error"] = app.LoadError.empty() ? Json() : Json(app.LoadError);
      if (const std::string profile = ListedProfile(app); !profile.empty()) {
        o["profile"] = profile;
        o["profile_name"] = app.ProfileCaption();
      }
      json += (i ? ",\n " : "\n ") + o.dump();
    }
  }
  if (format == Format::kJson) std::printf("%s\n]\n", json.c_str());
  std::fflush(stdout);
  return ReportLoadErrors(All(list));
}

// The browser a command names; with --profile, its catalogue on that profile. Null with
// the exit code and message given when there is none.
TBrowserAppBase* NamedBrowser(BrowserList& list, const std::string& word, const Options& o,
                              int* code) {
  if (TBrowserAppBase* app = FindBrowser(list, word)) return app;
  const bool known = std::any_of(std::begin(kBrowserWords) + 1, std::end(kBrowserWords),
                                 [&](const char* w) { return EqualsNoCase(word, w); });
  if (known && !o.profile.empty()) {
    *code = Fail(kUnknownProfile, "no profile \"" + o.profile + "\" in " + word);
  } else {
    *code = Fail(kUnknownBrowser, "unknown browser \"" + word + "\" (" + kBrowserChoice + ")");
  }
  return nullptr;
}

int Change(BrowserList& list, const std::string& verb, const Options& o) {
  if (o.args.size() != 3) return Fail(kUsage, verb + " needs BROWSER and ID");
  if (o.all_profiles) return Fail(kUsage, verb + " works on one profile: name it with --profile");
  int code = kOk;
  TBrowserAppBase* app = NamedBrowser(list, o.args[1], o, &code);
  if (!app) return code;
  TBrowserExtensionInfo* item = FindRecord(*app, o.args[2]);
  if (!item) return Fail(kUnknownId, "no add-on \"" + o.args[2] + "\" in " + app->DisplayName);
  if (verb != "delete" && !Switchable(*app, *item)) {
    return Fail(kNotSwitchable, "\"" + item->ListTitle(IsWin64()) + "\" has no on/off switch");
  }
  if (!app->LoadError.empty()) {
    return Fail(kDataUnreadable,
                app->DisplayName +
                    " is left unchanged because its data could not be read: " + app->LoadError);
  }
  if (app->IsRunning()) return Fail(kBrowserRunning, kRunningText);

  const std::string title = item->ListTitle(IsWin64());
  if (verb == "delete") {
    if (item->BrowserOwned)
      return Fail(kNotSwitchable, "\"" + title + "\" is part of the browser and is not deleted");
    if (!Confirm(o.yes)) return kNotConfirmed;
    const ChangeResult r = app->DeleteItem(item);
    if (!r) return ChangeFailed(title + " was not deleted", r);
    std::printf("Deleted %s.\n", title.c_str());
    if (!r.message.empty()) std::printf("Note: %s.\n", r.message.c_str());
    return kOk;
  }
  const bool want_disabled = verb == "disable";
  if (item->Disabled == want_disabled) {
    std::printf("%s is already %s.\n", title.c_str(), want_disabled ? "off" : "on");
    return kOk;
  }
  if (!item->SwitchLock.empty()) {
    return Fail(kNotSwitchable, "\"" + title + "\" stays " + (item->Disabled ? "off" : "on") +
                                    ": " + item->SwitchLock);
  }
  const ChangeResult r = app->ToggleItem(item);
  if (!r) return ChangeFailed(title + " was not switched", r);
  std::printf("%s is now %s%s.\n", title.c_str(), item->Disabled ? "off" : "on",
              item->DisabledReason.empty() ? "" : (" (" + item->DisabledReason + ")").c_str());
  return kOk;
}

int SetDefault(BrowserList& list, const Options& o) {
  if (o.args.size() != 2) return Fail(kUsage, "set-default needs BROWSER");
  int code = kOk;
  TBrowserAppBase* app = NamedBrowser(list, o.args[1], o, &code);
  if (!app) return code;
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
  if (!o.profile.empty() && list.empty())
    return Fail(kUnknownProfile, "no browser has a profile \"" + o.profile + "\"");
  if (command == "browsers") {
    return o.args.size() == 1 ? Browsers(list, o.format)
                              : Fail(kUsage, "browsers takes no operand");
  }
  if (command == "set-default") return SetDefault(list, o);
  if (command != "list") return Change(list, command, o);
  if (o.args.size() > 2) return Fail(kUsage, "list takes at most one BROWSER");
  std::vector<const TBrowserAppBase*> apps;
  if (o.args.size() == 2) {
    for (auto& app : list) {
      if (EqualsNoCase(o.args[1], kBrowserWords[app->BrowserKind])) apps.push_back(app.get());
    }
    int code = kOk;
    if (apps.empty() && !NamedBrowser(list, o.args[1], o, &code)) return code;
  } else {
    apps = All(list);
  }
  std::vector<RecordRow> rows;
  std::vector<BrowserError> errors;
  for (const TBrowserAppBase* app : apps) {
    AddRows(*app, rows);
    if (!app->LoadError.empty())
      errors.push_back({kBrowserWords[app->BrowserKind], ListedProfile(*app), app->LoadError});
  }
  PrintRecords(stdout, rows, errors, o.format);
  std::fflush(stdout);
  return ReportLoadErrors(apps);
}

}  // namespace

int Run(const Options& o) {
  if (o.args.empty()) return Fail(kUsage, "no command given (see --help)");
  static const char* kCommands[] = {"system", "browsers", "list",       "disable",
                                    "enable", "delete",   "set-default"};
  bool known = false;
  for (const char* c : kCommands) known = known || o.args[0] == c;
  if (!known) return Fail(kUsage, "unknown command \"" + o.args[0] + "\" (see --help)");

  std::string error;
  std::shared_ptr<os::Platform> platform = os::OpenPlatform(o.image, &error);
  if (!platform) return Fail(kNoSystem, error);
  UseSystem(platform);
  os::UseUtf8Console();
  TFireFoxExtensions::DownloadIcons = false;  // no list here to show them in
  TBrowserAppBase::PolicyChangesAllowed = o.policy;
  int code = kFailed;
  {
    BrowserList list;
    if (o.args[0] != "system") list = Catalogues(o);
    code = Dispatch(list, o);
  }
  UseSystem(nullptr);
  return code;
}

}  // namespace orvo::cli
