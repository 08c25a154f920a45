// Connections that do not send their request: silent, stalled in their headers, or with a
// body shorter than announced. The waiting room recognises whole requests, closes stalled
// connections after their time, displaces the longest waiting one beyond the connection
// limit, and refuses oversized headers and bodies unread; meanwhile other clients are
// answered as fast as usual.
#include <chrono>
#include <thread>

#include "service/harness/idle_crowd.h"
#include "service/request_arrival.h"
#include "service/service_fixture.h"

namespace orvo::service::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST(RequestArrival, AWholeRequestIsHeadersAndTheAnnouncedBody) {
  const ArrivalLimits limits{.max_header_bytes = 100, .max_body = 50};
  const std::string post = "POST /p HTTP/1.0\r\nContent-Length: 5\r\n\r\n";
  struct Case {
    std::string bytes;
    bool ended;
    Arrival arrival;
  };
  const Case cases[] = {
      {"", false, Arrival::kIncomplete},
      {"", true, Arrival::kIncomplete},
      {"GET / HTTP/1.0\r\n", false, Arrival::kIncomplete},
      {"GET / HTTP/1.0\r\n\r\n", false, Arrival::kComplete},
      {"GET / HTTP/1.0\r\nHost: a\r\n\r\n", false, Arrival::kComplete},
      {"GET / HTTP/1.0\r\nHost: a\n\r\n", false, Arrival::kComplete},
      {post, false, Arrival::kIncomplete},
      {post + "abcd", false, Arrival::kIncomplete},
      {post + "abcd", true, Arrival::kComplete},  // the server answers what there is
      {post + "abcde", false, Arrival::kComplete},
      {post + "abcdeGET", false, Arrival::kComplete},  // the next request begins
      {"POST /p HTTP/1.0\r\ncontent-length:\t5 \r\n\r\nabcd", false, Arrival::kIncomplete},
      {"POST /p HTTP/1.0\r\nContent-Length: 51\r\n\r\n", false, Arrival::kBodyTooLarge},
      {"POST /p HTTP/1.0\r\nContent-Length: 99999999999999999999999\r\n\r\n", false,
       Arrival::kComplete},  // unreadable length: the server answers 400
      {"POST /p HTTP/1.0\r\nContent-Length: 5x\r\n\r\n", false, Arrival::kComplete},
      {"POST /p HTTP/1.0\r\nTransfer-Encoding: chunked\r\n\r\n", false, Arrival::kComplete},
      {"POST /p HTTP/1.0\r\n\r\nbody", false, Arrival::kIncomplete},  // runs to the end
      {"POST /p HTTP/1.0\r\n\r\nbody", true, Arrival::kComplete},
      {"GET /" + std::string(120, 'x'), false, Arrival::kHeadersTooLarge},
      {"GET / HTTP/1.0\r\nX: " + std::string(90, 'x') + "\r\n\r\n", false,
       Arrival::kHeadersTooLarge},
      {"half a request", true, Arrival::kComplete},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(CheckArrival(c.bytes, c.ended, limits), c.arrival);
  }
}

class ConnectionCrowds : public ServiceTest {
 protected:
  // Milliseconds of the slowest of `count` get_captcha exchanges, or -1 when one failed.
  double SlowestOf(int count) {
    double slowest = 0;
    for (int i = 0; i < count; ++i) {
      const auto start = steady_clock::now();
      const auto reply = harness::RawPost(port(), harness::ActionPath("get_captcha"), "", 20000);
      const std::chrono::duration<double, std::milli> took = steady_clock::now() - start;
      if (!reply.ok || reply.status != 200 || reply.body.find("\"msg\":13") == std::string::npos) {
        return -1;
      }
      slowest = std::max(slowest, took.count());
    }
    return slowest;
  }
};

