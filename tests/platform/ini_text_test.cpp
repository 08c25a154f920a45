// Initialisation-file encodings: what is accepted as text, and what is refused.
#include <gtest/gtest.h>

#include "platform/ini_text.h"

namespace orvo {
namespace {

TEST(IniText, DecodesTheThreeEncodingsAndRefusesWhatIsNotText) {
  struct Case {
    const char* what;
    std::string bytes;
    bool valid;
    IniEncoding encoding;
    std::string utf8;
  } cases[] = {
      {"UTF-16LE",
       std::string("\xFF\xFE"
                   "a\0=\0\xE9\0\r\0\n\0",
                   12),
       true, IniEncoding::kUtf16Le, "a=é\r\n"},
      {"surrogate pair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), true, IniEncoding::kUtf16Le,
       "😀"},
      {"empty UTF-16", "\xFF\xFE", true, IniEncoding::kUtf16Le, ""},
      {"odd size",
       std::string("\xFF\xFE"
                   "a\0b",
                   5),
       false, IniEncoding::kUtf16Le, ""},
      {"lone high surrogate",
       std::string("\xFF\xFE\x3D\xD8"
                   "a\0",
                   6),
       false, IniEncoding::kUtf16Le, ""},
      {"lone low surrogate", std::string("\xFF\xFE\x00\xDE", 4), false, IniEncoding::kUtf16Le, ""},
      {"NUL unit",
       std::string("\xFF\xFE"
                   "a\0\0\0",
                   6),
       false, IniEncoding::kUtf16Le, ""},
      {"big-endian", std::string("\xFE\xFF\0a", 4), false, IniEncoding::kUtf16Le, ""},
      {"UTF-8",
       "\xEF\xBB\xBF"
       "k=\xC3\xA9",
       true, IniEncoding::kUtf8, "k=é"},
      {"bad UTF-8",
       "\xEF\xBB\xBF"
       "k=\xC3",
       false, IniEncoding::kUtf8, ""},
      {"ANSI", "k=v", true, IniEncoding::kAnsi, "k=v"},
      {"empty", "", true, IniEncoding::kAnsi, ""},
      {"ANSI with NUL", std::string("k=\0v", 4), false, IniEncoding::kAnsi, ""},
  };
  for (const auto& c : cases) {
    const IniText text = DecodeIniBytes(c.bytes);
    EXPECT_EQ(text.valid, c.valid) << c.what;
    EXPECT_EQ(text.encoding, c.encoding) << c.what;
    EXPECT_EQ(text.utf8, c.utf8) << c.what;
  }
}

TEST(IniText, EncodingRoundTrips) {
  for (IniEncoding e : {IniEncoding::kUtf16Le, IniEncoding::kUtf8}) {
    const std::string text = "[Lang]\r\nNativeLanguage=中文(繁體) 😀\r\n";
    const IniText back = DecodeIniBytes(EncodeIniText(text, e));
    EXPECT_TRUE(back.valid);
    EXPECT_EQ(back.encoding, e);
    EXPECT_EQ(back.utf8, text);
  }
  bool lossless = true;
  EXPECT_EQ(DecodeIniBytes(EncodeIniText("k=v", IniEncoding::kAnsi, &lossless)).utf8, "k=v");
  EXPECT_TRUE(lossless);
}

}  // namespace
}  // namespace orvo
