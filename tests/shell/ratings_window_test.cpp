// The ratings window walked as a user walks it, against the real rating service with the
// demo reviews: opening (and failing to), the pages and the "more" row, the sort order,
// likes, dislikes and reports, the user's own review, and chains that are still running
// when the window closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/text.h"
#include "platform/ui_dispatcher.h"
#include "platform/win_constants.h"
#include "shell/ratings_fixture.h"
#include "ui/application.h"

namespace orvo::test {
namespace {

using namespace std::chrono_literals;

std::set<int64_t> IdsOf(const std::vector<TReviewItem*>& reviews) {
  std::set<int64_t> ids;
  for (const TReviewItem* r : reviews) ids.insert(r->Id);
  return ids;
}

// The "more" row brought into view and clicked.
void ClickMore(RatingsTest& t, TfrmXOBRate& w) {
  TLumLvItem* more = w.m_lstView->Items(w.m_lstView->ItemCount() - 1);
  w.m_lstView->ScrollIntoView(more);
  t.Pump([] { return true; });
  t.ClickInList(w, more->ItemRect);
}

class RatingsWindowTest : public RatingsTest {
 public:
  // "My Review" with stars, nickname and text filled in by pointer and keyboard.
  void FillInReview(TfrmXOBRate& w, int stars, const std::string& nickname,
                    const std::string& text) {
    ClickOn(*w.btn3, {20, 10});
    ClickOn(*w.img13, {21 * (stars - 1) + 10, 10});
    ClickOn(*w.lmdtnk, {10, 10});
    screen->Type(nickname);
    ClickOn(*w.redt1, {10, 10});
    screen->Type(text);
  }
  void Submit(TfrmXOBRate& w) {
    ClickOn(*w.btn1, {40, 12});
    Settle(w);
  }
};

TEST_F(RatingsWindowTest, OpensWithTheRatingsTheFirstPageAndTheMoreRow) {
  bool walked = false;
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    walked = true;
    EXPECT_FALSE(w.LoadFailed);
    EXPECT_FALSE(w.ServicePlugId.empty());
    int64_t total = 0;
    for (int64_t c : w.StarCounts) total += c;
    EXPECT_EQ(total, kTabTidyReviews);
    for (size_t k = 0; k < 5; ++k) {
      EXPECT_EQ(w.counts[k]->Caption(), std::to_string(w.StarCounts[4 - k])) << k;
    }
    // The average went into the record, for the main list's next paint.
    EXPECT_GT(w.Average(), 3.0);
    EXPECT_DOUBLE_EQ(tab_tidy->Rating, w.Average());
    EXPECT_EQ(w.lbl1->Caption(), "Tab Tidy 2.4.1");
    EXPECT_EQ(w.lbl3->Caption(), "Groups and sorts your open tabs.");
    EXPECT_EQ(Reviews(w).size(), 10u);
    EXPECT_TRUE(HasMoreRow(w));
    EXPECT_EQ(w.ServiceRowsListed(), 10);
    EXPECT_EQ(w.SelectedTab(), 0);
    EXPECT_TRUE(w.m_lstView->Visible());
    EXPECT_FALSE(w.lmpnl1->Visible());
    EXPECT_EQ(w.btn2->BtnStatus(), bsSelect);
    ASSERT_EQ(w.cbb1->ItemCount(), 2);
    EXPECT_EQ(w.cbb1->Items(0)->Caption, "Useful or Not");
    EXPECT_EQ(w.cbb1->Items(1)->Caption, "Date");
    EXPECT_EQ(w.cbb1->index(), 0);
    EXPECT_EQ(w.Caption(), "Ratings");
  }));
  EXPECT_TRUE(walked);
  const auto bodies = service.Bodies("get_comments");
  ASSERT_EQ(bodies.size(), 1u);
  EXPECT_EQ(bodies[0].rfind("plug_id=", 0), 0u);
  EXPECT_NE(bodies[0].find("&start_id=0&sort_type=0&key="), std::string::npos);
  EXPECT_TRUE(TakeToasts().empty());
}

