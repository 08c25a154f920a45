// Which profiles a Chromium-family catalogue sees and which one it reads: Local State's
// list and last-used profile, folders that are gone, names that could leave the data
// folder, and Opera's old single-folder layout beside its current one.
#include <gtest/gtest.h>

#include "catalogue/browser_list.h"
#include "catalogue/chromium_extensions.h"
#include "catalogue_fixture.h"

namespace orvo {
namespace {

using test::FindById;

constexpr const char* kWorkExtension = "mnopabcdefghijklmnopabcdefghijkl";

class ChromiumProfiles : public ::testing::Test {
 protected:
  test::TestMachine machine{test::DemoOptions()};
  const std::string data = TChromeExtensions().UserDataDir;

  void LocalState(const std::string& json) { machine.WriteFile(data + "Local State", json); }
  // A second profile with one extension of its own.
  void WorkProfile(const std::string& folder) {
    machine.WriteFile(
        data + folder + "\\Preferences",
        std::string("{\"extensions\":{\"settings\":{\"") + kWorkExtension +
            "\":{\"location\":1,\"path\":\"" + kWorkExtension +
            "\\\\1.0_0\",\"manifest\":{\"name\":\"Work Notes\",\"version\":\"1.0\"}}}}}");
    machine.WriteFile(data + folder + "\\Extensions\\" + kWorkExtension + "\\1.0_0\\manifest.json",
                      "{}");
  }
  static std::vector<std::string> Names(const TBrowserAppBase& app) {
    std::vector<std::string> names;
    for (const auto& p : app.Profiles) names.push_back(p.Name + "=" + p.Title);
    return names;
  }
};

TEST_F(ChromiumProfiles, ReadsTheLastUsedProfileAndListsEveryProfileWithItsName) {
  WorkProfile("Profile 1");
  LocalState(
      R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},"Profile 1":{"name":"Work"},)"
      R"("Profile 7":{"name":"Gone"},"..":{"name":"Outside"}},"last_used":"Profile 1"}})");
  TChromeExtensions shown;
  EXPECT_EQ(Names(shown), (std::vector<std::string>{"Default=Person 1", "Profile 1=Work"}));
  EXPECT_EQ(shown.ProfileName, "Profile 1");
  EXPECT_EQ(shown.ProfileDir, data + "Profile 1\\");
  EXPECT_EQ(shown.ProfileCaption(), "Work");
  ASSERT_NE(FindById(shown, kWorkExtension), nullptr);
  EXPECT_EQ(FindById(shown, "fblkdohiomlcbgpekccokebfafkgegcf"), nullptr);  // Default's

  TChromeExtensions person("Default");
  EXPECT_EQ(person.ProfileName, "Default");
  EXPECT_EQ(person.ProfileCaption(), "Person 1");
  EXPECT_NE(FindById(person, "fblkdohiomlcbgpekccokebfafkgegcf"), nullptr);
  EXPECT_EQ(FindById(person, kWorkExtension), nullptr);

  // A listed profile whose folder is gone, and a name that climbs out, are no profiles.
  for (const char* name : {"Profile 7", "..", "Nobody"}) {
    TChromeExtensions none(name);
    EXPECT_TRUE(none.ProfileName.empty()) << name;
    EXPECT_EQ(none.GetCount(), 0) << name;
  }
  // MakeCatalogue gives the same, with the registration read.
  auto made = MakeCatalogue(bkChrome, "Default");
  EXPECT_EQ(made->ProfileName, "Default");
  EXPECT_NE(made->Icon, nullptr);
}

// Without Local State, or when it names a profile that is gone, the browser opens Default;
// a folder Local State does not list is not offered.
TEST_F(ChromiumProfiles, FallsBackToDefault) {
  WorkProfile("Profile 2");
  for (const char* local_state : {"", "{not json", R"({"profile":{"last_used":"Profile 9"}})"}) {
    if (*local_state) LocalState(local_state);
    TChromeExtensions chrome;
    EXPECT_EQ(Names(chrome), (std::vector<std::string>{"Default=Default"})) << local_state;
    EXPECT_EQ(chrome.ProfileName, "Default");
    EXPECT_EQ(chrome.ProfileCaption(), "");  // one profile: nothing to tell apart
  }
}

TEST_F(ChromiumProfiles, OperaWithAndWithoutADefaultFolder) {
  TOPeraExtensions flat;
  EXPECT_EQ(flat.ProfileDir, flat.UserDataDir);  // the demo's Opera keeps Preferences there
  EXPECT_EQ(flat.ProfileName, "Default");
  EXPECT_EQ(flat.GetCount(), 7);

  const std::string prefs = test::ReadText(flat.UserDataDir + "Preferences");
  machine.WriteFile(flat.UserDataDir + "Default\\Preferences", prefs);
  machine.WriteFile(flat.UserDataDir + "Local State",
                    R"({"profile":{"info_cache":{"Default":{"name":"Me"}}}})");
  TOPeraExtensions current;
  EXPECT_EQ(current.ProfileDir, current.UserDataDir + "Default\\");
  EXPECT_EQ(current.ProfileCaption(), "");
  EXPECT_EQ(Names(current), (std::vector<std::string>{"Default=Me"}));
  // Its extensions' folders are not under Default\Extensions here: the entries stay unlisted.
  EXPECT_EQ(current.GetCount(), 3);
}

}  // namespace
}  // namespace orvo
