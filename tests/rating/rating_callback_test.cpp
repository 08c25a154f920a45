// The main window's chain for average ratings: the request as it goes on the wire, each
// rating handed over synchronously with its record, then 65534; unreadable replies are
// 65535, other codes are passed on, a failed request is silent; a record deleted
// meanwhile and a window that has gone are never reached.
#include <gtest/gtest.h>

#include "net/rate_http_client.h"
#include "rating/chain_fixture.h"
#include "rating/rate_requests.h"
#include "rating/rating_callback.h"

namespace orvo {
namespace {

using namespace std::chrono_literals;
using test::ChainTest;
using test::RecordingMainWindow;
using test::ResultLine;
using test::TestCatalogue;

class RatingCallbackTest : public ChainTest {
 protected:
  // Starts the chain and pumps until it has ended.
  void Run(TBrowserAppBase& catalogue) {
    auto ended = StartRateThread(RatingCallback(catalogue, window_.anchor.Link()), {},
                                 reinterpret_cast<intptr_t>(&catalogue), session_);
    Wait(ended);
  }

  RecordingMainWindow window_;
};

TEST_F(RatingCallbackTest, RatingsOfKnownAddOnsReachTheWindowThenTheEnd) {
  const std::string a = service_.RegisterPlug(1, "a");
  service_.AddReview(a, 5);
  service_.AddReview(a, 4);
  service_.RegisterPlug(1, "b");  // known, nobody rated it
  service_.RegisterPlug(3, "c");  // known for another browser only
  TestCatalogue chrome(bkChrome, {"a", "b", "c"});
  window_.also = [&](const TRatingResult& result) {
    if (result.Code() == rcAverageRatings) {
      // Handed over synchronously: the window stores it before the chain goes on.
      result.Record()->Rating = result.Rating();
    }
  };
  Run(chrome);

  EXPECT_EQ(
      service_.Bodies("get_plugs_rating"),
      std::vector<std::string>{R"(browser_id=1&plug_ids_json=%5B"a","b","c"%5D)" + KeyField()});
  EXPECT_EQ(window_.events, (std::vector<std::string>{"rating a 45", "rating b 0",
                                                      ResultLine(rcAllRatingsDelivered)}));
  EXPECT_DOUBLE_EQ(chrome.Items[0]->Rating, 4.5);
  EXPECT_FALSE(window_.off_ui_thread);
}

// Ids with "=" (plug-in ids), quotes and backslashes; Internet Explorer is browser 0.
TEST_F(RatingCallbackTest, AwkwardIdsAreSentAsJsonAndFoundInTheReply) {
  const std::vector<std::string> ids = {"@orvo-demo.example/DemoPlayer,version=2.1",
                                        "quote\"back\\slash",
                                        "{8B7C1A2E-0000-4000-8000-00000000000A}"};
  for (const std::string& id : ids) service_.AddReview(service_.RegisterPlug(0, id), 3);
  TestCatalogue ie(bkIE, ids);
  Run(ie);

  EXPECT_EQ(service_.Bodies("get_plugs_rating"),
            std::vector<std::string>{
                "browser_id=0&plug_ids_json=" + EncodeFormValue(PlugIdsJson(ids)) + KeyField()});
  EXPECT_EQ(window_.events, (std::vector<std::string>{
                                "rating " + ids[0] + " 30", "rating " + ids[1] + " 30",
                                "rating " + ids[2] + " 30", ResultLine(rcAllRatingsDelivered)}));
}

TEST_F(RatingCallbackTest, RepliesThatAreNotRatings) {
  const struct {
    const char* reply;
    int status;
    std::vector<std::string> events;
  } cases[] = {
      {"garbage", 200, {ResultLine(rcUnreadableReply)}},
      {"", 200, {ResultLine(rcUnreadableReply)}},
      {"msg=abc\n", 200, {ResultLine(rcUnreadableReply)}},
      {"msg=65545\n", 200, {ResultLine(rcUnreadableReply)}},
      {"msg=0\n", 200, {ResultLine(rcNotVerified)}},
      {"MSG=5\r\n", 200, {ResultLine(5)}},
      {"msg=9\nb=4.56,12\na=x\nA=1.0,1\nc=7.5,1\n",
       200,
       {"rating b 45", ResultLine(rcAllRatingsDelivered)}},
      {"msg=9\na=4.56\n", 500, {}},  // a failed request: silence
  };
  for (const auto& c : cases) {
    RecordingMainWindow window;
    TestCatalogue chrome(bkChrome, {"a", "b", "c"});
    service_.ScriptNext("get_plugs_rating", c.reply, c.status);
    Wait(StartRateThread(RatingCallback(chrome, window.anchor.Link()), {}, 0, session_));
    EXPECT_EQ(window.events, c.events) << c.reply;
  }
}

TEST_F(RatingCallbackTest, AnUnreachableServiceIsSilent) {
  std::string gone;
  {
    test::LoopbackServer closed;
    gone = closed.Url("");
  }
  TestCatalogue chrome(bkChrome, {"a"});
  Wait(StartRateThread(RatingCallback(chrome, window_.anchor.Link()), {}, 0,
                       std::make_shared<TRateSession>(gone)));
  EXPECT_TRUE(window_.events.empty());
}

TEST_F(RatingCallbackTest, ARecordDeletedMeanwhileIsSkipped) {
  service_.ScriptNext("get_plugs_rating", "msg=9\na=1.0,1\nb=2.0,1\nc=3.0,1\n");
  TestCatalogue chrome(bkChrome, {"a", "b", "c"});
  window_.also = [&](const TRatingResult& result) {
    if (result.Record() && result.Record()->Id == "a") chrome.DeleteItem(chrome.Items[1].get());
  };
  Run(chrome);
  EXPECT_EQ(window_.events, (std::vector<std::string>{"rating a 10", "rating c 30",
                                                      ResultLine(rcAllRatingsDelivered)}));
}

// The window goes while the reply is on its way: nothing reaches it, and the chain ends.
TEST_F(RatingCallbackTest, AWindowThatHasGoneIsNotReached) {
  for (const bool destroyed : {false, true}) {
    service_.ScriptNext("get_plugs_rating", "msg=9\na=1.0,1\n", 200, 300ms);
    TestCatalogue chrome(bkChrome, {"a"});
    const auto events = CloseWindowDuring<RecordingMainWindow>(
        "get_plugs_rating", destroyed, [&](std::shared_ptr<TRatingResultLink> link) {
          return StartRateThread(RatingCallback(chrome, std::move(link)), {}, 0, session_);
        });
    EXPECT_TRUE(events.empty());
  }
}

TEST_F(RatingCallbackTest, ABrowserWithoutAddOnsAsksNothing) {
  TestCatalogue empty(bkOpera, {});
  EXPECT_FALSE(StartRatingRequest(empty, window_.anchor.Link(), session_));
  TestCatalogue opera(bkOpera, {"x"});
  ASSERT_TRUE(StartRatingRequest(opera, window_.anchor.Link(), session_));
  ASSERT_TRUE(ui_.dispatcher().RunUntil([&] { return !window_.events.empty(); }, 60s));
  EXPECT_EQ(window_.events, std::vector<std::string>{ResultLine(rcAllRatingsDelivered)});
  EXPECT_EQ(service_.Bodies("get_plugs_rating"),
            std::vector<std::string>{R"(browser_id=4&plug_ids_json=%5B"x"%5D)" + KeyField()});
}

}  // namespace
}  // namespace orvo
