// The orvopm tool as a user runs it: a real process on a copy of the demo image, its
// output and its exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/test_machine.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int code;
  std::string out;
};

class Orvopm : public ::testing::Test {
 protected:
  void SetUp() override {
    image_ = fs::temp_directory_path() / ("orvopm-test-" + std::to_string(::getpid()));
    fs::remove_all(image_);
    fs::copy(test::DemoImage(), image_, fs::copy_options::recursive);
  }
  void TearDown() override { fs::remove_all(image_); }

  // Runs the tool with stdin from /dev/null (no terminal) and stderr merged.
  ToolRun Tool(const std::string& args, bool with_image = true) {
    const std::string exe = (fs::path(test::OwnExecutablePath()).parent_path() / "orvopm").string();
    const std::string cmd = "'" + exe + "' " +
                            (with_image ? "--image '" + image_.string() + "' " : "") + args +
                            " </dev/null 2>&1";
    FILE* pipe = ::popen(cmd.c_str(), "r");
    ToolRun run{-1, ""};
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) run.out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }

  void AddProcess(const std::string& exe) { AddIni("[Processes]\r\n7777=" + exe); }
  void AddIni(const std::string& lines) {
    FILE* f = std::fopen((image_ / "image.ini").c_str(), "a");
    std::fprintf(f, "\r\n%s\r\n", lines.c_str());
    std::fclose(f);
  }
  fs::path ChromeData() const {
    return image_ / "C/Users/demo/AppData/Local/Google/Chrome/User Data";
  }
  fs::path ChromeProfile() const { return ChromeData() / "Default"; }
  void WriteHostFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs(text.c_str(), f);
    std::fclose(f);
  }

  fs::path image_;
};

TEST_F(Orvopm, ShowsTheBrowsersAndTheirAddOns) {
  const ToolRun browsers = Tool("browsers");
  EXPECT_EQ(browsers.code, 0);
  EXPECT_EQ(browsers.out.find("Google Chrome"), 0u);
  EXPECT_NE(browsers.out.find("15 add-ons"), std::string::npos);

  const ToolRun list = Tool("list chrome --format csv");
  EXPECT_EQ(list.code, 0);
  EXPECT_EQ(
      list.out.rfind(
          "browser,index,kind,id,name,version,enabled,path,builtin,locked,profile,why_off\n", 0),
      0u);
  EXPECT_NE(
      list.out.find("chrome,9,extension,fblkdohiomlcbgpekccokebfafkgegcf,Tab Tidy,2.4.1,yes,"),
      std::string::npos);
  EXPECT_NE(list.out.find("\"@orvo-demo.example/NoName,version=1.0\""),
            std::string::npos);  // quoted
  EXPECT_NE(list.out.find("Demo Media Player (64)"), std::string::npos);

  const ToolRun json = Tool("list opera --format json");
  EXPECT_EQ(json.code, 0);
  EXPECT_NE(json.out.find("\"name\":\"Night Owl\""), std::string::npos);
  EXPECT_NE(json.out.find("\"enabled\":false"), std::string::npos);
}

TEST_F(Orvopm, SwitchesOffAndOnAndDeletes) {
  EXPECT_EQ(Tool("disable chrome fblkdohiomlcbgpekccokebfafkgegcf").code, 0);
  EXPECT_NE(Tool("list chrome").out.find("off Tab Tidy"), std::string::npos);
  const ToolRun again = Tool("disable chrome fblkdohiomlcbgpekccokebfafkgegcf");
  EXPECT_EQ(again.code, 0);
  EXPECT_NE(again.out.find("already off"), std::string::npos);
  EXPECT_EQ(Tool("enable chrome :9").code, 0);

  const ToolRun unconfirmed = Tool("delete chrome fblkdohiomlcbgpekccokebfafkgegcf");
  EXPECT_EQ(unconfirmed.code, 8);
  EXPECT_NE(unconfirmed.out.find("Are you sure to delete this plug-in?"), std::string::npos);
  EXPECT_EQ(Tool("delete chrome fblkdohiomlcbgpekccokebfafkgegcf --yes").code, 0);
  EXPECT_EQ(Tool("list chrome").out.find("Tab Tidy"), std::string::npos);
}