TEST_F(RatingsWindowTest, TheMoreRowBringsEachFurtherPageUntilTheLast) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    ClickMore(*this, w);
    Settle(w);
    EXPECT_EQ(Reviews(w).size(), 20u);
    EXPECT_TRUE(HasMoreRow(w));
    ClickMore(*this, w);
    Settle(w);
    // Code 5: the last page leaves no "more" row.
    EXPECT_EQ(Reviews(w).size(), static_cast<size_t>(kTabTidyReviews));
    EXPECT_FALSE(HasMoreRow(w));
    EXPECT_EQ(IdsOf(Reviews(w)).size(), static_cast<size_t>(kTabTidyReviews));
  }));
  const auto bodies = service.Bodies("get_comments");
  ASSERT_EQ(bodies.size(), 3u);
  EXPECT_NE(bodies[1].find("&sort_type=0&start_id=10&"), std::string::npos) << bodies[1];
  EXPECT_NE(bodies[2].find("&sort_type=0&start_id=20&"), std::string::npos) << bodies[2];
}

TEST_F(RatingsWindowTest, ClickingMoreTwiceQuicklyAsksForThePageOnce) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    service.DelayNext("get_comments", 300ms);
    ClickMore(*this, w);
    ClickMore(*this, w);
    Settle(w);
    EXPECT_EQ(Reviews(w).size(), 20u);
    EXPECT_EQ(IdsOf(Reviews(w)).size(), 20u);
  }));
  EXPECT_EQ(service.Count("get_comments"), 2u);
}

TEST_F(RatingsWindowTest, SortingByDateReloadsFromTheFirstPage) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    ClickMore(*this, w);
    Settle(w);
    w.cbb1->SetIndex(1);
    Settle(w);
    const auto reviews = Reviews(w);
    ASSERT_EQ(reviews.size(), 10u);
    EXPECT_TRUE(HasMoreRow(w));
    EXPECT_EQ(w.ServiceRowsListed(), 10);
    for (size_t i = 1; i < reviews.size(); ++i) {
      EXPECT_GE(reviews[i - 1]->Date, reviews[i]->Date) << i;  // newest first (ISO dates)
    }
    // A reload that cannot be read leaves the list empty, with its picture and link.
    service.ScriptNext("get_comments", "<html>busy</html>");
    w.cbb1->SetIndex(0);
    Settle(w);
    EXPECT_EQ(w.m_lstView->ItemCount(), 0);
    EXPECT_TRUE(w.lblfirst->Visible());
  }));
  const auto bodies = service.Bodies("get_comments");
  ASSERT_EQ(bodies.size(), 4u);
  EXPECT_NE(bodies[2].find("&sort_type=1&start_id=0&"), std::string::npos) << bodies[2];
}

TEST_F(RatingsWindowTest, ALikeGreysLikeAndDislikeWhileReportStillReacts) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    TReviewItem* first = Reviews(w).at(0);
    const int64_t id = first->Id;
    ClickInList(w, first->LikeArea);
    Settle(w);
    EXPECT_EQ(TakeToasts(), std::vector<std::string>{"Successfully liked (disliked)!"});
    EXPECT_TRUE(first->voted);
    EXPECT_FALSE(first->reported);
    // Like and Dislike no longer react; Report does.
    ClickInList(w, first->LikeArea);
    ClickInList(w, first->DislikeArea);
    Settle(w);
    EXPECT_EQ(service.Count("add_comment_ratings"), 1u);
    ClickInList(w, first->ReportArea);
    Settle(w);
    EXPECT_EQ(TakeToasts(), std::vector<std::string>{"Successfully reported."});
    EXPECT_TRUE(first->reported);
    ClickInList(w, first->ReportArea);
    Settle(w);
    const auto bodies = service.Bodies("add_comment_ratings");
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(bodies[0].rfind("comment_id=" + std::to_string(id) + "&score=1&key=", 0), 0u);
    EXPECT_EQ(bodies[1].rfind("comment_id=" + std::to_string(id) + "&score=2&key=", 0), 0u);
    // The grey looks: no blue left in the like icon.
    const os::Pixels picture = screen->RenderWindow(*w.Handle());
    const Point o = w.m_lstView->FormOrigin();
    const Rect like = first->LikeArea;
    const Argb icon = picture.argb[static_cast<size_t>(o.y + like.top + 11) * picture.width +
                                   static_cast<size_t>(o.x + like.left + 10)];
    EXPECT_LT(std::abs(int(BlueOf(icon)) - int(RedOf(icon))), 30) << std::hex << icon;
  }));
}

