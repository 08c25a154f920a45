// What a public service must refuse: oversized bodies, over-long texts, malformed numbers,
// broken text, floods of reviews and keys; each answered with a code (or 413), and the
// service still serving afterwards.
#include <chrono>

#include "service/service_fixture.h"

namespace orvo::service::test {
namespace {

std::string Repeat(std::string_view part, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += part;
  return out;
}

class ServiceLimits : public ServiceTest {
 protected:
  void SetUp() override {
    Start({.extra_args = {"--reviews-per-minute", "0", "--keys-per-minute", "0"}});
    key_ = NewKey();
    plug_ = AddPlug(key_, "limits");
  }
  // Posts a review by a new user with the encoded nickname and content.
  int Review(const std::string& nickname, const std::string& content, std::string score = "4",
             std::string ver = "1.0") {
    return Code("add_comment", "plug_id=" + std::to_string(plug_) + "&nickname=" + nickname +
                                   "&content=" + content + "&ver=" + ver + "&score=" + score +
                                   "&key=" + NewKey());
  }

  std::string key_;
  int64_t plug_ = 0;
};

TEST_F(ServiceLimits, TextLengthsAreCountedInUtf16Units) {
  const std::string smiley = "%F0%9F%98%80";  // two UTF-16 units
  struct Case {
    std::string nickname, content;
    int code;
  };
  const Case cases[] = {
      {Repeat("a", 25), "", 4},
      {Repeat("a", 26), "", 3},
      {Repeat("a", 23) + smiley, "", 4},
      {Repeat("a", 24) + smiley, "", 3},
      // 2000 accented letters: 12000 bytes encoded, beyond the HTTP library's form cap.
      {"", Repeat("%C3%A9", 2000), 4},
      {"", Repeat("%C3%A9", 2001), 3},
      {"", Repeat("x", 1998) + smiley, 4},
      {"", Repeat("x", 1999) + smiley, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nickname.size() + c.content.size());
    EXPECT_EQ(Review(c.nickname, c.content), c.code);
  }
  EXPECT_EQ(Review("", "", "4", Repeat("9", 65)), 3);
}

TEST_F(ServiceLimits, MalformedNumbersAndTextGetACode) {
  for (const char* score : {"0", "6", "x", "4.5", "", "-4", "4%00", "99999999999999999999"}) {
    SCOPED_TRACE(score);
    EXPECT_EQ(Review("n", "c", score), 3);
  }
  for (const char* text : {"%FF", "a%00b", "%C3"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Review(text, "c"), 3);
    EXPECT_EQ(Review("n", text), 3);
  }
  const std::string k = "&key=" + key_;
  const std::pair<const char*, std::string> zero_cases[] = {
      {"add_comment", "plug_id=abc&nickname=&content=&ver=&score=4" + k},
      {"get_comments", "plug_id=x&sort_type=0&start_id=0" + k},
      {"get_comments", "plug_id=1&sort_type=2&start_id=0" + k},
      {"get_comments", "plug_id=1&sort_type=0&start_id=-1" + k},
      {"get_comments", "plug_id=0&sort_type=0&start_id=0" + k},
      {"get_plug_info", "browser_id=2&plug_id=limits" + k},
      {"get_plug_info", "browser_id=x&plug_id=limits" + k},
      {"get_plug_info", "browser_id=1&plug_id=" + k},
      {"get_plug_info", "browser_id=1&plug_id=" + Repeat("p", 513) + k},
      {"add_plug", "browser_id=9&name=n&introduction=i&plug_id=p" + k},
      {"add_plug", "browser_id=1&name=%FF&introduction=i&plug_id=p" + k},
  };
  for (const auto& [action, body] : zero_cases) {
    SCOPED_TRACE(body);
    const int expected = std::string_view(action) == "add_comment" ? 3 : 0;
    EXPECT_EQ(Code(action, body), expected);
  }
  EXPECT_EQ(CountRows("SELECT count(*) FROM reviews"), 0);
  EXPECT_EQ(CountRows("SELECT count(*) FROM plugs"), 1);
}

TEST_F(ServiceLimits, LongAddonNamesAreCut) {
  EXPECT_EQ(Code("add_plug", "browser_id=1&name=" + Repeat("N", 300) + "&introduction=" +
                                 Repeat("%C3%A9", 1100) + "&plug_id=long-names&key=" + key_),
            1);
  EXPECT_EQ(CountRows("SELECT length(name) FROM plugs WHERE plug_key = 'long-names'"), 256);
  EXPECT_EQ(CountRows("SELECT length(introduction) FROM plugs WHERE plug_key = 'long-names'"),
            1024);
}

TEST_F(ServiceLimits, BodiesOver64KbAreRefused) {
  const std::string big = "plug_id=" + std::to_string(plug_) +
                          "&nickname=&content=" + Repeat("x", 70 * 1024) +
                          "&ver=&score=4&key=" + key_;
  EXPECT_EQ(PostRaw("add_comment", big).status, 413);
  const std::string fits = "junk=" + Repeat("j", 60 * 1024) + "&plug_id=" + std::to_string(plug_) +
                           "&nickname=&content=&ver=&score=4&key=" + key_;
  EXPECT_EQ(Code("add_comment", fits), 4);
  EXPECT_EQ(CountRows("SELECT count(*) FROM reviews"), 1);
}

TEST_F(ServiceLimits, BrokenRequestsLeaveTheServiceServing) {
  const std::string requests[] = {
      "POST /plugin/index.php?to=add_comment HTTP/1.0\r\nContent-Length: 100\r\n\r\nplug_id=1",
      "POST /plugin/index.php?to=add_comment HTTP/1.0\r\nContent-Length: -5\r\n\r\n",
      "POST /plugin/index.php?to=add_comment HTTP/1.0\r\nContent-Length: "
      "99999999999999999999\r\n\r\n",
      "POST /plugin/index.php?to=get_captcha HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
      "GET /" + Repeat("a", 20000) + " HTTP/1.0\r\n\r\n",
      "\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03 binary junk",
      "POST /plugin/index.php?to=%00%ff HTTP/1.0\r\nContent-Length: 0\r\n\r\n",
  };
  for (const std::string& request : requests) harness::RawExchange(port(), request, 2000, true);
  EXPECT_EQ(NewKey().size(), 32u);
}

TEST_F(ServiceLimits, RequestsItCannotReadAreAnsweredAndTheConnectionClosed) {
  // Clients of the old protocol read an answer until the connection closes; one kept open
  // after a 400 leaves them waiting the whole keep-alive time (five seconds).
  for (const char* request : {"BREW / HTTP/1.0\r\n\r\n", "GET /a b HTTP/1.0\r\n\r\n"}) {
    const auto start = std::chrono::steady_clock::now();
    const std::string reply = harness::RawExchange(port(), request, 4000, false);
    EXPECT_TRUE(reply.starts_with("HTTP/1.1 400")) << reply;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << request;
  }
  EXPECT_EQ(NewKey().size(), 32u);
}

class FloodLimits : public ServiceTest {};

TEST_F(FloodLimits, ReviewsAndKeysPerMinute) {
  Start({.extra_args = {"--reviews-per-minute", "2", "--keys-per-minute", "3"}});
  const std::string key = NewKey(), other = NewKey();
  const int64_t a = AddPlug(key, "a"), b = AddPlug(key, "b"), c = AddPlug(key, "c");
  EXPECT_GT(AddReview(key, a, 5), 0);
  EXPECT_GT(AddReview(key, b, 5), 0);
  // The third review of one key within the minute is not stored.
  EXPECT_EQ(Code("add_comment",
                 "plug_id=" + std::to_string(c) + "&nickname=&content=&ver=&score=5&key=" + key),
            3);
  EXPECT_GT(AddReview(other, c, 5), 0);
  EXPECT_EQ(NewKey().size(), 32u);
  EXPECT_EQ(MsgOf(Post("get_captcha", "")), 0);  // the fourth key within the minute
}

}  // namespace
}  // namespace orvo::service::test
