#pragma once
// The commands of orvopm, run on the catalogues of the installed back end.
#include <string>
#include <vector>

#include "app/cli_output.h"

namespace orvo::cli {

// Distinct exit codes, so scripts can tell the failures apart.
enum ExitCode {
  kOk = 0,
  kFailed = 1,
  kUsage = 2,
  kNoSystem = 3,  // image folder missing or unreadable, or no --image where needed
  kUnknownBrowser = 4,
  kUnknownId = 5,
  kBrowserRunning = 6,
  kWriteFailed = 7,      // not done: a file, folder or registry key refused the change
  kNotConfirmed = 8,     // delete declined, or not confirmed without a terminal
  kNotSwitchable = 9,    // plug-ins and menu extensions have no on/off switch; the browser keeps
                         // some add-ons' state itself, and its own add-ons are never deleted
  kDataUnreadable = 10,  // a browser's data file is there but can't be read or parsed
  kUnknownProfile = 11,  // --profile names no profile of the browser
  kNeedsPolicy = 12,     // the switch goes through the browser's policy: only with --policy
  kOnlyInBrowser = 13,   // only the browser itself (or its administrator) can make this change
};

struct Options {
  std::string image;
  Format format = Format::kText;
  bool yes = false;
  // Agrees to switches that go through a browser's policy (the ExtensionInstallBlocklist
  // of the user's account) where the browser guards the extension's own settings.
  bool policy = false;
  // One profile of each browser (its folder name or the name the browser shows), or
  // every profile; neither: the profile each browser opens with.
  std::string profile;
  bool all_profiles = false;
  std::vector<std::string> args;  // the command and its operands
};

int Run(const Options& options);
// What the program sees of the system (the "system" command).
int ShowSystem();

}  // namespace orvo::cli
