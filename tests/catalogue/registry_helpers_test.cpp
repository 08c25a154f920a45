// The registry helpers against a real registry (Windows/Wine) and the sandbox hive: the
// same expectations on both.
#include <gtest/gtest.h>

#include "catalogue/registry_helpers.h"
#include "catalogue/system_values.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

using os::RegRoot;
using test::TestMachine;

class RegistryHelpers : public ::testing::Test {
 protected:
  TestMachine machine;
  std::string Key(std::string_view sub = "") {
    return sub.empty() ? machine.key() : machine.key() + "\\" + std::string(sub);
  }
};

TEST(RegistryRoots, NamesAreFullNamesInAnyCaseOnly) {
  EXPECT_EQ(RootKeyFromName("hkey_local_machine"), RegRoot::LocalMachine);
  EXPECT_EQ(RootKeyFromName("HKEY_CURRENT_USER"), RegRoot::CurrentUser);
  EXPECT_EQ(RootKeyFromName("Hkey_Users"), RegRoot::Users);
  EXPECT_EQ(RootKeyFromName("HKEY_CURRENT_CONFIG"), RegRoot::CurrentConfig);
  EXPECT_EQ(RootKeyFromName("HKLM"), RegRoot::ClassesRoot);
  EXPECT_EQ(RootKeyFromName(""), RegRoot::ClassesRoot);

  std::string name = "unchanged";
  RootKeyName(static_cast<RegRoot>(0x80000042u), name);
  EXPECT_EQ(name, "unchanged");
  RootKeyName(RegRoot::LocalMachine, name);
  EXPECT_EQ(name, "HKEY_LOCAL_MACHINE");
}

TEST_F(RegistryHelpers, ReadsEachValueTypeByTheRegistryObjectsRules) {
  machine.SetString(RegRoot::CurrentUser, Key(), "text", "Grüße ✓");
  machine.SetValue(RegRoot::CurrentUser, Key(), "expand", os::kRegExpandSz,
                   os::RegStringData("%SystemRoot%\\x"));
  machine.SetDword(RegRoot::CurrentUser, Key(), "number", 42);
  machine.SetValue(RegRoot::CurrentUser, Key(), "multi", os::kRegMultiSz,
                   os::RegMultiStringData({"one", "two"}));
  // UTF-16 "AB", a NUL, then more bytes that must not show.
  machine.SetValue(RegRoot::CurrentUser, Key(), "binary", os::kRegBinary,
                   {'A', 0, 'B', 0, 0, 0, 'C', 0});
  machine.SetValue(RegRoot::CurrentUser, Key(), "bigmulti", os::kRegMultiSz,
                   os::RegMultiStringData({std::string(600, 'x')}));

  const auto read = [&](const char* name) {
    return RegReadString(RegRoot::CurrentUser, Key(), name, false);
  };
  EXPECT_EQ(read("text"), "Grüße ✓");
  EXPECT_EQ(read("expand"), "%SystemRoot%\\x");  // not expanded
  EXPECT_EQ(read("number"), "");                 // a DWORD has no text
  EXPECT_EQ(read("multi"), "one\r\ntwo\r\n");
  EXPECT_EQ(read("binary"), "AB");
  EXPECT_EQ(read("bigmulti"), "");  // 1204 bytes: over the raw-read limit
  EXPECT_EQ(read("missing"), "");

  EXPECT_EQ(RegReadInteger(RegRoot::CurrentUser, Key(), "number", false, -1), 42);
  EXPECT_EQ(RegReadInteger(RegRoot::CurrentUser, Key(), "text", false, -1), -1);
  EXPECT_EQ(RegReadInteger(RegRoot::CurrentUser, Key(), "missing", true, 7), 7);
  EXPECT_EQ(RegReadInteger(RegRoot::CurrentUser, Key("nokey"), "number", true, 9), 9);
}

TEST_F(RegistryHelpers, ReportsWhetherTheKeyOpened) {
  machine.SetString(RegRoot::CurrentUser, Key(), "v", "x");
  bool opened = false;
  RegReadString(RegRoot::CurrentUser, Key(), "other", true, &opened);
  EXPECT_TRUE(opened);
  RegReadString(RegRoot::CurrentUser, Key("missing"), "v", true, &opened);
  EXPECT_FALSE(opened);
  EXPECT_TRUE(RegKeyReadable(RegRoot::CurrentUser, Key(), true));
  EXPECT_FALSE(RegKeyReadable(RegRoot::CurrentUser, Key("missing"), true));
}

TEST_F(RegistryHelpers, WritesOnlyIntoExistingKeysYetAlwaysReportSuccess) {
  EXPECT_TRUE(RegWriteString(RegRoot::CurrentUser, Key("absent"), "v", "x"));
  EXPECT_FALSE(machine.KeyExists(RegRoot::CurrentUser, Key("absent")));

  machine.SetString(RegRoot::CurrentUser, Key("present"), "other", "y");
  EXPECT_TRUE(RegWriteString(RegRoot::CurrentUser, Key("present"), "v", "written"));
  EXPECT_EQ(RegReadString(RegRoot::CurrentUser, Key("present"), "v", true), "written");
  EXPECT_TRUE(RegWriteString(RegRoot::CurrentUser, Key("present"), "", "default"));
  EXPECT_EQ(RegReadString(RegRoot::CurrentUser, Key("present"), "", true), "default");

  EXPECT_TRUE(RegDeleteValue(RegRoot::CurrentUser, Key("present"), "v"));
  EXPECT_FALSE(RegDeleteValue(RegRoot::CurrentUser, Key("present"), "v"));
  EXPECT_EQ(RegReadString(RegRoot::CurrentUser, Key("present"), "v", true), "");
}