// Firefox's themes, language packs and dictionaries are called what they are; the
// browser's own add-ons and the states it keeps itself are shown and refused with the reason.
TEST_F(Orvopm, ShowsFirefoxKindsAndRefusesWhatTheBrowserKeeps) {
  const ToolRun csv = Tool("list firefox --format csv");
  EXPECT_EQ(csv.code, 0);
  EXPECT_NE(csv.out.find(",theme,darkfox@orvo-demo.example,Dark Fox Theme,1.0,yes,"),
            std::string::npos)
      << csv.out;
  EXPECT_NE(csv.out.find(",theme,default-theme@mozilla.org,"), std::string::npos);
  EXPECT_NE(csv.out.find(",locale,langpack-de@firefox.mozilla.org,"), std::string::npos);
  EXPECT_NE(csv.out.find(",dictionary,de-DE@dictionaries.addons.mozilla.org,"), std::string::npos);
  const ToolRun json = Tool("list firefox --format json");
  EXPECT_NE(
      json.out.find(
          "\"id\":\"formautofill@mozilla.org\",\"name\":\"Form Autofill\",\"version\":\"1.0.1\","
          "\"enabled\":true,\"path\":\"C:\\\\Program Files (x86)\\\\Mozilla "
          "Firefox\\\\browser\\\\features\\\\"
          "formautofill@mozilla.org.xpi\",\"builtIn\":true,\"locked\":\"it is part of Firefox"),
      std::string::npos)
      << json.out;

  const ToolRun owned = Tool("delete firefox formautofill@mozilla.org --yes");
  EXPECT_EQ(owned.code, 9);
  EXPECT_NE(owned.out.find("is part of the browser"), std::string::npos) << owned.out;
  const ToolRun kept_off = Tool("enable firefox {3c2b8b0e-5b7a-4f0e-9d2c-1a4e6f7b8c90}");
  EXPECT_EQ(kept_off.code, 9);
  EXPECT_NE(kept_off.out.find("stays off: Firefox itself keeps it off"), std::string::npos)
      << kept_off.out;
  EXPECT_EQ(Tool("disable firefox {3c2b8b0e-5b7a-4f0e-9d2c-1a4e6f7b8c90}").code, 0);  // already off

  EXPECT_EQ(Tool("enable firefox default-theme@mozilla.org").code, 0);
  EXPECT_NE(Tool("list firefox").out.find("theme      off Dark Fox Theme"), std::string::npos)
      << Tool("list firefox").out;
}

// Firefox's profiles: the install's choice by default, another by its Name=, all of them
// side by side; a change reaches the profile named only.
TEST_F(Orvopm, FirefoxProfilesAreListedAndChangedByName) {
  EXPECT_NE(Tool("browsers").out.find("13 add-ons  profile default-release"), std::string::npos);
  const ToolRun all = Tool("browsers --all-profiles");
  EXPECT_NE(all.out.find("Mozilla Firefox    installed                   5 add-ons  profile work"),
            std::string::npos)
      << all.out;
  const fs::path work =
      image_ / "C/Users/demo/AppData/Roaming/Mozilla/Firefox/Profiles/w0rk5pce.work";
  const fs::path current =
      image_ / "C/Users/demo/AppData/Roaming/Mozilla/Firefox/Profiles/k3x9q2lm.default";
  const std::string before = test::ReadHostFile((current / "extensions.json").string());
  EXPECT_EQ(Tool("disable firefox meetingnotes@orvo-demo.example --profile WORK").code, 0);
  EXPECT_NE(test::ReadHostFile((work / "extensions.json").string()).find("\"userDisabled\":true"),
            std::string::npos);
  EXPECT_EQ(test::ReadHostFile((current / "extensions.json").string()), before);
  EXPECT_EQ(Tool("disable firefox meetingnotes@orvo-demo.example").code,
            5);  // not in the profile shown
  EXPECT_EQ(Tool("list firefox --profile nobody").code, 11);
}