TEST_F(RatingsWindowTest, ADislikeSendsScoreZeroAndASecondVoteIsRefusedByTheService) {
  int64_t id = 0;
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    TReviewItem* second = Reviews(w).at(1);
    id = second->Id;
    ClickInList(w, second->DislikeArea);
    Settle(w);
    EXPECT_TRUE(second->voted);
  }));
  TakeToasts();
  // The same user in a new window: the service answers 10, and the row turns grey too.
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    TLumLvItem* row = w.RowOfReview(id);
    ASSERT_NE(row, nullptr);
    w.m_lstView->ScrollIntoView(row);
    Pump([] { return true; });
    TReviewItem* review = TfrmXOBRate::ReviewOf(*row);
    EXPECT_FALSE(review->voted);
    ClickInList(w, review->LikeArea);
    Settle(w);
    EXPECT_EQ(TakeToasts(), std::vector<std::string>{"Already liked (disliked)."});
    EXPECT_TRUE(review->voted);
  }));
  const auto bodies = service.Bodies("add_comment_ratings");
  ASSERT_EQ(bodies.size(), 2u);
  EXPECT_EQ(bodies[0].rfind("comment_id=" + std::to_string(id) + "&score=0&", 0), 0u);
  EXPECT_NE(service.Exchanges().back().reply.find("\"msg\":10"), std::string::npos);
}

TEST_F(RatingsWindowTest, SubmitWithoutStarsAsksForThemAndSendsNothing) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    ClickOn(*w.btn3, {20, 10});
    EXPECT_EQ(w.SelectedTab(), 1);
    EXPECT_TRUE(w.lmpnl1->Visible());
    EXPECT_FALSE(w.m_lstView->Visible());
    ClickOn(*w.btn1, {40, 12});
    EXPECT_EQ(boxes_shown, 1);
    EXPECT_TRUE(w.btn1->Enabled());
  }));
  EXPECT_EQ(service.Count("add_comment"), 0u);
}

TEST_F(RatingsWindowTest, ASubmittedReviewShowsAtTheTopAndRefreshesTheRatings) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    const int64_t three_before = w.StarCounts[2];
    FillInReview(w, 3, "Tess", "Keeps my tabs in order.");
    EXPECT_EQ(w.Score, 3);
    Submit(w);
    EXPECT_EQ(TakeToasts(), std::vector<std::string>{"Comment successfully added!"});
    EXPECT_EQ(w.SelectedTab(), 0);
    EXPECT_FALSE(w.btn1->Enabled());
    const TReviewItem* own = Reviews(w).at(0);
    EXPECT_EQ(own->Nickname, "Tess");
    EXPECT_EQ(own->Content, "Keeps my tabs in order.");
    EXPECT_EQ(own->Score, 3);
    EXPECT_EQ(own->Date, TodayShortDate());
    EXPECT_GT(own->Id, 0);
    // get_plug_info after the review brought the new counts.
    EXPECT_EQ(w.StarCounts[2], three_before + 1);
    EXPECT_EQ(w.counts[2]->Caption(), std::to_string(three_before + 1));
    EXPECT_DOUBLE_EQ(tab_tidy->Rating, w.Average());
  }));
  const auto bodies = service.Bodies("add_comment");
  ASSERT_EQ(bodies.size(), 1u);
  EXPECT_NE(bodies[0].find(
                "&nickname=Tess&content=Keeps%20my%20tabs%20in%20order.&ver=2.4.1&score=3&key="),
            std::string::npos)
      << bodies[0];
}

TEST_F(RatingsWindowTest, ASecondReviewOfTheSameUserIsRefused) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    FillInReview(w, 5, "Ola", "First.");
    Submit(w);
  }));
  TakeToasts();
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    FillInReview(w, 1, "Ola", "Second.");
    Submit(w);
    EXPECT_EQ(TakeToasts(), std::vector<std::string>{"You have already reviewed."});
    EXPECT_FALSE(w.btn1->Enabled());
    EXPECT_EQ(w.SelectedTab(), 1);
    EXPECT_NE(Reviews(w).at(0)->Content, "Second.");
  }));
}

