// The start-up refusal without access to the browser registrations.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "platform/sandbox/image.h"
#include "shell/language.h"
#include "shell/registry_access.h"
#include "shell/shell_fixture.h"

namespace orvo::test {
namespace {

// Stands in for the system message box until the window system provides it: records
// what it was asked to show.
class RecordingMessageBox : public PlainMessageBox {
 public:
  void Show(std::string_view text) override { shown.emplace_back(text); }
  std::vector<std::string> shown;
};

constexpr char kEnglishRefusal[] =
    "You have no permission to access the browser configuration information. Please contact the "
    "administrator.";

struct DenialCase {
  const char* what;
  const char* image_ini;  // appended to image.ini
  bool key_exists;
  bool refused;
};

void PrintTo(const DenialCase& c, std::ostream* out) { *out << c.what; }

class RegistryAccessTest : public ShellTest, public ::testing::WithParamInterface<DenialCase> {
 protected:
  RegistryAccessTest() : ShellTest(GetParam().image_ini) {}
};

TEST_P(RegistryAccessTest, OnlyAccessDeniedRefuses) {
  if (!machine().sandbox()) GTEST_SKIP() << "denials are set up in the sandbox image";
  const DenialCase& c = GetParam();
  if (c.key_exists) {  // straight into the hive: the denial would refuse creating it
    machine().image()->hive().Create(os::RegHive::Locate(
        os::RegRoot::LocalMachine, "SOFTWARE\\Clients\\StartMenuInternet\\FIREFOX.EXE"));
  }
  RecordingMessageBox box;
  EXPECT_EQ(CheckRegistryAccess(box), !c.refused);
  if (c.refused) {
    EXPECT_EQ(box.shown, std::vector<std::string>{kEnglishRefusal});
  } else {
    EXPECT_TRUE(box.shown.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Denials, RegistryAccessTest,
    ::testing::Values(
        DenialCase{
            "all",
            "[AccessDenied]\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\StartMenuInternet=all\r\n",
            true, true},
        DenialCase{
            "write",
            "[AccessDenied]\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\StartMenuInternet=write\r\n",
            true, true},
        DenialCase{"parent", "[AccessDenied]\r\nHKEY_LOCAL_MACHINE\\SOFTWARE=all\r\n", true, true},
        DenialCase{"missing key, denied",
                   "[AccessDenied]\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Clients=all\r\n", false, true},
        DenialCase{"another key", "[AccessDenied]\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Other=all\r\n",
                   true, false},
        DenialCase{"missing key", "", false, false}, DenialCase{"open", "", true, false}),
    [](const ::testing::TestParamInfo<DenialCase>& param) {
      std::string name;
      for (char ch : std::string(param.param.what))
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return name;
    });

class RefusalTextTest : public ShellTest {
 protected:
  RefusalTextTest()
      : ShellTest(
            "[AccessDenied]\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\StartMenuInternet=all\r\n") {}
};

TEST_F(RefusalTextTest, TheRefusalSpeaksTheChosenLanguage) {
  if (!machine().sandbox()) GTEST_SKIP() << "denials are set up in the sandbox image";
  InstallShippedLanguages();
  ChooseLanguageFile("German");
  RecordingMessageBox box;
  EXPECT_FALSE(CheckRegistryAccess(box));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].rfind("Sie haben keine Berechtigung", 0), 0u) << box.shown[0];
}

class RealRegistryTest : public ShellTest {};

TEST_F(RealRegistryTest, AnAdministratorIsNotRefused) {
  // Under Wine the user may change the machine's keys; natively the fresh image denies
  // nothing.
  RecordingMessageBox box;
  EXPECT_TRUE(CheckRegistryAccess(box));
  EXPECT_TRUE(box.shown.empty());
}

}  // namespace
}  // namespace orvo::test
