// orvopm: the command-line face of the catalogue code, on the real system (Windows) or on
// a Windows image folder (any build with the sandbox back end).
#include <cstdio>
#include <cstring>
#include <string>

#include "app/cli_commands.h"

namespace {

void PrintUsage(FILE* out) {
  std::fputs(
      "Usage: orvopm [--image DIR] COMMAND [ARGS] [--format text|json|csv] [--yes]\n"
      "              [--profile NAME | --all-profiles] [--policy]\n"
      "\n"
      "Lists and changes the add-ons of the installed browsers (chrome, ie, firefox, opera,\n"
      "edge, brave, vivaldi).\n"
      "\n"
      "Commands:\n"
      "  browsers                   one line per browser: installed, default, add-on count\n"
      "  list [BROWSER]             the add-ons, of one browser or of all\n"
      "  disable BROWSER ID         switch an add-on off\n"
      "  enable BROWSER ID          switch an add-on on\n"
      "  delete BROWSER ID          delete an add-on (asks first, unless --yes)\n"
      "  set-default BROWSER        make the browser the default for web links\n"
      "  system                     what the program sees of the system\n"
      "\n"
      "ID is an add-on's id as `list` shows it, or :N for its position (the # column).\n"
      "Changes are refused while the browser runs.\n"
      "\n"
      "A browser with several profiles is read on the one it opens with, unless --profile\n"
      "names another (its folder name, \"Profile 1\", or the name the browser shows) or\n"
      "--all-profiles lists each of them; changes work on one profile.\n"
      "\n"
      "Chrome, Edge, Brave and Vivaldi guard most extensions' settings with a checksum and\n"
      "remove an extension whose settings another program changed. Such an extension is\n"
      "switched off by adding it to the ExtensionInstallBlocklist policy of your user\n"
      "account: the browser then shows it as blocked by your administrator, in all of its\n"
      "profiles, and switching it on here lifts the block. orvopm does that only with\n"
      "--policy. Such an extension is removed only in the browser itself; orvopm names\n"
      "the browser's page for it.\n"
      "\n"
      "Options:\n"
      "  --image DIR        work on a Windows image folder instead of the real system\n"
      "  --format FORMAT    text (default), json or csv, for browsers and list\n"
      "  --yes              delete without asking\n"
      "  --profile NAME     work on that profile of each browser (browsers without it are\n"
      "                     left out)\n"
      "  --all-profiles     list every profile of each browser\n"
      "  --policy           agree to switch an extension through the browser's policy\n"
      "                     where the browser guards its settings (see below)\n"
      "  -h, --help         show this help\n"
      "\n"
      "A browser whose data file is there but can't be read is named on standard error\n"
      "(and in the JSON output as \"error\"); its add-ons are left unchanged.\n"
      "\n"
      "Exit codes: 0 done, 1 failed, 2 usage, 3 no system or image, 4 unknown browser,\n"
      "5 unknown add-on, 6 browser running, 7 not done (a file, folder or registry key\n"
      "refused the change), 8 not confirmed, 9 not for this add-on (no on/off switch,\n"
      "a state the browser keeps itself, or part of the browser), 10 a browser's data\n"
      "file can't be read, 11 no such profile, 12 the switch goes through the browser's\n"
      "policy (add --policy), 13 only the browser can do this.\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  orvo::cli::Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      PrintUsage(stdout);
      return 0;
    }
    if (a == "--yes" || a == "-y") {
      options.yes = true;
    } else if (a == "--all-profiles") {
      options.all_profiles = true;
    } else if (a == "--policy") {
      options.policy = true;
    } else if (a == "--image" || a == "--format" || a == "--profile") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "orvopm: %s needs a value\n", a.c_str());
        return orvo::cli::kUsage;
      }
      const std::string value = argv[++i];
      if (a == "--image") {
        options.image = value;
      } else if (a == "--profile") {
        options.profile = value;
      } else if (value == "text" || value == "json" || value == "csv") {
        options.format = value == "json"  ? orvo::cli::Format::kJson
                         : value == "csv" ? orvo::cli::Format::kCsv
                                          : orvo::cli::Format::kText;
      } else {
        std::fprintf(stderr, "orvopm: unknown format \"%s\" (text, json, csv)\n", value.c_str());
        return orvo::cli::kUsage;
      }
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      std::fprintf(stderr, "orvopm: unknown option %s (see --help)\n", a.c_str());
      return orvo::cli::kUsage;
    } else {
      options.args.push_back(a);
    }
  }
  if (options.all_profiles && !options.profile.empty()) {
    std::fprintf(stderr, "orvopm: --profile and --all-profiles exclude each other\n");
    return orvo::cli::kUsage;
  }
  return orvo::cli::Run(options);
}