// The user's own review joins the service's order (at the top by date, somewhere by
// usefulness) after the first page was read. The next pages start after what the service
// sent, and a review listed already is not listed again: every review shows exactly once.
TEST_F(RatingsWindowTest, PagesAfterTheOwnReviewSkipNothingAndRepeatNothing) {
  for (const int sort : {1, 0}) {
    SCOPED_TRACE(sort);
    InstallRateSession(std::make_shared<TRateSession>(service.BaseUrl()));  // a new user
    EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
      if (sort == 1) {
        w.cbb1->SetIndex(1);
        Settle(w);
      }
      FillInReview(w, 4, "Page", "Paging check.");
      Submit(w);
      ASSERT_EQ(Reviews(w).size(), 11u);
      while (HasMoreRow(w)) {
        const size_t before = Reviews(w).size();
        ClickMore(*this, w);
        Settle(w);
        ASSERT_GT(Reviews(w).size(), before);
      }
      const auto reviews = Reviews(w);
      const int total = kTabTidyReviews + (sort == 1 ? 1 : 2);  // the first user's too
      EXPECT_EQ(reviews.size(), static_cast<size_t>(total));
      EXPECT_EQ(IdsOf(reviews).size(), reviews.size());
    }));
    TakeToasts();
  }
}

// --- failures and closing ---

TEST_F(RatingsWindowTest, AnOpeningThatTakesTooLongShowsTheErrorAndNoWindow) {
  service.DelayNext("get_plug_info", 1500ms);
  TRatingsShowOptions options;
  options.open_limit = 300ms;
  bool walked = false;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Walk(
      *tab_tidy, [&](TfrmXOBRate&) { walked = true; }, options));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1400ms);
  EXPECT_FALSE(walked);
  EXPECT_EQ(boxes_shown, 1);
  // The late reply and the chain's next steps reach nothing.
  EXPECT_TRUE(Pump([&] { return service.Count("get_plug_info") == 1; }));
  Pump([] { return false; }, 300ms);
  EXPECT_TRUE(TakeToasts().empty());
  EXPECT_DOUBLE_EQ(tab_tidy->Rating, 0.0);
}

TEST_F(RatingsWindowTest, AServiceThatIsDownOrUnreadableShowsTheErrorAndNoWindow) {
  InstallRateSession(std::make_shared<TRateSession>("http://127.0.0.1:9"));
  EXPECT_FALSE(Walk(*tab_tidy, nullptr));
  EXPECT_EQ(boxes_shown, 1);
  InstallRateSession(session);
  service.ScriptNext("get_plug_info", "Service Unavailable", 503);
  EXPECT_FALSE(Walk(*tab_tidy, nullptr));
  EXPECT_EQ(boxes_shown, 2);
}

TEST_F(RatingsWindowTest, TheMainWindowIsEnabledAgainOnEveryPath) {
  TForm main;
  main.SetBounds(100, 100, 800, 500);
  Application().MainForm = &main;
  main.Show();
  const auto disable = [&] { main.Handle()->SetEnabled(false); };
  disable();
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    // Centred on the main window, which the modal window keeps disabled.
    EXPECT_EQ(w.Left(), 100 + (800 - kRatingsWidth) / 2);
    EXPECT_EQ(w.Top(), 100 + (500 - kRatingsHeight) / 2);
    EXPECT_FALSE(main.Handle()->IsEnabled());
  }));
  EXPECT_TRUE(main.Handle()->IsEnabled());
  disable();
  service.ScriptNext("get_plug_info", "nonsense");
  EXPECT_FALSE(Walk(*tab_tidy, nullptr));
  EXPECT_TRUE(main.Handle()->IsEnabled());
  // A quit request during the wait ends it: no message, no window.
  disable();
  service.DelayNext("get_plug_info", 800ms);
  os::CurrentUiDispatcher()->Post([&] { screen->Quit(0); });
  EXPECT_FALSE(Walk(*tab_tidy, nullptr));
  EXPECT_EQ(boxes_shown, 1);
  EXPECT_TRUE(main.Handle()->IsEnabled());
  Application().MainForm = nullptr;
}

struct CloseCase {
  const char* name;
  const char* action;  // the request held back while the window closes
  std::function<void(RatingsWindowTest&, TfrmXOBRate&)> start;
};