TEST_F(RegistryHelpers, EnumeratesSubKeysAndValues) {
  machine.SetString(RegRoot::CurrentUser, Key("list\\b"), "", "");
  machine.SetString(RegRoot::CurrentUser, Key("list\\A"), "", "");
  machine.SetString(RegRoot::CurrentUser, Key("list"), "first", "1");
  machine.SetDword(RegRoot::CurrentUser, Key("list"), "second", 2);

  std::vector<std::string> names{"stale"};
  EXPECT_TRUE(RegGetSubKeyNames(RegRoot::CurrentUser, Key("list"), names, true, true));
  EXPECT_EQ(names, (std::vector<std::string>{"A", "b"}));
  EXPECT_TRUE(RegGetValueNames(RegRoot::CurrentUser, Key("list"), names, true, false));
  EXPECT_EQ(names, (std::vector<std::string>{"first", "second"}));
  EXPECT_FALSE(RegGetSubKeyNames(RegRoot::CurrentUser, Key("none"), names, true, true));
  EXPECT_TRUE(names.empty());
}

TEST_F(RegistryHelpers, DeletesKeysWithTheirSubtreesButNeverForABlankPath) {
  machine.SetString(RegRoot::CurrentUser, Key("tree\\a\\deep"), "v", "1");
  machine.SetString(RegRoot::CurrentUser, Key("tree\\b"), "v", "2");
  machine.SetString(RegRoot::CurrentUser, Key("keep"), "v", "3");

  EXPECT_FALSE(RegDeleteKeyPath(RegRoot::CurrentUser, ""));
  EXPECT_FALSE(RegDeleteKeyPath(RegRoot::CurrentUser, "   "));
  EXPECT_TRUE(machine.KeyExists(RegRoot::CurrentUser, Key("tree")));

  EXPECT_TRUE(RegDeleteKeyPath(RegRoot::CurrentUser, Key("tree")));
  EXPECT_FALSE(machine.KeyExists(RegRoot::CurrentUser, Key("tree")));
  EXPECT_TRUE(machine.KeyExists(RegRoot::CurrentUser, Key("keep")));
  EXPECT_FALSE(RegDeleteKeyPath(RegRoot::CurrentUser, Key("tree")));

  // The form plug-in records carry: a leading backslash after the root name.
  machine.SetString(RegRoot::CurrentUser, Key("plugin\\x"), "v", "1");
  EXPECT_TRUE(RegDeleteKeyPath(RegRoot::CurrentUser, "\\" + Key("plugin")));
  EXPECT_FALSE(machine.KeyExists(RegRoot::CurrentUser, Key("plugin")));
}

// HKLM\SOFTWARE\X and HKLM\SOFTWARE\WOW6432Node\X are different keys on 64-bit Windows;
// the WOW-aware readers reach the native one unless the path names WOW6432Node.
TEST_F(RegistryHelpers, Wow6432NodePathsReachThe32BitBranch) {
  ASSERT_TRUE(IsWin64());
  const std::string native = machine.key();
  const std::string wow = "SOFTWARE\\WOW6432Node" + machine.key().substr(8);
  machine.SetString(RegRoot::LocalMachine, native, "where", "native");
  machine.SetString(RegRoot::LocalMachine, wow, "where", "wow");

  EXPECT_EQ(RegReadString(RegRoot::LocalMachine, native, "where", true), "native");
  EXPECT_EQ(RegReadString(RegRoot::LocalMachine, wow, "where", true), "wow");
  EXPECT_EQ(RegViewAccess(os::kKeyRead, wow, true), os::kKeyRead | os::kKeyWow64_64Key);
  EXPECT_EQ(RegViewAccess(os::kKeyRead, wow, false), os::kKeyRead);
  EXPECT_EQ(RegAccess(false), os::kKeyAllAccess | os::kKeyWow64_64Key);

  std::vector<std::string> names;
  EXPECT_TRUE(RegGetSubKeyNames(RegRoot::LocalMachine, "SOFTWARE\\WOW6432Node\\OrvoTests", names,
                                true, true));
  EXPECT_EQ(names.size(), 1u);
}

TEST(RegistryViews, OldWindowsOpensWow6432NodePathsWithThe32BitView) {
  test::MachineOptions vista;
  vista.version = "6.0.6002";
  TestMachine machine(vista);
  if (!machine.sandbox()) GTEST_SKIP() << "the Windows version is the host's";
  EXPECT_EQ(RegViewAccess(os::kKeyRead, "SOFTWARE\\Wow6432Node\\X", true),
            os::kKeyRead | os::kKeyWow64_32Key);
  EXPECT_EQ(RegViewAccess(os::kKeyRead, "SOFTWARE\\X", true), os::kKeyRead | os::kKeyWow64_64Key);
  machine.SetString(RegRoot::LocalMachine, "SOFTWARE\\WOW6432Node\\Vendor", "v", "wow");
  EXPECT_EQ(RegReadString(RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\Vendor", "v", true),
            "wow");
}

TEST(RegistryViews, On32BitWindowsNoViewFlagIsAdded) {
  test::MachineOptions x86;
  x86.is64 = false;
  TestMachine machine(x86);
  if (!machine.sandbox()) GTEST_SKIP() << "the host is 64-bit";
  EXPECT_FALSE(IsWin64());
  EXPECT_EQ(RegAccess(true), os::kKeyRead);
  EXPECT_EQ(RegViewAccess(os::kKeyAllAccess, "SOFTWARE\\Wow6432Node\\X", true), os::kKeyAllAccess);
}

}  // namespace
}  // namespace orvo
