// Text conversions: the round trips that registry data, JSON escapes and ANSI files rely on.
#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "platform/text.h"

namespace orvo {
namespace {

TEST(Text, Utf8AndUtf16RoundTripIncludingSurrogatePairs) {
  const std::string text = "A é 日本 😀";
  const std::u16string units = Utf8ToUtf16(text);
  EXPECT_EQ(units.size(), 9u);  // the emoji takes a surrogate pair
  EXPECT_EQ(Utf16ToUtf8(units), text);
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");  // lone surrogate
}

TEST(Text, InvalidUtf8BecomesReplacementCharactersNotLostText) {
  for (const std::string bad : {"\xC3",
                                "a\xFF"
                                "b",
                                "\xE6\x97", "\xED\xA0\x80", "\xC0\xAF"}) {
    EXPECT_FALSE(IsValidUtf8(bad));
    EXPECT_NE(Utf16ToUtf8(Utf8ToUtf16(bad)).find("\xEF\xBF\xBD"), std::string::npos);
  }
  EXPECT_TRUE(IsValidUtf8("plain \xEF\xBF\xBD ok"));
}

TEST(Text, Windows1252BothWays) {
  EXPECT_EQ(Cp1252ToUtf8("\x80\x96\xE9\x81"), "€–é\xC2\x81");
  bool lossless = true;
  EXPECT_EQ(Utf8ToCp1252("€é", &lossless), "\x80\xE9");
  EXPECT_TRUE(lossless);
  EXPECT_EQ(Utf8ToCp1252("日", &lossless), "?");
  EXPECT_FALSE(lossless);
}

TEST(Text, CaseRulesAreAsciiOnly) {
  EXPECT_TRUE(EqualsNoCase("SOFTWARE\\Wow6432Node", "software\\WOW6432NODE"));
  EXPECT_FALSE(EqualsNoCase("É", "é"));
  EXPECT_TRUE(ContainsNoCase("x\\WoW6432node\\y", "wow6432node"));
  EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
}

TEST(IniFile, ReadsAsThePrivateProfileFunctionsDo) {
  const IniFile ini = IniFile::Parse(
      "\xEF\xBB\xBF; c\r\n[General]\r\n Language = German.ini \r\n"
      "Quoted=\"a b\"\r\n[general]\r\nlate=1\r\nnoequals\r\n");
  EXPECT_EQ(ini.GetOr("GENERAL", "language", "?"), "German.ini");
  EXPECT_EQ(ini.GetOr("General", "Quoted", "?"), "a b");
  EXPECT_EQ(ini.GetOr("General", "late", "?"), "1");
  EXPECT_EQ(ini.GetOr("General", "noequals", "?"), "?");
  EXPECT_EQ(ini.Keys("general"), (std::vector<std::string>{"Language", "Quoted", "late"}));
}

TEST(IniFile, EditsKeepEverythingElse) {
  IniFile ini = IniFile::Parse("; keep me\n[A]\nx=1\n\n[B]\ny=2\n");
  ini.Set("a", "X", "10");
  ini.Set("A", "z", "3");
  ini.Set("C", "w", "4");
  EXPECT_TRUE(ini.Remove("b", "Y"));
  EXPECT_FALSE(ini.Remove("b", "y"));
  EXPECT_EQ(ini.Text(), "; keep me\r\n[A]\r\nX=10\r\nz=3\r\n\r\n[B]\r\n\r\n[C]\r\nw=4\r\n");
}

}  // namespace
}  // namespace orvo
