// The regedit file codec: every value form, both headers and encodings, damaged input.
#include <gtest/gtest.h>

#include "platform/reg_file.h"
#include "platform/text.h"

namespace orvo::os {
namespace {

const RegValue* Value(RegHive& hive, RegRoot root, std::string_view path, std::string_view name) {
  RegHive::Key* key = hive.Find(RegHive::Locate(root, path));
  return key ? key->FindValue(name) : nullptr;
}

std::string Text(const RegValue* v) {
  return v ? Utf16LeBytesToUtf8(v->data.data(), v->data.size(), true) : "<none>";
}

TEST(RegFile, ReadsEveryValueForm) {
  const std::string file =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "; a comment\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App]\r\n"
      "@=\"default\"\r\n"
      "\"Quoted\"=\"say \\\"hi\\\" C:\\\\dir\\\\\"\r\n"
      "\"Number\"=dword:0000002a\r\n"
      "\"Bytes\"=hex:01,02,ff\r\n"
      "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
      "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,\\\r\n"
      "  00,00\r\n"
      "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      "\r\n"
      "[HKEY_CLASSES_ROOT\\CLSID\\{X}]\r\n"
      "@=\"class\"\r\n"
      "[HKCU\\Software\\Short]\r\n"
      "\"v\"=\"short root\"\r\n";
  RegHive hive;
  const RegFileParse parse = ParseRegFile(file, &hive);
  ASSERT_TRUE(parse.ok) << parse.error;
  EXPECT_TRUE(parse.warnings.empty()) << parse.warnings.front();
  EXPECT_EQ(parse.format, RegFileFormat::kVersion5Utf8);

  const char* app = "SOFTWARE\\Vendor\\App";
  EXPECT_EQ(Text(Value(hive, RegRoot::LocalMachine, app, "")), "default");
  EXPECT_EQ(Text(Value(hive, RegRoot::LocalMachine, app, "quoted")), "say \"hi\" C:\\dir\\");
  EXPECT_EQ(Value(hive, RegRoot::LocalMachine, app, "Number")->data, RegDwordData(42));
  EXPECT_EQ(Value(hive, RegRoot::LocalMachine, app, "Bytes")->data,
            (std::vector<uint8_t>{1, 2, 255}));
  EXPECT_EQ(Value(hive, RegRoot::LocalMachine, app, "Expand")->type, kRegExpandSz);
  EXPECT_EQ(Value(hive, RegRoot::LocalMachine, app, "Multi")->data, RegMultiStringData({"a", "b"}));
  EXPECT_EQ(Value(hive, RegRoot::LocalMachine, app, "Qword")->type, kRegQword);
  // HKEY_CLASSES_ROOT is a view of HKLM\SOFTWARE\Classes.
  EXPECT_EQ(Text(Value(hive, RegRoot::LocalMachine, "SOFTWARE\\Classes\\CLSID\\{X}", "")), "class");
  EXPECT_EQ(Text(Value(hive, RegRoot::CurrentUser, "Software\\Short", "v")), "short root");
}

TEST(RegFile, AppliesDeletionsInOrder) {
  const std::string file =
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\A\\B]\n\"x\"=\"1\"\n\"y\"=\"2\"\n"
      "[HKEY_CURRENT_USER\\A\\C]\n\"z\"=\"3\"\n"
      "[HKEY_CURRENT_USER\\A\\B]\n\"x\"=-\n"
      "[-HKEY_CURRENT_USER\\A\\C]\n";
  RegHive hive;
  ASSERT_TRUE(ParseRegFile(file, &hive).ok);
  EXPECT_EQ(Value(hive, RegRoot::CurrentUser, "A\\B", "x"), nullptr);
  EXPECT_EQ(Text(Value(hive, RegRoot::CurrentUser, "A\\B", "y")), "2");
  EXPECT_EQ(hive.Find(RegHive::Locate(RegRoot::CurrentUser, "A\\C")), nullptr);
}

TEST(RegFile, ReadsUtf16AndAnsiFiles) {
  RegHive utf16;
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\K]\r\n\"n\"=\"日本\"\r\n";
  const RegFileParse p16 = ParseRegFile("\xFF\xFE" + Utf8ToUtf16LeBytes(text, false), &utf16);
  ASSERT_TRUE(p16.ok);
  EXPECT_EQ(p16.format, RegFileFormat::kVersion5Utf16);
  EXPECT_EQ(Text(Value(utf16, RegRoot::CurrentUser, "K", "n")), "日本");