TEST_F(ConnectionCrowds, FiveHundredIdleConnectionsDoNotDelayOthers) {
  Start({.extra_args = {"--keys-per-minute", "0"}});
  harness::IdleCrowd silent, short_body;
  ASSERT_TRUE(silent.Start(port(), 250, harness::Stall::kSilent));
  ASSERT_TRUE(short_body.Start(port(), 250, harness::Stall::kShortBody));
  // Eight request threads, each held by an idle connection until its time-out, answered
  // nothing for minutes; now a request waits for nobody.
  const double slowest = SlowestOf(100);
  EXPECT_GE(slowest, 0);
  EXPECT_LT(slowest, 1000);
  EXPECT_EQ(silent.closed_by_service() + short_body.closed_by_service(), 0);
}

TEST_F(ConnectionCrowds, StalledConnectionsAreClosedWhenTheirTimeRunsOut) {
  Start({.extra_args = {"--keys-per-minute", "0", "--request-timeout", "1"}});
  harness::IdleCrowd crowds[3];
  const harness::Stall stalls[] = {harness::Stall::kSilent, harness::Stall::kHalfHeaders,
                                   harness::Stall::kShortBody};
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(crowds[i].Start(port(), 20, stalls[i]));
  std::this_thread::sleep_for(milliseconds(2600));
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(crowds[i].closed_by_service(), 20);
    // Not before their time: at most two rounds of closing in 2.6 s.
    EXPECT_LE(crowds[i].closed_by_service(), 60);
  }
  EXPECT_GE(SlowestOf(5), 0);
}

TEST_F(ConnectionCrowds, BeyondTheLimitTheLongestWaitingConnectionMakesRoom) {
  Start({.extra_args = {"--keys-per-minute", "0", "--max-connections", "64"}});
  // A crowd that reconnected the moment it was closed would churn through the room
  // thousands of times a second, and a client held by the scheduler between its connect
  // and its request (as under a sanitizer on a loaded machine) would be churned out with
  // it; the client's own request, sent at once, is what this measures.
  harness::IdleCrowd crowd;
  crowd.Start(port(), 200, harness::Stall::kSilent, /*reconnect=*/false);
  const double slowest = SlowestOf(20);
  EXPECT_GE(slowest, 0);
  EXPECT_LT(slowest, 1000);
  // 136 made room for the rest of the crowd and one for the first request; the others
  // found the place it left. The crowd notices each closing on its own thread.
  for (int i = 0; i < 100 && crowd.closed_by_service() < 137; ++i) {
    std::this_thread::sleep_for(milliseconds(50));
  }
  EXPECT_EQ(crowd.closed_by_service(), 137);
  EXPECT_EQ(crowd.open(), 63);
}

TEST_F(ConnectionCrowds, ShortBodiesOversizedHeadersAndBodiesAreAnswered) {
  Start();
  // A body shorter than announced, then the end: answered as malformed.
  const std::string short_body = harness::RawExchange(
      port(), "POST /plugin/index.php?to=get_captcha HTTP/1.0\r\nContent-Length: 100\r\n\r\nkey=1",
      5000, true);
  EXPECT_TRUE(short_body.starts_with("HTTP/1.1 400 ")) << short_body.substr(0, 60);
  // Oversized parts are refused at once, unread: the client is still sending (or about to).
  const auto start = steady_clock::now();
  const std::string huge_body = harness::RawExchange(
      port(),
      "POST /plugin/index.php?to=get_captcha HTTP/1.0\r\nContent-Length: 1000000000000\r\n\r\n",
      5000);
  EXPECT_TRUE(huge_body.starts_with("HTTP/1.1 413 ")) << huge_body.substr(0, 60);
  const std::string huge_headers = harness::RawExchange(
      port(), "GET /plugin/index.php HTTP/1.0\r\nX-Filler: " + std::string(17 * 1024, 'h'), 5000);
  EXPECT_TRUE(huge_headers.starts_with("HTTP/1.1 431 ")) << huge_headers.substr(0, 60);
  EXPECT_LT(std::chrono::duration<double>(steady_clock::now() - start).count(), 2.0);
  EXPECT_EQ(NewKey().size(), 32u);
}

}  // namespace
}  // namespace orvo::service::test