TEST_F(RatingsWindowTest, ChainsStillRunningWhenTheWindowClosesReachNothing) {
  const CloseCase cases[] = {
      {"page", "get_comments", [](RatingsWindowTest& t, TfrmXOBRate& w) { ClickMore(t, w); }},
      {"sort", "get_comments", [](RatingsWindowTest&, TfrmXOBRate& w) { w.cbb1->SetIndex(1); }},
      {"like", "add_comment_ratings",
       [](RatingsWindowTest& t, TfrmXOBRate& w) {
         t.ClickInList(w, t.Reviews(w).at(0)->LikeArea);
       }},
      {"report", "add_comment_ratings",
       [](RatingsWindowTest& t, TfrmXOBRate& w) {
         t.ClickInList(w, t.Reviews(w).at(0)->ReportArea);
       }},
      {"submit", "add_comment",
       [](RatingsWindowTest& t, TfrmXOBRate& w) {
         t.FillInReview(w, 2, "Gone", "Closed before the answer.");
         t.ClickOn(*w.btn1, {40, 12});
       }},
  };
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.name);
    InstallRateSession(std::make_shared<TRateSession>(service.BaseUrl()));
    const size_t answered = service.Count(c.action);
    EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
      const size_t arrived = service.Arrived(c.action);
      service.DelayNext(c.action, 1500ms);
      c.start(*this, w);
      EXPECT_TRUE(Pump([&] { return service.Arrived(c.action) > arrived; }));
      EXPECT_TRUE(w.Busy());
    }));
    // The window is gone; the service answers now, and nothing shows.
    EXPECT_TRUE(Pump([&] { return service.Count(c.action) > answered; }));
    Pump([] { return false; }, 300ms);
    EXPECT_TRUE(TakeToasts().empty());
  }
}

// --- the empty list and "My Review" ---

TEST_F(RatingsWindowTest, AnAddOnWithoutReviewsOffersCommentNowWhichOpensMyReview) {
  EXPECT_TRUE(Walk(*no_reviews, [&](TfrmXOBRate& w) {
    EXPECT_EQ(w.m_lstView->ItemCount(), 0);
    EXPECT_TRUE(w.lblfirst->Visible());
    // Under the empty-list picture, from its left edge.
    EXPECT_EQ(w.lblfirst->Left(), (w.m_lstView->Width() - 100) / 2);
    EXPECT_EQ(w.lblfirst->Top(), (w.m_lstView->Height() - 100) / 2 - 30 + 100 + 25);
    ClickOn(*w.lblfirst, {50, 9});
    EXPECT_EQ(w.SelectedTab(), 1);
    EXPECT_TRUE(w.lmpnl1->Visible());
    EXPECT_EQ(w.btn3->BtnStatus(), bsSelect);
    EXPECT_EQ(w.btn2->BtnStatus(), bsNormal);
  }));
}

TEST_F(RatingsWindowTest, TheNicknameStopsAtTwentyFiveUnitsAndPastesAreCutToFit) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    ClickOn(*w.btn3, {20, 10});
    ClickOn(*w.lmdtnk, {10, 10});
    screen->Type("abcdefghijklmnopqrstuvwxy");  // 25
    screen->Type("z!");
    EXPECT_EQ(w.lmdtnk->Text(), "abcdefghijklmnopqrstuvwxy");
    screen->PressKey(kVkBack);
    EXPECT_EQ(w.lmdtnk->Text(), "abcdefghijklmnopqrstuvwx");
    // Two units do not fit into the one left.
    screen->Type("\xF0\x9F\x98\x80");
    EXPECT_EQ(w.lmdtnk->Text(), "abcdefghijklmnopqrstuvwx");
    // Ctrl+V passes the filter; the paste is cut to what fits.
    screen->SetClipboardText("0123456789");
    w.KeyPressIn(22);
    EXPECT_EQ(w.lmdtnk->Text(), "abcdefghijklmnopqrstuvwx0");
    w.KeyPressIn(22);
    EXPECT_EQ(w.lmdtnk->Text(), "abcdefghijklmnopqrstuvwx0");
    // A selection counts as room.
    w.KeyPressIn(1);
    screen->SetClipboardText("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
    w.KeyPressIn(22);
    EXPECT_EQ(w.lmdtnk->Text(), "ABCDEFGHIJKLMNOPQRSTUVWXY");
    EXPECT_EQ(Utf8ToUtf16(w.lmdtnk->Text()).size(), static_cast<size_t>(kNicknameLimit));
  }));
}

}  // namespace
}  // namespace orvo::test
