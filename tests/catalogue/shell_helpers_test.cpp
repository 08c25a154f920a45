// File, folder and shell helpers on a real file system (Windows/Wine) and in an image.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "catalogue/registry_helpers.h"
#include "catalogue/shell_helpers.h"
#include "catalogue/system_values.h"
#include "support/child_process.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

using test::TestMachine;

class ShellHelpers : public ::testing::Test {
 protected:
  TestMachine machine;
  std::string Path(std::string_view name) { return machine.folder() + "\\" + std::string(name); }
};

TEST_F(ShellHelpers, PathExistsTriesExecutableExtensionsOnlyForBareNames) {
  machine.WriteFile(Path("tool.exe"), "MZ");
  machine.WriteFile(Path("script.cmd"), "@echo");
  machine.WriteFile(Path("lib.dll"), "MZ");
  EXPECT_TRUE(PathExistsEx(Path("tool.exe")));
  EXPECT_TRUE(PathExistsEx(Path("tool")));
  EXPECT_TRUE(PathExistsEx(Path("script")));
  EXPECT_TRUE(PathExistsEx(Path("lib")));
  EXPECT_TRUE(PathExistsEx(machine.folder()));
  // A name with an extension is tested as it is and nothing else.
  EXPECT_FALSE(PathExistsEx(Path("tool.bin")));
  EXPECT_FALSE(PathExistsEx(Path("missing")));
}

TEST_F(ShellHelpers, DeletesFilesAndFoldersButNotAFileSomeoneHoldsOpen) {
  machine.WriteFile(Path("tree\\a\\one.txt"), "1");
  machine.WriteFile(Path("tree\\two.txt"), "2");
  machine.WriteFile(Path("held.txt"), "busy");
  machine.WriteFile(Path("single.txt"), "x");

  EXPECT_FALSE(DeleteFileOrFolder(Path("nothing-here"), false));
  EXPECT_TRUE(DeleteFileOrFolder(Path("tree"), false));
  EXPECT_FALSE(PathExistsEx(Path("tree")));
  EXPECT_TRUE(DeleteFileOrFolder(Path("single.txt"), false));
  EXPECT_FALSE(PathExistsEx(Path("single.txt")));

  {
    test::HeldFile held(machine, Path("held.txt"));
    ASSERT_TRUE(held.held());
    EXPECT_TRUE(IsFileLocked(Path("held.txt")));
    EXPECT_FALSE(DeleteFileOrFolder(Path("held.txt"), false));
    EXPECT_TRUE(PathExistsEx(Path("held.txt")));
  }
  EXPECT_FALSE(IsFileLocked(Path("held.txt")));
  EXPECT_FALSE(IsFileLocked(Path("missing.txt")));
  EXPECT_TRUE(DeleteFileOrFolder(Path("held.txt"), false));
}

TEST_F(ShellHelpers, ClearsTheReadOnlyAttributeBeforeDeleting) {
  machine.WriteFile(Path("ro.txt"), "x");
  ASSERT_TRUE(machine.platform().files().SetAttributes(Path("ro.txt"), os::kFileAttributeReadOnly));
  EXPECT_TRUE(DeleteFileOrFolder(Path("ro.txt"), false));
  EXPECT_FALSE(PathExistsEx(Path("ro.txt")));
}

TEST_F(ShellHelpers, ShellDeleteFolderRemovesATree) {
  machine.WriteFile(Path("ext\\1.0\\manifest.json"), "{}");
  EXPECT_TRUE(ShellDeleteFolder(Path("ext")));
  EXPECT_FALSE(PathExistsEx(Path("ext")));
  EXPECT_FALSE(ShellDeleteFolder(Path("ext")));
}

TEST_F(ShellHelpers, AddsOneBackslash) {
  EXPECT_EQ(AddBackslash(""), "");
  EXPECT_EQ(AddBackslash("C:\\x"), "C:\\x\\");
  EXPECT_EQ(AddBackslash("C:\\x\\"), "C:\\x\\");
}

