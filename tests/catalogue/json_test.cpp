// The JSON the browsers' files are written back in, and the escape decoding of names.
#include <gtest/gtest.h>

#include "catalogue/chromium_extensions.h"
#include "catalogue/json_writer.h"

namespace orvo {
namespace {

TEST(JsonWriter, EscapesExactlyAsTheBrowsersFilesAreWritten) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"plain", "\"plain\""},
      {"a\"b\\c/d", "\"a\\\"b\\\\c\\/d\""},
      {"\b\t\n\f\r", "\"\\b\\t\\n\\f\\r\""},
      {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\x7f\""},
      {"é€", "\"\\u00e9\\u20ac\""},
      {"😀", "\"\\ud83d\\ude00\""},
      {std::string("nul\0x", 5), "\"nul\\u0000x\""},
      {"bad \xff byte", "\"bad \\ufffd byte\""},
  };
  for (const auto& [in, out] : cases) {
    std::string written;
    AppendJsonString(written, in);
    EXPECT_EQ(written, out);
  }
}

TEST(JsonWriter, KeepsOrderAndValuesAndWritesNoBlanks) {
  const std::string text =
      R"({"z":1,"a":[true,false,null,-5,18446744073709551615,1.5,0.1,1e+100],"m":{"k":"v","e":{}},"b":[]})";
  auto doc = ParseJsonDocument(text);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(WriteCompactJson(doc->value), text);
  // Floating-point values come back in their shortest exact form.
  auto floats = ParseJsonDocument(R"({"x":1.50,"y":2.0e0,"z":13101234567890123.0})");
  EXPECT_EQ(WriteCompactJson(floats->value), R"({"x":1.5,"y":2.0,"z":1.3101234567890124e+16})");
}

TEST(JsonDocument, RefusesWhatIsNotAJsonObject) {
  for (const std::string bad :
       {"", "[]", "\"s\"", "{", "{\"a\":}", "{} trailing", "\xEF\xBB\xBF"}) {
    EXPECT_EQ(ParseJsonDocument(bad), nullptr) << bad;
  }
  EXPECT_NE(ParseJsonDocument("\xEF\xBB\xBF{\"a\":1}"), nullptr);
  EXPECT_EQ(ParseJsonDocument(std::string(600, '[') + std::string(600, ']')), nullptr);
}

TEST(DecodeUnicodeEscapes, ReplacesWhatIsLeftAfterParsing) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Color Picker \\u0050ro", "Color Picker Pro"},
      {"\\u0041\\u0062c", "Abc"},
      {"caf\\u00E9", "café"},
      {"\\ud83d\\ude00", "😀"},  // a pair of escapes is one character
      {"\\u005cu0041", "A"},    // a decoded backslash starts a new escape
      {"bad \\u12G4 and \\u12", "bad \\u12G4 and \\u12"},  // left as it is
      {"\\u", "\\u"},
      {"trailing \\u004", "trailing \\u004"},
      {"no escapes", "no escapes"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(DecodeUnicodeEscapes(in), out) << in;
}

}  // namespace
}  // namespace orvo

namespace orvo {
namespace {

TEST(JsonObjectMap, LargeObjectsKeepTheirOrderAndFindEveryMember) {
  std::string text = "{";
  for (int i = 0; i < 300; ++i)
    text += (i ? ",\"k" : "\"k") + std::to_string(299 - i) + "\":" + std::to_string(i);
  text += ",\"k5\":\"duplicate keys keep the first place\"}";
  auto doc = ParseJsonDocument(text);
  ASSERT_NE(doc, nullptr);
  Json& obj = doc->value;
  EXPECT_EQ(obj.size(), 300u);
  EXPECT_EQ(obj.begin().key(), "k299");
  for (int i = 0; i < 300; ++i) ASSERT_TRUE(obj.contains("k" + std::to_string(i))) << i;
  EXPECT_FALSE(obj.contains("k300"));

  // Erasing moves the members behind; every lookup must still land on the right one.
  obj.erase("k150");
  obj.erase("k0");
  EXPECT_EQ(obj.size(), 298u);
  EXPECT_FALSE(obj.contains("k150"));
  EXPECT_EQ(obj["k149"], 150);
  obj["new"] = true;
  EXPECT_EQ(std::prev(obj.end()).key(), "new");
  EXPECT_EQ(obj.find("k1")->get<int>(), 298);

  Json copy = obj;
  copy.erase("k1");
  EXPECT_TRUE(obj.contains("k1"));
  EXPECT_FALSE(copy.contains("k1"));
  EXPECT_EQ(copy["k2"], 297);
}

}  // namespace
}  // namespace orvo