TEST_F(Orvopm, RefusesWhileTheBrowserRuns) {
  AddProcess("chrome.exe");
  for (const char* args : {"disable chrome :0", "delete chrome :0 --yes", "set-default chrome"}) {
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.code, 6) << args;
    EXPECT_NE(run.out.find("The browser is running. Please close it to continue."),
              std::string::npos);
  }
  EXPECT_EQ(Tool("set-default opera").code, 0);
}

TEST_F(Orvopm, AnswersMistakesWithDistinctCodes) {
  struct Case {
    std::string args;
    int code;
    bool with_image = true;
  };
  const Case cases[] = {
      {"", 2},
      {"frobnicate", 2},
      {"list --format yaml", 2},
      {"list netscape", 4},
      {"disable chrome nosuchid", 5},
      {"disable chrome :99", 5},
      {"disable chrome :x", 5},
      {"disable chrome @orvo-demo.example/PdfView", 9},  // plug-ins have no switch
      {"browsers", 3, false},
  };
  for (const auto& c : cases) EXPECT_EQ(Tool(c.args, c.with_image).code, c.code) << c.args;
  EXPECT_EQ(Tool("--image /nonexistent/image browsers", false).code, 3);
  EXPECT_EQ(Tool("--help", false).code, 0);
}

// A Preferences that is there but damaged: named with the reason on standard error and in
// the JSON output, exit code 10, its plug-ins still listed, and no change made.
TEST_F(Orvopm, NamesADamagedBrowserFileAndChangesNothingThere) {
  std::FILE* f = std::fopen((ChromeProfile() / "Preferences").c_str(), "w");
  std::fputs("{\"extensions\":{\"settings\":", f);
  std::fclose(f);
  const std::string reason = "Preferences: not valid JSON";

  const ToolRun browsers = Tool("browsers");
  EXPECT_EQ(browsers.code, 10);
  EXPECT_NE(
      browsers.out.find(
          "Google Chrome: C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\" +
          reason),
      std::string::npos)
      << browsers.out;
  EXPECT_NE(browsers.out.find("Opera"), std::string::npos);  // the others are shown as ever

  const ToolRun json = Tool("browsers --format json");
  EXPECT_EQ(json.code, 10);
  EXPECT_NE(json.out.find("\"browser\":\"chrome\""), std::string::npos);
  EXPECT_NE(json.out.find("Default\\\\" + reason), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"error\":null"), std::string::npos) << json.out;  // the readable ones

  const ToolRun list = Tool("list chrome --format json");
  EXPECT_EQ(list.code, 10);
  EXPECT_NE(list.out.find("{\"browser\":\"chrome\",\"error\":"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("PdfView"), std::string::npos);  // the plug-ins are listed

  const ToolRun change = Tool("delete chrome @orvo-demo.example/PdfView --yes");
  EXPECT_EQ(change.code, 10);
  EXPECT_NE(change.out.find(reason), std::string::npos) << change.out;
  EXPECT_NE(Tool("list chrome").out.find("PdfView"), std::string::npos);

  EXPECT_EQ(Tool("list opera").code, 0);
}