TEST_F(ShellHelpers, KnowsTheSpecialFoldersAndExpandsTheEnvironment) {
  const std::string app_data = GetSpecialFolder(os::kCsidlAppData);
  ASSERT_FALSE(app_data.empty());
  EXPECT_NE(app_data.back(), '\\');
  EXPECT_EQ(AppDataDir(), app_data + "\\");
  EXPECT_EQ(ProgramFilesDir(), GetSpecialFolder(os::kCsidlProgramFiles) + "\\");
  EXPECT_FALSE(GetSpecialFolder(os::kCsidlLocalAppData).empty());

  EXPECT_EQ(ExpandEnvVars("%APPDATA%\\x"), app_data + "\\x");
  EXPECT_EQ(ExpandEnvVars("%ORVO_NOT_DEFINED_ANYWHERE%"), "%ORVO_NOT_DEFINED_ANYWHERE%");
  const std::string long_text = "%APPDATA%" + std::string(300, 'y');
  EXPECT_EQ(ExpandEnvVars(long_text), long_text);  // over 260 characters: unchanged
}

// The handler a test registers for its own link scheme: writes the link it was given
// into the marker file (whole, by renaming), as a browser would open it.
const test::ChildMode kLinkHandler("link-handler", [](const std::vector<std::string>& args) {
  if (args.size() != 2) return 2;
  const auto marker = std::filesystem::path(reinterpret_cast<const char8_t*>(args[0].c_str()));
  std::filesystem::path partial = marker;
  partial += ".part";
  std::ofstream(partial, std::ios::binary) << args[1];
  std::error_code ec;
  std::filesystem::rename(partial, marker, ec);
  return ec ? 3 : 0;
});

TEST_F(ShellHelpers, OpenUrlIgnoresBlankTextAndOpensTheRest) {
  if (machine.sandbox()) {
    OpenUrl("   ");
    OpenUrl("");
    const std::string log = machine.image_folder() + "/opened-urls.txt";
    EXPECT_EQ(test::ReadHostFile(log), "");
    OpenUrl("http://example.test/a b");
    OpenUrl("mailto:help@example.test");
    EXPECT_EQ(test::ReadHostFile(log), "http://example.test/a b\nmailto:help@example.test\n");
    return;
  }
  // On Windows the shell really opens the link: through a scheme of the test's own whose
  // handler is this test program, so what arrives there is what the shell was given.
  const std::string scheme = "orvotestlink";
  const std::string marker = Path("opened.txt");
  machine.SetString(RegRoot::ClassesRoot, scheme, "", "URL:Orvo test link");
  machine.SetString(RegRoot::ClassesRoot, scheme, "URL Protocol", "");
  machine.SetString(
      RegRoot::ClassesRoot, scheme + "\\shell\\open\\command", "",
      "\"" + test::OwnExecutablePath() + "\" --orvo-child link-handler \"" + marker + "\" \"%1\"");
  OpenUrl("   ");
  OpenUrl("");
  OpenUrl(scheme + ":first-link");
  const bool opened = test::WaitForFile(marker, 20000);
  RegDeleteKeyPath(RegRoot::ClassesRoot, scheme);
  ASSERT_TRUE(opened);
  EXPECT_EQ(test::ReadHostFile(marker), scheme + ":first-link");
}

TEST(ShellHelpersOnWindows8, WebLinksGoToInternetExplorer) {
  test::MachineOptions win8;
  win8.version = "6.2.9200";
  TestMachine machine(win8);
  if (!machine.sandbox()) GTEST_SKIP() << "the Windows version is the host's";
  EXPECT_TRUE(IsWindows8());
  OpenUrl("HTTP://example.test/");
  OpenUrl("mailto:x@example.test");
  EXPECT_EQ(test::ReadHostFile(machine.image_folder() + "/opened-urls.txt"),
            "IExplore.EXE HTTP://example.test/\nmailto:x@example.test\n");
}

TEST(ShellHelpersOnWindows8, VersionRule) {
  for (const auto& [version, expected] : std::vector<std::pair<std::string, bool>>{
           {"6.1.7601", false}, {"6.2.9200", true}, {"6.3.9600", true}, {"10.0.19045", false}}) {
    test::MachineOptions options;
    options.version = version;
    TestMachine machine(options);
    if (!machine.sandbox()) GTEST_SKIP() << "the Windows version is the host's";
    EXPECT_EQ(IsWindows8(), expected) << version;
  }
}

TEST_F(ShellHelpers, SeesTopLevelWindowsOnlyWhenThereAreAny) {
  EXPECT_FALSE(IsIERunning());
  machine.OpenWindow("Chrome_WidgetWin_1");
  EXPECT_FALSE(IsIERunning());  // another class is not Internet Explorer
  machine.OpenWindow("IEFrame");
  EXPECT_TRUE(IsIERunning());
}

}  // namespace
}  // namespace orvo
