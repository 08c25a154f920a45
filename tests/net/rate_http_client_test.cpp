// The rating service's HTTP client: its form encoding, and its requests as a real server
// on loopback receives them.
#include <gtest/gtest.h>

#include <chrono>

#include "net/rate_http_client.h"
#include "net/transfer_limits.h"
#include "support/loopback_server.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;

struct FormCase {
  std::vector<std::string> fields;
  std::string body;
};

TEST(FormBody, EncodesValuesExactly) {
  const FormCase cases[] = {
      {{"plug_id=abc", "content=a b&c"}, "plug_id=abc&content=a%20b&c"},
      {{"nickname=\xC3\xA9"}, "nickname=%C3%A9"},
      {{"content=[x]"}, "content=%5Bx%5D"},
      {{"content=*#%<>"}, "content=%2A%23%25%3C%3E"},
      {{"content=&=+\"',;/?:@!$()~_.-"}, "content=&=+\"',;/?:@!$()~_.-"},
      {{"key=abc"}, "key=abc"},                                         // one field: no "&"
      {{"a=b=c"}, "a=b=c"},                                             // split at the first "="
      {{"a=1", "flag", "b=2"}, "a=1&flag&b=2"},                         // no "=": sent as it is
      {{std::string("v=\t\r\n\x7F", 6) + '\0'}, "v=%09%0D%0A\x7F%00"},  // DEL is not below "!"
      {{"v=\xF0\x9F\x98\x80"}, "v=%F0%9F%98%80"},  // one character beyond U+FFFF
      {{"v=\xFF"}, "v=%EF%BF%BD"},                 // broken UTF-8
      {{" name=x "}, "name=x%20"},                 // the body is trimmed
      {{"a=1", " "}, "a=1&"},
      {{"\xC3\xA9=1"}, "?=1"},  // a name is made ASCII
      {{"key="}, "key="},
      {{}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeFormBody(c.fields), c.body) << testing::PrintToString(c.fields);
  }
}

class RateHttpClientTest : public testing::Test {
 protected:
  test::TestMachine machine_;
  LoopbackServer server_;
  TRateHttpClient client_;
  std::string reply_ = "left over from an earlier request";
};

TEST_F(RateHttpClientTest, PostFormSendsAnHttp10FormWithTheFixedHeaders) {
  server_.Serve("/plugin/index.php", "{\"msg\":5}", 200, "text/html");
  ASSERT_TRUE(client_.PostForm(server_.Url("/plugin/index.php?to=get_comments"),
                               {"plug_id=42", "content=a b&c", "key="}, reply_));
  EXPECT_EQ(reply_, "{\"msg\":5}");
  const auto r = server_.Last("/plugin/index.php");
  EXPECT_EQ(r.method, "POST");
  EXPECT_EQ(r.target, "/plugin/index.php?to=get_comments");
  EXPECT_EQ(r.version, "HTTP/1.0");
  EXPECT_EQ(r.body, "plug_id=42&content=a%20b&c&key=");
  EXPECT_EQ(r.Header("Content-Length"), std::to_string(r.body.size()));
  EXPECT_EQ(r.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; Maxthon)");
  // The server trims the content type's trailing blank, if it kept it.
  const std::string type = r.Header("Content-Type").value_or("");
  EXPECT_TRUE(type == "application/x-www-form-urlencoded " ||
              type == "application/x-www-form-urlencoded")
      << type;
  EXPECT_FALSE(r.Header("Expect"));
  EXPECT_FALSE(r.Header("Accept"));
  EXPECT_FALSE(r.Header("Cookie"));
  EXPECT_FALSE(r.Header("Cache-Control"));
}

TEST_F(RateHttpClientTest, PostOfAnEmptyFormSendsNoBody) {
  server_.Serve("/plugin/index.php", "{\"msg\":13,\"key\":\"k\"}");
  ASSERT_TRUE(client_.PostForm(server_.Url("/plugin/index.php?to=get_captcha"), {}, reply_));
  EXPECT_EQ(reply_, "{\"msg\":13,\"key\":\"k\"}");
  const auto r = server_.Last("/plugin/index.php");
  EXPECT_EQ(r.body, "");
  EXPECT_EQ(r.Header("Content-Length").value_or("0"), "0");
}

TEST_F(RateHttpClientTest, GetPageSendsAnHttp11GetWithoutBody) {
  server_.Serve("/page", "page body");
  ASSERT_TRUE(client_.GetPage(server_.Url("/page?x=1"), reply_));
  EXPECT_EQ(reply_, "page body");
  const auto r = server_.Last("/page");
  EXPECT_EQ(r.method, "GET");
  EXPECT_EQ(r.target, "/page?x=1");
  EXPECT_EQ(r.version, "HTTP/1.1");
  EXPECT_EQ(r.body, "");
  EXPECT_EQ(r.Header("User-Agent"), std::string(TRateHttpClient::kUserAgent));
}

TEST_F(RateHttpClientTest, ARedirectIsNotFollowed) {
  server_.Serve("/elsewhere", "should not be fetched");
  server_.Redirect("/plugin/index.php", "/elsewhere");
  EXPECT_FALSE(
      client_.PostForm(server_.Url("/plugin/index.php?to=get_plug_info"), {"a=1"}, reply_));
  EXPECT_FALSE(client_.GetPage(server_.Url("/plugin/index.php"), reply_));
  EXPECT_EQ(server_.Count("/elsewhere"), 0u);
  EXPECT_EQ(reply_, "");
}

// Each failure is false; the reply holds what arrived before it, at most the cap.
TEST_F(RateHttpClientTest, FailuresAreFalse) {
  server_.Serve("/error", "server trouble", 500);
  server_.CutShort("/short", "{\"msg\":", 100);
  server_.ServeLarge("/huge", kMaxTransferBytes + 1);
  struct Case {
    std::string url;
    std::string reply;
  };
  const Case cases[] = {
      {server_.Url("/error"), ""},
      {server_.Url("/short"), "{\"msg\":"},
      {[] {
         LoopbackServer gone;
         return gone.Url("/x");
       }(),
       ""},
      {"not a url", ""},
  };
  for (const auto& c : cases) {
    reply_ = "stale";
    EXPECT_FALSE(client_.PostForm(c.url, {"a=1"}, reply_)) << c.url;
    EXPECT_EQ(reply_, c.reply) << c.url;
  }
  EXPECT_FALSE(client_.PostForm(server_.Url("/huge"), {"a=1"}, reply_));
  EXPECT_LE(reply_.size(), kMaxTransferBytes);
}

TEST_F(RateHttpClientTest, AServerThatStallsPastTheTimeOutGivesFalse) {
  server_.ServeLate("/slow", 9s, "{\"msg\":1}");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client_.PostForm(server_.Url("/slow"), {"a=1"}, reply_));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 4500ms);
  EXPECT_LT(took, 8s);
  EXPECT_EQ(reply_, "");
}

TEST_F(RateHttpClientTest, ABodyThatStallsPastTheTimeOutGivesFalseWithWhatArrived) {
  server_.StallMidBody("/stall", "{\"msg\":", 100, 9s);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client_.GetPage(server_.Url("/stall"), reply_));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 4500ms);
  EXPECT_LT(took, 8s);
  // What arrived before the stall, as far as the back end hands it over: WinInet drops a
  // chunk it could not fill.
  EXPECT_EQ(std::string("{\"msg\":").substr(0, reply_.size()), reply_);
}

}  // namespace
}  // namespace orvo