// An extension folder that can't be removed whole: not deleted, named, still listed.
TEST_F(Orvopm, ADeleteOfALockedFolderFailsAndKeepsTheAddOn) {
  const std::string folder =
      "C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\User "
      "Data\\Default\\Extensions\\fblkdohiomlcbgpekccokebfafkgegcf";
  AddIni("[LockedFiles]\r\n1=" + folder + "\\2.4.1_0\\manifest.json");
  const ToolRun run = Tool("delete chrome fblkdohiomlcbgpekccokebfafkgegcf --yes");
  EXPECT_EQ(run.code, 7);
  EXPECT_NE(run.out.find("Tab Tidy was not deleted: " + folder + " is only partly deleted"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("in use: 2.4.1_0\\manifest.json"), std::string::npos) << run.out;
  EXPECT_NE(Tool("list chrome").out.find("Tab Tidy"), std::string::npos);
}

TEST_F(Orvopm, ADefaultBrowserSwitchTheRegistryRefusesFails) {
  AddIni(
      "[AccessDenied]\r\nHKEY_CURRENT_"
      "USER\\Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\"
      "https\\UserChoice=write");
  const ToolRun run = Tool("set-default opera");
  EXPECT_EQ(run.code, 7);
  EXPECT_NE(run.out.find("https\\UserChoice refused access"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("Successfully"), std::string::npos);
  EXPECT_NE(Tool("browsers").out.find("Google Chrome      installed      default"),
            std::string::npos);
}

TEST_F(Orvopm, ReportsAFileItCannotWrite) {
  const fs::path prefs =
      image_ / "C/Users/demo/AppData/Local/Google/Chrome/User Data/Default/Preferences";
  fs::permissions(prefs, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const ToolRun run = Tool("disable chrome fblkdohiomlcbgpekccokebfafkgegcf");
  EXPECT_EQ(run.code, 7);
  EXPECT_NE(run.out.find("read-only"), std::string::npos);
}

// A disk that fills while the file is written, and a rename another program blocks: not
// done (exit 7), said why, the file as it was and the add-on still on.
TEST_F(Orvopm, AFullDiskOrABlockedRenameIsNotDone) {
  const fs::path prefs = ChromeProfile() / "Preferences";
  const std::string before = test::ReadHostFile(prefs.string());
  const std::string ini = test::ReadHostFile((image_ / "image.ini").string());
  for (const auto& [fault, said] : {std::pair{"DiskFreeBytes=100", "not enough space"},
                                    std::pair{"RenameFails=1", "another program"}}) {
    WriteHostFile(image_ / "image.ini", ini);
    AddIni(std::string("[Faults]\r\n") + fault);
    const ToolRun run = Tool("disable chrome fblkdohiomlcbgpekccokebfafkgegcf");
    EXPECT_EQ(run.code, 7) << fault;
    EXPECT_NE(run.out.find(said), std::string::npos) << run.out;
    EXPECT_EQ(test::ReadHostFile(prefs.string()), before) << fault;
    for (const auto& entry : fs::directory_iterator(ChromeProfile())) {
      EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
    }
  }
  WriteHostFile(image_ / "image.ini", ini);
  EXPECT_EQ(Tool("list chrome").out.find("off Tab Tidy"), std::string::npos);
}

// A second Chrome profile, "Work", used last: listed on its own, by folder or by the name
// Chrome shows, or beside the first; a change reaches only the profile named.
TEST_F(Orvopm, ListsAndChangesTheProfileNamed) {
  const std::string work_id = "mnopabcdefghijklmnopabcdefghijkl";
  WriteHostFile(
      ChromeData() / "Local State",
      R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},"Profile 1":{"name":"Work"}},)"
      R"("last_used":"Profile 1"}})");
  WriteHostFile(ChromeData() / "Profile 1" / "Preferences",
                "{\"extensions\":{\"settings\":{\"" + work_id +
                    "\":{\"location\":1,\"state\":1,\"path\":\"" + work_id +
                    "\\\\1.0_0\",\"manifest\":{\"name\":\"Work Notes\",\"version\":\"1.0\"}}}}}");
  WriteHostFile(ChromeData() / "Profile 1" / "Extensions" / work_id / "1.0_0" / "manifest.json",
                "{}");

  const ToolRun browsers = Tool("browsers");
  EXPECT_EQ(browsers.code, 0);
  EXPECT_NE(browsers.out.find("4 add-ons  profile Profile 1 (Work)"), std::string::npos)
      << browsers.out;
  const ToolRun shown = Tool("list chrome");
  EXPECT_NE(shown.out.find("chrome, profile Profile 1 (Work)\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("Work Notes"), std::string::npos);
  EXPECT_EQ(shown.out.find("Tab Tidy"), std::string::npos);

  for (const char* name : {"Default", "default", "person 1"}) {
    const ToolRun run = Tool(std::string("list chrome --profile '") + name + "'");
    EXPECT_EQ(run.code, 0) << name;
    EXPECT_NE(run.out.find("Tab Tidy"), std::string::npos) << name;
    EXPECT_EQ(run.out.find("Work Notes"), std::string::npos) << name;
  }
  const ToolRun all = Tool("list --all-profiles --format csv");
  EXPECT_NE(all.out.find(",Tab Tidy,2.4.1,yes,"), std::string::npos);
  EXPECT_NE(all.out.find(
                ",Work Notes,1.0,yes,C:\\Users\\demo\\AppData\\Local\\Google\\Chrome\\User Data\\"
                "Profile 1\\Extensions\\" +
                work_id + "\\1.0_0,no,,Profile 1,\n"),
            std::string::npos)
      << all.out;
  EXPECT_NE(all.out.find("\nopera,"), std::string::npos);  // one-profile browsers once
  // With --profile, browsers without that profile are left out.
  EXPECT_EQ(Tool("browsers --profile Work").out.find("Opera"), std::string::npos);

  const std::string before = test::ReadHostFile((ChromeProfile() / "Preferences").string());
  EXPECT_EQ(Tool("disable chrome " + work_id + " --profile 'Profile 1'").code, 0);
  EXPECT_NE(Tool("list chrome").out.find("off Work Notes"), std::string::npos);
  EXPECT_EQ(test::ReadHostFile((ChromeProfile() / "Preferences").string()), before);

  const struct {
    std::string args;
    int code;
  } mistakes[] = {
      {"list chrome --profile Nobody", 11},       {"list --profile Nobody", 11},
      {"disable chrome :0 --profile Nobody", 11}, {"disable chrome :0 --all-profiles", 2},
      {"list --profile Work --all-profiles", 2},  {"list --profile", 2},
  };
  for (const auto& m : mistakes) EXPECT_EQ(Tool(m.args).code, m.code) << m.args;
}

// The modern image: every profile listed; a guarded extension is switched only with
// --policy (the explanation and its own exit code without it), and deleted only in the
// browser, whose page is named.
TEST_F(Orvopm, SwitchesGuardedExtensionsOnlyWithPolicy) {
  fs::remove_all(image_);
  fs::copy(test::ModernImage(), image_, fs::copy_options::recursive);
  const std::string tidy = "njljfidahmnikmebegegkdcjncpenkan";

  const ToolRun browsers = Tool("browsers --all-profiles");
  EXPECT_EQ(browsers.code, 0);
  EXPECT_NE(browsers.out.find("11 add-ons  profile Default (Person 1)"), std::string::npos)
      << browsers.out;
  EXPECT_NE(browsers.out.find("2 add-ons  profile Profile 1 (Work)"), std::string::npos);
  EXPECT_NE(browsers.out.find("Microsoft Edge     installed"), std::string::npos);
  EXPECT_NE(Tool("list chrome").out.find("Colour Lens"), std::string::npos);
  const ToolRun edge = Tool("list edge --format json");
  EXPECT_NE(
      edge.out.find(
          "\"why_off\":\"blocked by the computer's policy\",\"entry_file\":\"Secure Preferences\","
          "\"guarded\":true"),
      std::string::npos)
      << edge.out;

  const std::string registry = test::ReadHostFile((image_ / "registry.reg").string());
  const ToolRun asked = Tool("disable chrome " + tidy);
  EXPECT_EQ(asked.code, 12);
  EXPECT_NE(asked.out.find("shows it as blocked by your administrator"), std::string::npos)
      << asked.out;
  EXPECT_NE(asked.out.find("--policy"), std::string::npos);
  EXPECT_EQ(test::ReadHostFile((image_ / "registry.reg").string()), registry);

  const ToolRun done = Tool("disable chrome " + tidy + " --policy");
  EXPECT_EQ(done.code, 0) << done.out;
  EXPECT_NE(done.out.find("Tab Tidy is now off (blocked by Google Chrome's policy for this user)."),
            std::string::npos);
  EXPECT_NE(test::ReadHostFile((image_ / "registry.reg").string()).find("\"3\"=\"" + tidy + "\""),
            std::string::npos);
  EXPECT_EQ(Tool("enable chrome " + tidy + " --policy").code, 0);

  const ToolRun removed = Tool("delete chrome " + tidy + " --yes");
  EXPECT_EQ(removed.code, 13);
  EXPECT_NE(removed.out.find("chrome://extensions/?id=" + tidy), std::string::npos) << removed.out;
  EXPECT_NE(Tool("list chrome").out.find("Tab Tidy"), std::string::npos);
  EXPECT_EQ(Tool("enable edge lpokplhadlemdcbmdoegobiaddephjjj --policy").code, 13);
}

}  // namespace
}  // namespace orvo
