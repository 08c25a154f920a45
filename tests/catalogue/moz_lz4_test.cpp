// Firefox's "mozLz40" files: what the program writes reads back through a second,
// hand-written LZ4 reader; a file made by the format's rules without liblz4 reads; damaged
// files are refused with a reason and never read out of bounds.
#include <gtest/gtest.h>

#include <random>

#include "catalogue/moz_lz4.h"
#include "firefox_check.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

std::string Sample(const char* name) {
  return test::ReadHostFile(std::string(ORVO_SOURCE_DIR) + "/tests/catalogue/data/" + name);
}

std::string Header(uint32_t size) {
  std::string h(kMozLz4Magic);
  for (int shift = 0; shift < 32; shift += 8) h += static_cast<char>((size >> shift) & 0xFF);
  return h;
}

TEST(MozLz4, WhatItWritesReadsBackThroughASecondReader) {
  std::mt19937 random(7);
  std::string noise(70000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string json = "{\"app-profile\":{\"addons\":{";
  for (int i = 0; i < 2000; ++i)
    json += "\"addon" + std::to_string(i) + "@x\":{\"enabled\":true,\"path\":\"a.xpi\"},";
  json += "\"\u00fcbersetzer@x\":{}}}}";
  for (const std::string& data :
       {std::string(), std::string("{}"), std::string(300000, 'a'), noise, json}) {
    std::string why;
    const auto file = EncodeMozLz4(data, &why);
    ASSERT_TRUE(file) << why;
    EXPECT_EQ(file->substr(0, 12), Header(static_cast<uint32_t>(data.size())));
    EXPECT_EQ(test::DecodeMozLz4ByHand(*file), data);
    EXPECT_EQ(DecodeMozLz4(*file, &why).value_or("<failed>"), data) << why;
  }
}

TEST(MozLz4, ReadsAFileMadeByTheFormatsRulesWithoutLiblz4) {
  std::string why;
  const auto text = DecodeMozLz4(Sample("startup-cache-sample.json.lz4"), &why);
  ASSERT_TRUE(text) << why;
  EXPECT_EQ(*text, Sample("startup-cache-sample.json"));
  EXPECT_EQ(test::DecodeMozLz4ByHand(Sample("startup-cache-sample.json.lz4")), *text);
}

TEST(MozLz4, RefusesDamagedFilesWithTheirReason) {
  const std::string good = Sample("startup-cache-sample.json.lz4");
  std::string wrong_magic = good;
  wrong_magic[3] = 'X';
  std::string longer = good;  // the header claims one byte more than the block gives
  longer[8] = static_cast<char>(static_cast<unsigned char>(longer[8]) + 1);
  std::string shorter = good;
  shorter[8] = static_cast<char>(static_cast<unsigned char>(shorter[8]) - 1);
  std::string far_back =
      Header(100) + std::string("\x1F", 1) + "a" + std::string("\xFF\x7F", 2) + "\x50" + "bbbbb";
  struct Case {
    const char* what;
    std::string file;
    const char* reason;
  };
  const Case cases[] = {
      {"empty", "", "not a mozLz40 file"},
      {"magic only", std::string(kMozLz4Magic), "not a mozLz40 file"},
      {"other magic", wrong_magic, "not a mozLz40 file"},
      {"a frame, not a block", std::string("\x04\x22\x4D\x18", 4) + good.substr(4),
       "not a mozLz40 file"},
      {"4 GB stated", Header(0xFFFFFFFFu) + good.substr(12), "more than a startup cache can"},
      {"cut short", good.substr(0, good.size() / 2), "damaged"},
      {"one byte more stated", longer, "LZ4 block"},
      {"one byte less stated", shorter, "LZ4 block"},
      {"offset before the start", far_back, "damaged"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(DecodeMozLz4(c.file, &why)) << c.what;
    EXPECT_NE(why.find(c.reason), std::string::npos) << c.what << ": " << why;
  }
}

}  // namespace
}  // namespace orvo