  // REGEDIT4 is in the ANSI code page, hex(2) and hex(7) data too.
  RegHive ansi;
  const RegFileParse p4 = ParseRegFile(
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"n\"=\"caf\xE9\"\r\n\"e\"=hex(2):25,41,25,00\r\n",
      &ansi);
  ASSERT_TRUE(p4.ok);
  EXPECT_EQ(p4.format, RegFileFormat::kRegedit4);
  EXPECT_EQ(Text(Value(ansi, RegRoot::CurrentUser, "K", "n")), "café");
  EXPECT_EQ(Text(Value(ansi, RegRoot::CurrentUser, "K", "e")), "%A%");
}

// A BOM that promises UTF-8 before bytes that are not: they are read as the ANSI code
// page, the one way that saves back to the same hive.
TEST(RegFile, BytesThatAreNoUtf8AreAnsiWhateverTheBomSays) {
  for (const std::string header : {"REGEDIT4", "Windows Registry Editor Version 5.00"}) {
    RegHive hive;
    const RegFileParse parse =
        ParseRegFile("\xEF\xBB\xBF" + header + "\r\n[HKEY_CURRENT_USER\\caf\xE9]\r\n", &hive);
    ASSERT_TRUE(parse.ok) << header;
    EXPECT_NE(hive.Find(RegHive::Locate(RegRoot::CurrentUser, "café")), nullptr) << header;
    RegFileFormat used;
    RegHive back;
    ASSERT_TRUE(ParseRegFile(WriteRegFile(hive, parse.format, &used), &back).ok);
    EXPECT_NE(back.Find(RegHive::Locate(RegRoot::CurrentUser, "café")), nullptr) << header;
  }
}

TEST(RegFile, SkipsDamagedLinesAndKeepsTheRest) {
  const std::string file =
      "REGEDIT4\n"
      "\"orphan\"=\"before any key\"\n"
      "[HKEY_NOWHERE\\X]\n\"lost\"=\"1\"\n"
      "[HKEY_CURRENT_USER\\Good]\n"
      "\"ok\"=\"yes\"\n"
      "\"dw\"=dword:xyz\n"
      "\"hex\"=hex:0g\n"
      "\"open\"=\"no end\n"
      "garbage line\n"
      "\"cut\"=hex:01,0";
  RegHive hive;
  const RegFileParse parse = ParseRegFile(file, &hive);
  ASSERT_TRUE(parse.ok);
  EXPECT_EQ(parse.warnings.size(), 8u);
  EXPECT_EQ(Text(Value(hive, RegRoot::CurrentUser, "Good", "ok")), "yes");
  EXPECT_EQ(Value(hive, RegRoot::CurrentUser, "Good", "cut"), nullptr);
}

TEST(RegFile, RefusesTextWithoutAHeader) {
  RegHive hive;
  for (const std::string& bad : std::vector<std::string>{"", "[HKEY_CURRENT_USER\\x]\n",
                                                         std::string("\0\1\2\3", 4), "\xFF\xFE"}) {
    const RegFileParse parse = ParseRegFile(bad, &hive);
    EXPECT_FALSE(parse.ok);
    EXPECT_NE(parse.error.find("not a registry file"), std::string::npos);
  }
}

