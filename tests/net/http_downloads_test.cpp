// The plain downloads against a real server on loopback: natively through libcurl, in the
// Windows test executable through WinInet (under Wine), with the same expectations.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/ansi_code_page.h"
#include "platform/platform.h"
#include "net/http_downloads.h"
#include "net/transfer_limits.h"
#include "support/loopback_server.h"
#include "support/png_samples.h"
#include "support/test_machine.h"

namespace orvo {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;

// A URL nobody answers: the port of a server that has gone.
std::string ClosedUrl() {
  LoopbackServer gone;
  return gone.Url("/nothing");
}

class HttpDownloadsTest : public testing::Test {
 protected:
  test::TestMachine machine_;
  LoopbackServer server_;
};

TEST_F(HttpDownloadsTest, TextRequestCarriesTheCharsetHeaderAndNoAgent) {
  server_.Serve("/notice.ini", "[Update]\r\nVer=1.2\r\n");
  EXPECT_EQ(HttpGetText(server_.Url("/notice.ini?lang=en")), "[Update]\r\nVer=1.2\r\n");
  const auto r = server_.Last("/notice.ini");
  EXPECT_EQ(r.method, "GET");
  EXPECT_EQ(r.target, "/notice.ini?lang=en");
  EXPECT_EQ(r.version, "HTTP/1.1");
  EXPECT_EQ(r.Header("Accept-Charset"), "utf-8");
  EXPECT_EQ(r.Header("Accept"), "*/*");
  EXPECT_EQ(r.Header("User-Agent").value_or(""), "");
  EXPECT_EQ(r.body, "");
}

TEST_F(HttpDownloadsTest, TextIsCutAtTheFirstZeroByte) {
  server_.Serve("/zero", std::string("abc\0def", 7));
  EXPECT_EQ(HttpGetText(server_.Url("/zero")), "abc");
}

TEST_F(HttpDownloadsTest, TextIsReadInTheAnsiCodePageNotAsUtf8) {
  server_.Serve("/utf8", "caf\xC3\xA9");
  const std::string text = HttpGetText(server_.Url("/utf8"));
  EXPECT_EQ(text, os::AnsiToUtf8("caf\xC3\xA9"));
  EXPECT_NE(text, "caf\xC3\xA9");
  if (machine_.sandbox()) {
    EXPECT_EQ(text, "caf\xC3\x83\xC2\xA9");  // "cafÃ©"
  }
}

TEST_F(HttpDownloadsTest, AnErrorPageComesBackAsText) {
  server_.Serve("/missing", "not here", 404);
  EXPECT_EQ(HttpGetText(server_.Url("/missing")), "not here");
}

TEST_F(HttpDownloadsTest, DownloadsFollowRedirects) {
  server_.Serve("/new", "moved text");
  server_.Redirect("/old", "/new");
  EXPECT_EQ(HttpGetText(server_.Url("/old")), "moved text");
}

// Every way a text download can fail gives empty text, never a part of the body.
TEST_F(HttpDownloadsTest, FailuresGiveEmptyText) {
  server_.CutShort("/short", std::string(3000, 'a'), 10000);
  server_.ServeLarge("/huge", kMaxTransferBytes + 1);
  server_.Serve("/exact", std::string(5000, 'b'));
  for (const std::string& url : {ClosedUrl(), server_.Url("/short"), server_.Url("/huge"),
                                 std::string("not a url"), std::string("ftp://127.0.0.1/x")}) {
    EXPECT_EQ(HttpGetText(url), "") << url;
  }
  EXPECT_EQ(HttpGetText(server_.Url("/exact")).size(), 5000u);
}

TEST_F(HttpDownloadsTest, PictureDownloadDecodesAPng) {
  const std::string png = test::MakePng(16, 12);
  server_.Serve("/icon.png", png, 200, "image/png");
  const auto picture = HttpGetPng(server_.Url("/icon.png"));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width(), 16);
  EXPECT_EQ(picture->height(), 12);
  EXPECT_EQ(picture->PngFile(), png);
  EXPECT_EQ(server_.Last("/icon.png").Header("Accept-Charset"), "utf-8");
}

TEST_F(HttpDownloadsTest, PictureDownloadWithNothingReceivedGivesNone) {
  server_.Serve("/empty.png", "", 200, "image/png");
  EXPECT_FALSE(HttpGetPng(server_.Url("/empty.png")));
  EXPECT_FALSE(HttpGetPng(ClosedUrl()));
  server_.ServeLarge("/huge.png", kMaxTransferBytes + 1);
  EXPECT_FALSE(HttpGetPng(server_.Url("/huge.png")));
}

TEST_F(HttpDownloadsTest, PictureDownloadOfSomethingElseRaisesTheDecoderError) {
  server_.Serve("/page.png", "<html>not found</html>", 404, "text/html");
  EXPECT_THROW(HttpGetPng(server_.Url("/page.png")), PngDecodeError);
  const std::string png = test::MakePng(8, 8);
  server_.CutShort("/cut.png", png.substr(0, png.size() / 2), png.size());
  EXPECT_THROW(HttpGetPng(server_.Url("/cut.png")), PngDecodeError);
}

// The seam's own time-out: a reply that stalls before its headers could not be opened;
// one that stalls in its body is a failed read.
TEST_F(HttpDownloadsTest, ADownloadThatStallsEndsAtItsTimeOut) {
  if (test::UnderWine()) {
    // Wine's InternetOpenUrlW ignores receive time-outs set on the session or the URL
    // handle (Windows inherits the session's); its posts honour them (see the client).
    GTEST_SKIP() << "Wine's WinInet has no receive time-out for InternetOpenUrlW";
  }
  server_.ServeLate("/late", 10s, "too late");
  server_.StallMidBody("/stall", "first part", 1000, 10s);
  const std::pair<std::string, os::TransferStatus> cases[] = {
      {"/late", os::TransferStatus::kCannotOpen},
      {"/stall", os::TransferStatus::kReadFailed},
  };
  for (const auto& [path, status] : cases) {
    os::DownloadRequest request;
    request.url = server_.Url(path);
    request.max_bytes = 1 << 20;
    request.receive_timeout_ms = 1000;
    const auto start = std::chrono::steady_clock::now();
    const auto result = os::Current().http().Download(request);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.status, status) << path;
    EXPECT_GE(took, 800ms) << path;
    EXPECT_LT(took, 5s) << path;
  }
}

}  // namespace
}  // namespace orvo
