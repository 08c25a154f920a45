// The sandbox back end as a product of its own: an image folder behaves like the Windows
// machine it describes, never lets a path out, and refuses what Windows would refuse.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/sandbox/sandbox_platform.h"
#include "platform/text.h"
#include "support/test_machine.h"

namespace fs = std::filesystem;

namespace orvo::os::sandbox {
namespace {

using test::TestMachine;

std::string ReadString(Platform& p, RegRoot root, std::string_view path, std::string_view name,
                       uint32_t view = kKeyWow64_64Key) {
  std::unique_ptr<RegKey> key;
  if (p.registry().OpenKey(root, path, kKeyRead | view, &key) != kErrorSuccess) return "<no key>";
  RegValue v;
  if (key->QueryValue(name, &v) != kErrorSuccess) return "<no value>";
  return Utf16LeBytesToUtf8(v.data.data(), v.data.size(), true);
}

TEST(SandboxImage, RefusesAMissingFolderAndAFileThatIsNoRegistry) {
  std::string error;
  EXPECT_EQ(SandboxPlatform::Open("/nonexistent/orvo-image", &error), nullptr);
  EXPECT_NE(error.find("image folder not found"), std::string::npos);

  TestMachine machine;
  std::ofstream(machine.image_folder() + "/registry.reg") << "this is not a registry file";
  error.clear();
  EXPECT_EQ(SandboxPlatform::Open(machine.image_folder(), &error), nullptr);
  EXPECT_NE(error.find("registry.reg: not a registry file"), std::string::npos);
}

TEST(SandboxImage, MapsWindowsPathsCaseInsensitivelyAndNeverOutside) {
  TestMachine machine;
  Image& image = *machine.image();
  fs::create_directories(machine.image_folder() + "/C/Users/Demo/AppData");
  const fs::path root = machine.image_folder();

  EXPECT_EQ(*image.MapPath("c:\\users\\DEMO\\appdata\\new.txt"),
            root / "C/Users/Demo/AppData/new.txt");
  EXPECT_EQ(*image.MapPath("C:/Users/Demo"), root / "C/Users/Demo");
  EXPECT_EQ(*image.MapPath("\\\\?\\C:\\Users"), root / "C/Users");
  EXPECT_EQ(*image.MapPath("C:\\..\\..\\..\\etc\\passwd"), root / "C/etc/passwd");
  EXPECT_EQ(*image.MapPath("C:\\Users\\..\\..\\Windows"), root / "C/Windows");
  EXPECT_EQ(*image.MapPath("D:\\data"), root / "D/data");
  for (const char* bad :
       {"relative\\path", "C:relative", "", "\\\\server\\share\\x", "C:\\a\\b:stream"}) {
    EXPECT_FALSE(image.MapPath(bad).has_value()) << bad;
  }
  // A link inside the image that leads out of it is not followed.
  fs::create_directory_symlink("/tmp", root / "C/escape");
  EXPECT_FALSE(image.MapPath("C:\\escape\\x").has_value());
  EXPECT_FALSE(machine.platform().files().WriteFileAtomic("C:\\escape\\x", "no"));
}

TEST(SandboxImage, RegistryChangesAreSavedAndSurviveAReopen) {
  TestMachine machine;
  machine.SetString(RegRoot::CurrentUser, "Software\\Kept", "name", "Grüße");
  machine.SetValue(RegRoot::CurrentUser, "Software\\Kept", "big", kRegBinary,
                   std::vector<uint8_t>(1 << 20, 0x5A));
  std::string error;
  auto again = SandboxPlatform::Open(machine.image_folder(), &error);
  ASSERT_NE(again, nullptr) << error;
  EXPECT_EQ(ReadString(*again, RegRoot::CurrentUser, "SOFTWARE\\kept", "NAME"), "Grüße");
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(again->registry().OpenKey(RegRoot::CurrentUser, "Software\\Kept", kKeyRead, &key),
            kErrorSuccess);
  RegValue big;
  ASSERT_EQ(key->QueryValue("big", &big), kErrorSuccess);
  EXPECT_EQ(big.data.size(), size_t(1) << 20);
}

TEST(SandboxImage, The32BitViewIsRedirectedOnA64BitImage) {
  TestMachine machine;
  machine.SetString(RegRoot::LocalMachine, "SOFTWARE\\WOW6432Node\\Vendor", "v", "32-bit");
  machine.SetString(RegRoot::LocalMachine, "SOFTWARE\\Vendor", "v", "64-bit");
  machine.SetString(RegRoot::LocalMachine, "SOFTWARE\\Classes\\WOW6432Node\\CLSID\\{C}", "",
                    "32-bit class");
  machine.SetString(RegRoot::ClassesRoot, ".txt", "", "shared");
  Platform& p = machine.platform();
  EXPECT_EQ(ReadString(p, RegRoot::LocalMachine, "SOFTWARE\\Vendor", "v", kKeyWow64_32Key),
            "32-bit");
  EXPECT_EQ(ReadString(p, RegRoot::LocalMachine, "SOFTWARE\\Vendor", "v", kKeyWow64_64Key),
            "64-bit");
  EXPECT_EQ(ReadString(p, RegRoot::LocalMachine, "SOFTWARE\\Vendor", "v", 0), "64-bit");
  EXPECT_EQ(
      ReadString(p, RegRoot::LocalMachine, "SOFTWARE\\WOW6432Node\\Vendor", "v", kKeyWow64_32Key),
      "32-bit");
  EXPECT_EQ(ReadString(p, RegRoot::ClassesRoot, "CLSID\\{C}", "", kKeyWow64_32Key), "32-bit class");
  EXPECT_EQ(ReadString(p, RegRoot::ClassesRoot, ".txt", "", kKeyWow64_32Key), "shared");

  test::MachineOptions x86;
  x86.is64 = false;
  TestMachine old(x86);
  old.SetString(RegRoot::LocalMachine, "SOFTWARE\\Vendor", "v", "only view");
  EXPECT_EQ(
      ReadString(old.platform(), RegRoot::LocalMachine, "SOFTWARE\\Vendor", "v", kKeyWow64_32Key),
      "only view");
}

TEST(SandboxImage, KeysMarkedInTheImageRefuseAccess) {
  test::MachineOptions options;
  options.extra_ini =
      "[AccessDenied]\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Clients=write\r\nHKLM\\SOFTWARE\\Secret="
      "all\r\n";
  TestMachine machine(options);
  machine.SetString(RegRoot::CurrentUser, "x", "", "");  // nothing denied there
  Registry& reg = machine.platform().registry();
  std::unique_ptr<RegKey> key;
  // Creating below a write-denied key fails; so does the set-up, which is the point.
  EXPECT_EQ(reg.CreateKey(RegRoot::LocalMachine, "SOFTWARE\\Clients\\StartMenuInternet",
                          kKeyAllAccess, &key),
            kErrorAccessDenied);
  machine.image()->hive().Create(
      RegHive::Locate(RegRoot::LocalMachine, "SOFTWARE\\Clients\\StartMenuInternet"));
  machine.image()->hive().Create(RegHive::Locate(RegRoot::LocalMachine, "SOFTWARE\\Secret"));
  EXPECT_EQ(reg.OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Clients\\StartMenuInternet",
                        kKeyAllAccess, &key),
            kErrorAccessDenied);
  EXPECT_EQ(
      reg.OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Clients\\StartMenuInternet", kKeyRead, &key),
      kErrorSuccess);
  EXPECT_EQ(key->SetValue("x", kRegSz, RegStringData("no")), kErrorAccessDenied);  // a read handle
  EXPECT_EQ(reg.OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Secret", kKeyRead, &key),
            kErrorAccessDenied);
  EXPECT_EQ(reg.OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Missing", kKeyRead, &key),
            kErrorFileNotFound);
  ASSERT_EQ(reg.OpenKey(RegRoot::LocalMachine, "SOFTWARE", kKeyAllAccess, &key), kErrorSuccess);
  EXPECT_EQ(key->DeleteSubTree("Clients"), kErrorAccessDenied);
  EXPECT_NE(
      machine.image()->hive().Find(RegHive::Locate(RegRoot::LocalMachine, "SOFTWARE\\Clients")),
      nullptr);
}

TEST(SandboxImage, ProcessesAndWindowsComeFromTheImage) {
  test::MachineOptions options;
  options.extra_ini =
      "[Processes]\r\n100=chrome.exe\r\n101=chrome.exe\r\n200=Firefox.exe\r\nbad=x.exe\r\n"
      "[TopLevelWindows]\r\n1=IEFrame\r\n";
  TestMachine machine(options);
  Processes& procs = machine.platform().processes();
  ASSERT_EQ(procs.Snapshot().size(), 3u);
  EXPECT_TRUE(procs.TopLevelWindowExists("ieframe"));
  EXPECT_FALSE(procs.TopLevelWindowExists("Chrome_WidgetWin_1"));
  EXPECT_TRUE(procs.Terminate(100));
  EXPECT_FALSE(procs.Terminate(100));
  std::string error;
  auto again = SandboxPlatform::Open(machine.image_folder(), &error);
  ASSERT_NE(again, nullptr);
  ASSERT_EQ(again->processes().Snapshot().size(), 2u);
  EXPECT_EQ(again->processes().Snapshot()[0].exe_name, "chrome.exe");
  EXPECT_EQ(machine.image()->Journal().back(), "terminate 100 chrome.exe");
}

TEST(SandboxImage, AtomicWritesRefuseWhatWindowsRefusesAndLeaveTheOriginal) {
  TestMachine machine;
  FileSystem& files = machine.platform().files();
  const std::string file = machine.folder() + "\\Preferences";
  ASSERT_TRUE(files.WriteFileAtomic(file, "original"));

  EXPECT_EQ(files.WriteFileAtomic(machine.folder() + "\\missing\\x", "y").error,
            kErrorPathNotFound);
  {
    test::HeldFile held(machine, file);
    const WriteResult r = files.WriteFileAtomic(file, "replacement");
    EXPECT_EQ(r.error, kErrorSharingViolation);
    EXPECT_NE(r.message.find("in use"), std::string::npos);
  }
  ASSERT_TRUE(files.SetAttributes(file, kFileAttributeReadOnly));
  EXPECT_EQ(files.WriteFileAtomic(file, "replacement").error, kErrorAccessDenied);
  EXPECT_EQ(*files.ReadFile(file), "original");
  ASSERT_TRUE(files.SetAttributes(file, 0));
  // A folder the host won't let us write into: the temporary file can't be made.
  if (geteuid() != 0) {
    const std::string host = files.NativePath(machine.folder());
    chmod(host.c_str(), 0500);
    EXPECT_EQ(files.WriteFileAtomic(file, "replacement").error, kErrorWriteFault);
    chmod(host.c_str(), 0700);
  }
  EXPECT_TRUE(files.WriteFileAtomic(file, "replacement"));
  EXPECT_EQ(*files.ReadFile(file), "replacement");
  EXPECT_FALSE(files.ReadFile(file, 3).has_value());  // larger than allowed

  std::vector<FolderEntry> entries;
  ASSERT_TRUE(files.ListFolder(machine.folder(), &entries));
  ASSERT_EQ(entries.size(), 1u);  // no temporary files left behind
  EXPECT_EQ(entries[0].name, "Preferences");
}

TEST(SandboxImage, ShellDeletesNeverTouchADriveRootAndRecycleOnRequest) {
  TestMachine machine;
  FileSystem& files = machine.platform().files();
  EXPECT_NE(files.ShellDelete("C:\\", 0x14), 0);
  EXPECT_NE(files.ShellDelete("C:\\..", 0x14), 0);
  EXPECT_TRUE(fs::exists(machine.image_folder() + "/C/Temp"));

  machine.WriteFile(machine.folder() + "\\gone.txt", "x");
  EXPECT_EQ(files.ShellDelete(machine.folder() + "\\gone.txt", 0x54), 0);
  EXPECT_TRUE(fs::exists(machine.image_folder() + "/C/$Recycle.Bin/gone.txt"));
}

TEST(SandboxImage, ListsTheEnvironmentAndFoldersOfItsUser) {
  test::MachineOptions options;
  options.extra_ini = "User=alice\r\n[Environment]\r\nORVO_X=%APPDATA%\\y\r\n";
  TestMachine machine(options);
  Shell& shell = machine.platform().shell();
  EXPECT_EQ(shell.SpecialFolder(kCsidlAppData), "C:\\Users\\alice\\AppData\\Roaming");
  EXPECT_EQ(shell.SpecialFolder(kCsidlProgramFilesX86), "C:\\Program Files (x86)");
  EXPECT_EQ(shell.SpecialFolder(0x7777), "");
  std::string out;
  ASSERT_TRUE(shell.ExpandEnvironment("%userprofile%|%ORVO_X%|%none%%TEMP%|50%", 260, &out));
  EXPECT_EQ(out, "C:\\Users\\alice|%APPDATA%\\y|%none%C:\\Users\\alice\\AppData\\Local\\Temp|50%");
  EXPECT_FALSE(shell.ExpandEnvironment("%USERPROFILE%", 10, &out));
}

}  // namespace
}  // namespace orvo::os::sandbox