TEST(RegFile, WritesWhatItReadsInBothForms) {
  RegHive hive;
  RegHive::Key* key = hive.Create(RegHive::Locate(RegRoot::LocalMachine, "SOFTWARE\\V"));
  key->SetValue("", {kRegSz, RegStringData("def")});
  key->SetValue("q\"uote", {kRegSz, RegStringData("a\\b\"c")});
  key->SetValue("dw", {kRegDword, RegDwordData(0xDEADBEEF)});
  key->SetValue("bin", {kRegBinary, std::vector<uint8_t>(100, 0xAB)});
  key->SetValue("multi", {kRegMultiSz, RegMultiStringData({"x", "y"})});
  key->SetValue("nl", {kRegSz, RegStringData("two\nlines")});
  // A name has no hex form to fall back on: its line feed must be escaped, or the line
  // breaks in two and the value is lost when the file is read again.
  key->SetValue("line\nfeed", {kRegDword, RegDwordData(1)});
  hive.Create(RegHive::Locate(RegRoot::CurrentUser, "Empty\\Leaf"));

  for (RegFileFormat format :
       {RegFileFormat::kRegedit4, RegFileFormat::kVersion5Utf16, RegFileFormat::kVersion5Utf8}) {
    RegFileFormat used;
    const std::string text = WriteRegFile(hive, format, &used);
    EXPECT_EQ(used, format);
    RegHive back;
    const RegFileParse parse = ParseRegFile(text, &back);
    ASSERT_TRUE(parse.ok);
    EXPECT_TRUE(parse.warnings.empty());
    RegHive::Key* k = back.Find(RegHive::Locate(RegRoot::LocalMachine, "SOFTWARE\\V"));
    ASSERT_NE(k, nullptr);
    ASSERT_EQ(k->values.size(), key->values.size());
    for (size_t i = 0; i < k->values.size(); ++i) {
      EXPECT_EQ(k->values[i].first, key->values[i].first);
      EXPECT_EQ(k->values[i].second.type, key->values[i].second.type);
      EXPECT_EQ(k->values[i].second.data, key->values[i].second.data);
    }
    EXPECT_NE(back.Find(RegHive::Locate(RegRoot::CurrentUser, "Empty\\Leaf")), nullptr);
  }
}

TEST(RegFile, AnAnsiFileThatCannotHoldTheTextBecomesUtf16) {
  RegHive hive;
  hive.Create(RegHive::Locate(RegRoot::CurrentUser, "K"))
      ->SetValue("n", {kRegSz, RegStringData("日本")});
  RegFileFormat used;
  const std::string text = WriteRegFile(hive, RegFileFormat::kRegedit4, &used);
  EXPECT_EQ(used, RegFileFormat::kVersion5Utf16);
  RegHive back;
  ASSERT_TRUE(ParseRegFile(text, &back).ok);
  EXPECT_EQ(Text(Value(back, RegRoot::CurrentUser, "K", "n")), "日本");
}

TEST(RegFile, AnAnsiFileThatCannotHoldAnOddByteBecomesUtf16) {
  // Expandable and multi-string data of an odd length (a program wrote one byte more than
  // its text): ANSI text would lose that byte, so the file is written in UTF-16.
  for (const uint32_t type : {kRegExpandSz, kRegMultiSz}) {
    RegHive hive;
    const std::vector<uint8_t> data = {'%', 0, 'T', 0, '%', 0, 0, 0, 0};
    hive.Create(RegHive::Locate(RegRoot::CurrentUser, "K"))->SetValue("n", {type, data});
    RegFileFormat used;
    const std::string text = WriteRegFile(hive, RegFileFormat::kRegedit4, &used);
    EXPECT_EQ(used, RegFileFormat::kVersion5Utf16);
    RegHive back;
    ASSERT_TRUE(ParseRegFile(text, &back).ok);
    const RegValue* value = Value(back, RegRoot::CurrentUser, "K", "n");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->data, data);
  }
}

TEST(RegFile, CarriesAMegabyteValue) {
  RegHive hive;
  std::vector<uint8_t> big(1 << 20);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
  hive.Create(RegHive::Locate(RegRoot::CurrentUser, "Big"))->SetValue("blob", {kRegBinary, big});
  RegHive back;
  ASSERT_TRUE(ParseRegFile(WriteRegFile(hive, RegFileFormat::kVersion5Utf8), &back).ok);
  EXPECT_EQ(Value(back, RegRoot::CurrentUser, "Big", "blob")->data, big);
}

}  // namespace
}  // namespace orvo::os
