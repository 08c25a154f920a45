// The ratings window's chains against the service: every request body as it goes on the
// wire, "unknown" leading to add_plug and "stored" to the refresh of the ratings, pages
// of reviews, votes and reports, and what unreadable replies and failed requests give.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "rating/chain_fixture.h"
#include "rating/review_steps.h"

namespace orvo {
namespace {

using namespace std::chrono_literals;
using test::ChainTest;
using test::RecordingWindow;
using test::ResultLine;
using Events = std::vector<std::string>;

TRatedPlug TabTidy(std::string id = "tabtidy") {
  return TRatedPlug{1, std::move(id), "Tab Tidy", "Keeps tabs tidy", "1.2"};
}

class ReviewStepsTest : public ChainTest {
 protected:
  std::shared_ptr<TRateSession> Gone() {
    std::string url;
    {
      test::LoopbackServer closed;
      url = closed.Url("");
    }
    return std::make_shared<TRateSession>(url);
  }

  RecordingWindow window_;
};

TEST_F(ReviewStepsTest, OpeningAnUnknownAddOnRegistersItThenListsItsReviews) {
  Wait(StartPlugInfo(TabTidy(), window_.anchor.Link(), session_));

  const std::string key = KeyField();
  EXPECT_EQ(service_.Bodies("get_plug_info"),
            Events{"browser_id=1&sort_type=0&plug_id=tabtidy" + key});
  EXPECT_EQ(service_.Bodies("add_plug"),
            Events{"browser_id=1&name=Tab%20Tidy&introduction=Keeps%20tabs%20tidy&plug_id=tabtidy" +
                   key});
  const auto exchanges = service_.Exchanges();
  ASSERT_EQ(exchanges.size(), 4u);
  const std::string id = nlohmann::json::parse(exchanges[2].reply).value("id", "");
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(service_.Bodies("get_comments"),
            Events{"plug_id=" + id + "&start_id=0&sort_type=0" + key});
  EXPECT_EQ(window_.events, (Events{"load ok", "load ok", "ratings " + id + " [0,0,0,0,0] 0.00",
                                    "load ok", "rows 0"}));
  EXPECT_FALSE(window_.off_ui_thread);
}

// A code-1 reply without ratings_cache still names the add-on: the window gets the id it
// pages with, and zero counts.
TEST_F(ReviewStepsTest, AKnownAddOnWithoutRatingsStillGivesItsId) {
  service_.ScriptNext("get_plug_info", R"({"msg":1,"id":"77"})");
  service_.ScriptNext("get_comments", R"({"msg":5,"comment":[]})");
  Wait(StartPlugInfo(TabTidy(), window_.anchor.Link(), session_));
  EXPECT_EQ(window_.events,
            (Events{"load ok", "ratings 77 [0,0,0,0,0] 0.00", "load ok", "rows 0"}));
  EXPECT_EQ(service_.Bodies("get_comments"),
            Events{"plug_id=77&start_id=0&sort_type=0" + KeyField()});
}

TEST_F(ReviewStepsTest, ReviewsComeInPagesInEitherOrder) {
  const std::string id = service_.RegisterPlug(1, "tabtidy");
  for (int i = 0; i < 12; ++i) service_.AddReview(id, 1 + i % 5);
  Wait(StartPlugInfo(TabTidy(), window_.anchor.Link(), session_));
  EXPECT_EQ(window_.events,
            (Events{"load ok", "ratings " + id + " [3,3,2,2,2] 2.75", "load ok", "rows 10 more"}));

  // The service has sent ten reviews: the next page starts after them.
  window_.events.clear();
  Wait(StartComments(id, 0, 10, window_.anchor.Link(), session_));
  // Sorted by date, from the start (the list was cleared).
  Wait(StartComments(id, 1, 0, window_.anchor.Link(), session_));
  EXPECT_EQ(window_.events, (Events{"rows 2", "rows 10 more"}));
  const Events bodies = service_.Bodies("get_comments");
  ASSERT_EQ(bodies.size(), 3u);
  EXPECT_EQ(bodies[1], "plug_id=" + id + "&sort_type=0&start_id=10" + KeyField());
  EXPECT_EQ(bodies[2], "plug_id=" + id + "&sort_type=1&start_id=0" + KeyField());
  ASSERT_EQ(window_.rows.size(), 22u);
  EXPECT_EQ(window_.rows[0].Nickname, "Tester");
  EXPECT_EQ(window_.rows[0].Content, "Fine");
  EXPECT_EQ(window_.rows[0].Date.size(), 10u);
}

TEST_F(ReviewStepsTest, WhatTheOpeningMakesOfRepliesItCannotUse) {
  const struct {
    const char* reply;
    int status;
    Events events;
  } cases[] = {
      {"<html>busy</html>", 200, {"load failed"}},
      {"[1,2]", 200, {"load failed"}},
      {R"({"msg":1,"id":"5"})", 500, {"load failed"}},
      {R"({"msg":0})", 200, {"load ok", ResultLine(rcNotVerified)}},
      {R"({"id":"5"})", 200, {"load ok", ResultLine(rcNotVerified)}},
      {R"({"msg":11})", 200, {"load ok", ResultLine(11)}},
  };
  for (const auto& c : cases) {
    RecordingWindow window;
    service_.ScriptNext("get_plug_info", c.reply, c.status);
    Wait(StartPlugInfo(TabTidy(), window.anchor.Link(), session_));
    EXPECT_EQ(window.events, c.events) << c.reply;
  }
  EXPECT_EQ(service_.Count("add_plug") + service_.Count("get_comments"), 0u);

  // A service that keeps calling the add-on unknown is not asked forever.
  service_.ScriptNext("get_plug_info", R"({"msg":2})");
  service_.ScriptNext("add_plug", R"({"msg":2})");
  Wait(StartPlugInfo(TabTidy(), window_.anchor.Link(), session_));
  EXPECT_EQ(window_.events, (Events{"load ok", "load ok", ResultLine(rcPlugUnknown)}));

  RecordingWindow unreachable;
  Wait(StartPlugInfo(TabTidy(), unreachable.anchor.Link(), Gone()));
  EXPECT_EQ(unreachable.events, Events{"load failed"});
}

TEST_F(ReviewStepsTest, APageThatCannotBeReadChangesNothing) {
  service_.ScriptNext("get_comments", "garbage");
  service_.ScriptNext("get_comments", R"({"msg":6})");  // no array: not even a "more" row
  service_.ScriptNext("get_comments", R"({"msg":0})");
  for (int i = 0; i < 3; ++i) Wait(StartComments("5", 0, 0, window_.anchor.Link(), session_));
  Wait(StartComments("5", 0, 0, window_.anchor.Link(), Gone()));
  EXPECT_EQ(window_.events, Events{ResultLine(rcNotVerified)});
}

TEST_F(ReviewStepsTest, AStoredReviewRefreshesTheRatings) {
  const std::string id = service_.RegisterPlug(1, "tabtidy");
  Wait(StartAddComment(TabTidy(), id, "Ann", "Good tool", 4, window_.anchor.Link(), session_));

  const std::string key = KeyField();
  EXPECT_EQ(service_.Bodies("add_comment"),
            Events{"plug_id=" + id + "&nickname=Ann&content=Good%20tool&ver=1.2&score=4" + key});
  EXPECT_EQ(service_.Bodies("get_plug_info"), Events{"browser_id=1&plug_id=tabtidy" + key});
  const int64_t c_id =
      nlohmann::json::parse(service_.Exchanges()[1].reply).value("c_id", int64_t{0});
  ASSERT_GT(c_id, 0);
  EXPECT_EQ(window_.events, (Events{ResultLine(rcCommentStored, static_cast<intptr_t>(c_id)),
                                    "ratings " + id + " [0,0,0,1,0] 4.00"}));

  // The same user again.
  window_.events.clear();
  Wait(StartAddComment(TabTidy(), id, "Ann", "Again", 5, window_.anchor.Link(), session_));
  EXPECT_EQ(window_.events, Events{ResultLine(rcAlreadyCommented)});
}

TEST_F(ReviewStepsTest, TheReviewBodyForServiceId42) {
  Wait(StartAddComment(TabTidy(), "42", "Ann", "Good tool", 4, window_.anchor.Link(), session_));
  EXPECT_EQ(service_.Exchanges().at(1).body,
            "plug_id=42&nickname=Ann&content=Good%20tool&ver=1.2&score=4&key=" + session_->Key());
  EXPECT_EQ(service_.Exchanges().at(1).action, "add_comment");
  // The service has no add-on 42.
  EXPECT_EQ(window_.events, Events{ResultLine(rcCommentNotStored)});
}

TEST_F(ReviewStepsTest, WhatPostingAReviewMakesOfOtherReplies) {
  const struct {
    const char* reply;
    int status;
    Events events;
  } cases[] = {
      {"not json", 200, {ResultLine(rcUnreadableReply)}},
      {R"({"msg":4,"c_id":9})", 500, {ResultLine(rcUnreadableReply)}},
      {R"({"msg":1,"id":"5","ratings_cache":{"5":1},"ratings_average":5})",
       200,
       {"ratings 5 [0,0,0,0,1] 5.00"}},
      {R"({"msg":1,"id":"5"})", 200, {"ratings 5 [0,0,0,0,0] 0.00"}},
      {R"({"msg":"3"})", 200, {ResultLine(rcCommentNotStored)}},
  };
  for (const auto& c : cases) {
    RecordingWindow window;
    service_.ScriptNext("add_comment", c.reply, c.status);
    Wait(StartAddComment(TabTidy(), "5", "Ann", "Hi", 3, window.anchor.Link(), session_));
    EXPECT_EQ(window.events, c.events) << c.reply;
  }
  // "Stored" twice in one chain is still one review.
  service_.ScriptNext("add_comment", R"({"msg":4,"c_id":9})");
  service_.ScriptNext("get_plug_info", R"({"msg":4,"c_id":9})");
  Wait(StartAddComment(TabTidy(), "5", "Ann", "Hi", 3, window_.anchor.Link(), session_));
  EXPECT_EQ(window_.events, Events{ResultLine(rcCommentStored, 9)});

  RecordingWindow unreachable;
  Wait(StartAddComment(TabTidy(), "5", "Ann", "Hi", 3, unreachable.anchor.Link(), Gone()));
  EXPECT_EQ(unreachable.events, Events{ResultLine(rcUnreadableReply)});
}

TEST_F(ReviewStepsTest, VotesAndReportsAreCountedOncePerUser) {
  const std::string id = service_.RegisterPlug(1, "tabtidy");
  const int64_t review = service_.AddReview(id, 4);
  const auto lparam = static_cast<intptr_t>(review);
  const struct {
    int score;
    uint32_t code;
  } votes[] = {{1, rcVoteStored}, {0, rcAlreadyVoted}, {2, rcReportStored}, {2, rcAlreadyReported}};
  for (const auto& vote : votes)
    Wait(StartVote(review, vote.score, window_.anchor.Link(), session_));

  EXPECT_EQ(window_.events,
            (Events{ResultLine(rcVoteStored, lparam), ResultLine(rcAlreadyVoted, lparam),
                    ResultLine(rcReportStored, lparam), ResultLine(rcAlreadyReported, lparam)}));
  const std::string r = std::to_string(review);
  EXPECT_EQ(service_.Bodies("add_comment_ratings"),
            (Events{"comment_id=" + r + "&score=1" + KeyField(),
                    "comment_id=" + r + "&score=0" + KeyField(),
                    "comment_id=" + r + "&score=2" + KeyField(),
                    "comment_id=" + r + "&score=2" + KeyField()}));

  RecordingWindow unreadable;
  service_.ScriptNext("add_comment_ratings", "oops");
  Wait(StartVote(review, 1, unreadable.anchor.Link(), session_));
  Wait(StartVote(review, 1, unreadable.anchor.Link(), Gone()));
  EXPECT_EQ(unreadable.events,
            (Events{ResultLine(rcUnreadableReply), ResultLine(rcUnreadableReply)}));
}

// The window closes while the opening chain waits for its first reply: the chain hands
// nothing over and asks nothing more (an unknown add-on is not registered).
TEST_F(ReviewStepsTest, AWindowThatHasGoneIsNotReached) {
  for (const bool destroyed : {false, true}) {
    service_.DelayNext("get_plug_info", 300ms);
    const auto events = CloseWindowDuring<RecordingWindow>(
        "get_plug_info", destroyed, [&](std::shared_ptr<TRatingsWindowLink> link) {
          return StartPlugInfo(TabTidy(destroyed ? "gone" : "closed"), std::move(link), session_);
        });
    EXPECT_TRUE(events.empty());
  }
  EXPECT_EQ(service_.Count("get_plug_info"), 2u);
  EXPECT_EQ(service_.Count("add_plug"), 0u);
}

}  // namespace
}  // namespace orvo
