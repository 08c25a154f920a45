// Reading a version resource out of PE bytes, checked against a hand-built image and,
// in the Windows build, against the system's own reading of the test executable.
#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/shell_helpers.h"
#include "platform/pe_version.h"
#include "support/test_machine.h"

namespace orvo::os {
namespace {

void Put16(std::string& b, size_t at, uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

// A PE32+ image with one .rsrc section holding RT_VERSION / 1 / 0x409.
std::string MinimalPe(uint32_t version_ms, uint32_t version_ls) {
  std::string b(0x400, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 0x3C, 0x40);
  std::memcpy(&b[0x40], "PE\0\0", 4);
  Put16(b, 0x44, 0x8664);
  Put16(b, 0x46, 1);    // sections
  Put16(b, 0x54, 240);  // optional header size
  const size_t opt = 0x58;
  Put16(b, opt, 0x20B);
  Put32(b, opt + 108, 16);
  Put32(b, opt + 112 + 16, 0x1000);  // resource directory
  Put32(b, opt + 112 + 20, 0x100);
  const size_t sec = opt + 240;
  std::memcpy(&b[sec], ".rsrc", 5);
  Put32(b, sec + 8, 0x200);
  Put32(b, sec + 12, 0x1000);
  Put32(b, sec + 16, 0x200);
  Put32(b, sec + 20, 0x200);
  const size_t r = 0x200;
  Put16(b, r + 14, 1);
  Put32(b, r + 16, 16);
  Put32(b, r + 20, 0x80000000u | 0x18);
  Put16(b, r + 0x18 + 14, 1);
  Put32(b, r + 0x18 + 16, 1);
  Put32(b, r + 0x18 + 20, 0x80000000u | 0x30);
  Put16(b, r + 0x30 + 14, 1);
  Put32(b, r + 0x30 + 16, 0x409);
  Put32(b, r + 0x30 + 20, 0x48);
  Put32(b, r + 0x48, 0x1000 + 0x58);
  Put32(b, r + 0x48 + 4, 40 + 52);
  const size_t vi = r + 0x58;
  Put16(b, vi, 40 + 52);
  Put16(b, vi + 2, 52);
  const char16_t key[] = u"VS_VERSION_INFO";
  for (size_t i = 0; i < 15; ++i) Put16(b, vi + 6 + 2 * i, key[i]);
  Put32(b, vi + 40, 0xFEEF04BD);
  Put32(b, vi + 44, 0x00010000);
  Put32(b, vi + 48, version_ms);
  Put32(b, vi + 52, version_ls);
  return b;
}

TEST(PeVersion, ReadsTheFixedRecordOfAHandBuiltImage) {
  const auto info = ReadPeFixedFileInfo(MinimalPe(0x00010001, 0x0001000B));
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ((*info)[0], 0xFEEF04BDu);
  EXPECT_EQ((*info)[2], 0x00010001u);
  EXPECT_EQ((*info)[3], 0x0001000Bu);
}

TEST(PeVersion, NeverReadsPastTheBytesWhateverTheHeadersSay) {
  const std::string good = MinimalPe(1, 2);
  for (size_t cut : {size_t(0), size_t(2), size_t(0x40), size_t(0x150), size_t(0x210),
                     size_t(0x280), good.size() - 1}) {
    (void)ReadPeFixedFileInfo(good.substr(0, cut));
  }
  std::string lying = good;
  Put32(lying, 0x3C, 0xFFFFFFF0u);
  EXPECT_FALSE(ReadPeFixedFileInfo(lying).has_value());
  lying = good;
  Put32(lying, 0x200 + 20, 0x80000000u | 0x7FFFFFF0u);  // subdirectory far outside
  EXPECT_FALSE(ReadPeFixedFileInfo(lying).has_value());
  lying = good;
  Put32(lying, 0x200 + 0x48 + 4, 0x7FFFFFFF);  // data larger than the section
  EXPECT_FALSE(ReadPeFixedFileInfo(lying).has_value());
  EXPECT_FALSE(ReadPeFixedFileInfo("not a program at all").has_value());
}

TEST(PeVersion, TheHelperReadsTheVersionOfAFileInTheMachine) {
  test::TestMachine machine;
  const std::string exe = machine.folder() + "\\app.exe";
  machine.WriteFile(exe, MinimalPe(0x00010001, 0x0001000B));
  TFixedFileInfo info{};
  info.fill(7);
  EXPECT_FALSE(GetFixedFileVersion(machine.folder() + "\\missing.exe", info));
  EXPECT_EQ(info[0], 7u);          // untouched
  if (!machine.sandbox()) return;  // Windows wants more of a PE than this one has
  ASSERT_TRUE(GetFixedFileVersion(exe, info));
  EXPECT_EQ(info[2], 0x00010001u);
  EXPECT_EQ(info[3], 0x0001000Bu);
}

TEST(PeVersion, AgreesWithTheSystemAboutThisExecutable) {
  test::TestMachine machine;
  if (machine.sandbox()) GTEST_SKIP() << "native executables carry no version resource";
  const std::string self = test::OwnExecutablePath();
  const auto by_system = machine.platform().system().FileVersion(self);
  ASSERT_TRUE(by_system.has_value());
  const auto by_us = ReadPeFixedFileInfo(test::ReadHostFile(self));
  ASSERT_TRUE(by_us.has_value());
  EXPECT_EQ(*by_us, *by_system);
  EXPECT_EQ((*by_us)[2], 0x00010001u);  // 1.1
  EXPECT_EQ((*by_us)[3], 0x0001000Bu);  // .1.11
}

}  // namespace
}  // namespace orvo::os
