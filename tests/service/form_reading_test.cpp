// The readers of form bodies, id lists and field values, in process: the program's form
// encoder leaves "&", "=" and "+" unescaped, and these must not cut or change a review.
#include <gtest/gtest.h>

#include "service/field_values.h"
#include "service/form_body.h"
#include "service/plug_id_list.h"

namespace orvo::service {
namespace {

using enum Marker;
constexpr FieldSpec kAddComment[] = {{"plug_id", kFirst}, {"nickname", kFirst}, {"content", kFirst},
                                     {"ver", kLast},      {"score", kLast},     {"key", kLast}};

struct BodyCase {
  const char* body;
  const char* nickname;
  const char* content;
  const char* ver;
  const char* score;
  const char* key;
};

TEST(FormBody, AddCommentBodiesAsTheProgramSendsThem) {
  const BodyCase cases[] = {
      {"plug_id=42&nickname=Ann&content=Good%20tool&ver=1.2&score=4&key=k1", "Ann", "Good tool",
       "1.2", "4", "k1"},
      {"plug_id=42&nickname=Ann&content=a%20b&c=d&ver=1.2&score=4&key=k1", "Ann", "a b&c=d", "1.2",
       "4", "k1"},
      {"plug_id=42&nickname=A&content=x&ver=9&score=1&key=fake&ver=1.2&score=4&key=k1", "A",
       "x&ver=9&score=1&key=fake", "1.2", "4", "k1"},
      {"plug_id=42&nickname=A&B&content=1+1=2&ver=1.2&score=4&key=k1", "A&B", "1+1=2", "1.2", "4",
       "k1"},
      {"plug_id=42&nickname=%C3%A9%c3%a9&content=100%&ver=1.2&score=4&key=", "\xC3\xA9\xC3\xA9",
       "100%", "1.2", "4", ""},
      {"junk&plug_id=42&nickname=&content=&ver=&score=5&key=k", "", "", "", "5", "k"},
  };
  for (const BodyCase& c : cases) {
    SCOPED_TRACE(c.body);
    const FormFields fields = ReadFormBody(c.body, kAddComment);
    EXPECT_EQ(fields.at("plug_id"), "42");
    EXPECT_EQ(fields.at("nickname"), c.nickname);
    EXPECT_EQ(fields.at("content"), c.content);
    EXPECT_EQ(fields.at("ver"), c.ver);
    EXPECT_EQ(fields.at("score"), c.score);
    EXPECT_EQ(fields.at("key"), c.key);
  }
}

TEST(FormBody, MissingFieldsStayMissing) {
  const FormFields fields = ReadFormBody("plug_id=1&score=3", kAddComment);
  EXPECT_EQ(fields.size(), 2u);
  EXPECT_FALSE(fields.contains("key"));
  EXPECT_TRUE(ReadFormBody("", kAddComment).empty());
}

TEST(FormBody, PercentDecoding) {
  EXPECT_EQ(PercentDecode("%5B%22a%22%5D"), "[\"a\"]");
  EXPECT_EQ(PercentDecode("%zz%4"), "%zz%4");
  EXPECT_EQ(PercentDecode("a+b%2Bc%"), "a+b+c%");
  EXPECT_EQ(PercentDecode("%F0%9F%98%80"), "\xF0\x9F\x98\x80");
}

TEST(PlugIdList, ReadsJsonAndTheUnescapedForm) {
  struct Case {
    const char* text;
    std::optional<std::vector<std::string>> ids;
  };
  using V = std::vector<std::string>;
  const Case cases[] = {
      {R"(["a","b"])", V{"a", "b"}},
      {R"([ "a" , "b" ])", V{"a", "b"}},
      {"[]", V{}},
      {R"(["a\"b","c\\d"])", V{"a\"b", "c\\d"}},                       // escaped: the mended client
      {R"(["C:\x","@x/y,version=2"])", V{"C:\\x", "@x/y,version=2"}},  // as built, unescaped
      {R"(["a"b","c"])", V{"a\"b", "c"}},
      {R"([1,"a",null,["x"],{"k":"y"}])", V{"a"}},
      {R"({"a":1})", std::nullopt},
      {R"("a")", std::nullopt},
      {"", std::nullopt},
      {"[", std::nullopt},
      {"[\"a\",", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadPlugIdList(c.text), c.ids);
  }
}

TEST(FieldValues, WholeNumbersAreDigitsOnly) {
  struct Case {
    const char* text;
    std::optional<int64_t> value;
  };
  const Case cases[] = {{"0", 0},
                        {"42", 42},
                        {"007", 7},
                        {"-1", std::nullopt},
                        {"1e3", std::nullopt},
                        {" 7", std::nullopt},
                        {"0x10", std::nullopt},
                        {"", std::nullopt},
                        {"4.5", std::nullopt},
                        {"99999999999999999999", std::nullopt},
                        {"1000", std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseWholeNumber(c.text, 0, 999), c.value);
  }
}

TEST(FieldValues, LengthsCountUtf16Units) {
  EXPECT_EQ(Utf16Units("abc"), 3u);
  EXPECT_EQ(Utf16Units("\xC3\xA9\xE2\x82\xAC"), 2u);  // é €
  EXPECT_EQ(Utf16Units("a\xF0\x9F\x98\x80"), 3u);     // a 😀 (a surrogate pair)
  EXPECT_EQ(TruncateUtf16Units("a\xF0\x9F\x98\x80"
                               "b",
                               2),
            "a");
  EXPECT_EQ(TruncateUtf16Units("a\xF0\x9F\x98\x80"
                               "b",
                               3),
            "a\xF0\x9F\x98\x80");
  EXPECT_EQ(TruncateUtf16Units("\xC3\xA9\xC3\xA9", 1), "\xC3\xA9");
  EXPECT_TRUE(IsStorableText("\xC3\xA9"));
  EXPECT_FALSE(IsStorableText("\xFF"));
  EXPECT_FALSE(IsStorableText(std::string_view("a\0b", 3)));
}

}  // namespace
}  // namespace orvo::service
