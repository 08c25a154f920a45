// How the ratings window looks: the average as full, half and empty stars, the bars by the
// largest count, the distribution's star captions, texts from the service shown as text
// within their rows, and golden pictures of the window (reviews, none, "My Review") in
// English and German.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "shell/ratings_fixture.h"
#include "support/pixels.h"

namespace orvo::test {
namespace {

enum class Ink { kGold, kGrey, kOther };

Ink Classify(Argb c) {
  if (RedOf(c) > 220 && GreenOf(c) > 150 && BlueOf(c) < 110) return Ink::kGold;
  if (std::abs(int(RedOf(c)) - int(BlueOf(c))) < 12 && RedOf(c) > 170 && RedOf(c) < 235)
    return Ink::kGrey;
  return Ink::kOther;
}

class RatingsLookTest : public RatingsTest {
 protected:
  // The window made and shown without the service, its data handed over directly.
  std::unique_ptr<TfrmXOBRate> Window() {
    auto w = TfrmBase::Create<TfrmXOBRate>(chrome, *tab_tidy, nullptr);
    w->Fill();
    w->Show();
    w->PaintAll();
    return w;
  }
  static Argb At(TfrmXOBRate& w, const TControl& c, int x, int y) {
    const Point o = c.FormOrigin();
    return w.Screen().Pixel(o.x + x, o.y + y);
  }
  static TPlugRatings Ratings(double average, std::array<int64_t, 5> counts = {}) {
    TPlugRatings r;
    r.ServicePlugId = "7";
    r.Average = average;
    r.StarCounts = counts;
    return r;
  }
};

TEST_F(RatingsLookTest, TheAverageIsDrawnAsFullHalfAndEmptyStars) {
  struct Case {
    double average;
    const char* stars;  // F full, H half, E empty
  };
  const Case cases[] = {{0, "EEEEE"}, {3.5, "FFFHE"}, {5, "FFFFF"}, {4.05, "FFFFH"}, {1, "FEEEE"}};
  auto w = Window();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.average);
    w->ApplyRatings(Ratings(c.average));
    w->PaintAll();
    for (int k = 0; k < 5; ++k) {
      // Left and right of each star's centre line, in the star's body.
      const Ink left = Classify(At(*w, *w->img2, 21 * k + 7, 11));
      const Ink right = Classify(At(*w, *w->img2, 21 * k + 14, 11));
      const char expect = c.stars[k];
      EXPECT_EQ(left, expect == 'E' ? Ink::kGrey : Ink::kGold) << k;
      EXPECT_EQ(right, expect == 'F' ? Ink::kGold : Ink::kGrey) << k;
    }
  }
}

TEST_F(RatingsLookTest, BarsAreSharesOfTheLargestCountAndCaptionsHoldTheirStars) {
  auto w = Window();
  // 10 one-star ratings, 5 two-star ones, none else.
  w->ApplyRatings(Ratings(1.3, {10, 5, 0, 0, 0}));
  w->PaintAll();
  const auto gold_width = [&](const TLumImage& bar) {
    int n = 0;
    for (int x = 0; x < bar.Width(); ++x)
      n += Classify(At(*w, bar, x, bar.Height() / 2)) == Ink::kGold;
    return n;
  };
  // bars[k] is for 5 - k stars.
  EXPECT_EQ(gold_width(*w->bars[4]), 92);
  EXPECT_NEAR(gold_width(*w->bars[3]), 46, 1);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(gold_width(*w->bars[static_cast<size_t>(k)]), 0) << k;
  EXPECT_EQ(w->counts[4]->Caption(), "10");
  EXPECT_EQ(w->counts[3]->Caption(), "5");
  EXPECT_EQ(w->counts[0]->Caption(), "0");
  // Captions: Tag stars of 11 pixels, right-aligned.
  for (size_t k = 0; k < 5; ++k) {
    const TLumImage& caption = *w->captions[k];
    int leftmost = caption.Width();
    for (int x = 0; x < caption.Width(); ++x) {
      if (Classify(At(*w, caption, x, 5)) == Ink::kGold) {
        leftmost = x;
        break;
      }
    }
    EXPECT_NEAR(leftmost, caption.Width() - 11 * (5 - static_cast<int>(k)), 2) << k;
  }
  w->Close();
}

TEST_F(RatingsLookTest, TheStarInputFollowsThePointerAndKeepsTheChoice) {
  auto w = Window();
  w->btn2Click(*w->btn3);
  w->PaintAll();
  const auto lit = [&] {
    int n = 0;
    for (int k = 0; k < 5; ++k) n += Classify(At(*w, *w->img13, 21 * k + 7, 11)) == Ink::kGold;
    return n;
  };
  EXPECT_EQ(lit(), 0);
  ClickOn(*w->img13, {21 * 3 + 5, 10});  // the fourth star
  EXPECT_EQ(w->Score, 4);
  EXPECT_EQ(lit(), 4);
  screen->MoveMouse(w->Left() + w->img13->FormOrigin().x + 30,
                    w->Top() + w->img13->FormOrigin().y + 10);
  EXPECT_EQ(lit(), 2);  // the pointer shows what a click would choose
  screen->MoveMouse(0, 0);
  EXPECT_EQ(lit(), 4);  // gone: the choice again
  EXPECT_EQ(w->Score, 4);
  w->Close();
}

// Texts from the service are text: control characters do not break lines they should not,
// markup stays as typed, and a 2,000-character word stays inside a row of at most 220
// pixels, as does everything else in the list.
TEST_F(RatingsLookTest, ServiceTextsAreShownAsTextWithinTheirRows) {
  const std::string id = service.RegisterPlug(1, kNoReviews);
  const auto post = [&](const std::string& nickname, const std::string& content) {
    ASSERT_NE(service.Direct("add_comment", "plug_id=" + id + "&nickname=" + nickname +
                                                "&content=" + content +
                                                "&ver=1&score=4&key=" + service.NewKey()),
              "");
  };
  post("Ann%0D%0ALee", std::string(2000, 'w'));
  post("Bo%09%01", "line%20one%0D%0Aline%20two%09%07%20%3Cb%3Ebold%3C%2Fb%3E%20%26amp%3B");
  EXPECT_TRUE(Walk(*no_reviews, [&](TfrmXOBRate& w) {
    const auto reviews = Reviews(w);
    ASSERT_EQ(reviews.size(), 2u);
    const TReviewItem* markup = reviews[0]->Nickname.rfind("Bo", 0) == 0 ? reviews[0] : reviews[1];
    const TReviewItem* word = markup == reviews[0] ? reviews[1] : reviews[0];
    EXPECT_EQ(word->Nickname, "Ann  Lee");
    EXPECT_EQ(markup->Nickname, "Bo  ");
    EXPECT_EQ(markup->Content, "line one\r\nline two   <b>bold</b> &amp;");
    EXPECT_EQ(word->MeasuredHeight, kReviewRowMaxHeight);
    for (int i = 0; i < w.m_lstView->ItemCount(); ++i) {
      const Rect r = w.m_lstView->Items(i)->ItemRect;
      EXPECT_LE(r.height(), kReviewRowMaxHeight);
      EXPECT_GE(r.height(), kReviewRowMinHeight);
    }
    // Nothing of the long word below its row: the next row's top band holds only white and
    // the row's own line.
    const TLumLvItem* first = w.m_lstView->Items(0);
    const TLumLvItem* second = w.m_lstView->Items(1);
    if (TfrmXOBRate::ReviewOf(*first) == word) {
      const Rect next = second->ItemRect;
      const Point o = w.m_lstView->FormOrigin();
      for (int x = next.left + kContentLeft + 100; x < next.right - 300; x += 3) {
        const Argb c = w.Screen().Pixel(o.x + x, o.y + next.top + 1);
        EXPECT_GE(RedOf(c), 200) << x;
      }
    }
  }));
}

// The live caption under the pointer is underlined, in whichever row and whichever way the
// pointer came; the hand shows only over live parts.
TEST_F(RatingsLookTest, TheLiveCaptionUnderThePointerIsUnderlined) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    const auto reviews = Reviews(w);
    const Point o = w.m_lstView->FormOrigin();
    // Blue pixels on the longest blue run of rows below a caption's text middle.
    const auto underline = [&](const Rect& area) {
      int best = 0;
      for (int y = area.top + 11; y <= area.top + 15; ++y) {
        int run = 0;
        for (int x = area.left + 18; x < area.right + 6; ++x) {
          const Argb c = w.Screen().Pixel(o.x + x, o.y + y);
          run = BlueOf(c) > RedOf(c) + 80 ? run + 1 : 0;
          best = std::max(best, run);
        }
      }
      return best;
    };
    const auto move_to = [&](const Rect& area) {
      screen->MoveMouse(w.Left() + o.x + area.left + 25, w.Top() + o.y + area.top + 8);
    };
    const TReviewItem& a = *reviews.at(0);
    const TReviewItem& b = *reviews.at(1);
    EXPECT_LT(underline(a.LikeArea), 8);
    move_to(a.LikeArea);
    EXPECT_GT(underline(a.LikeArea), 14);
    EXPECT_EQ(screen->Cursor(), os::CursorShape::kHand);
    move_to(a.ReportArea);
    EXPECT_LT(underline(a.LikeArea), 8);
    EXPECT_GT(underline(a.ReportArea), 14);
    move_to(b.DislikeArea);  // into the next row
    EXPECT_LT(underline(a.ReportArea), 8);
    EXPECT_GT(underline(b.DislikeArea), 14);
    screen->MoveMouse(w.Left() + o.x + 60, w.Top() + o.y + b.LikeArea.top);  // the nickname
    EXPECT_LT(underline(b.DislikeArea), 8);
    EXPECT_EQ(screen->Cursor(), os::CursorShape::kArrow);
  }));
}

// The grey looks of done votes and reports, and the underline under the pointer.
TEST_F(RatingsLookTest, LooksAsDrawnWithVotesReportsAndThePointerOverALink) {
  EXPECT_TRUE(Walk(*tab_tidy, [&](TfrmXOBRate& w) {
    const auto reviews = Reviews(w);
    ClickInList(w, reviews.at(0)->LikeArea);
    Settle(w);
    ClickInList(w, reviews.at(1)->ReportArea);
    Settle(w);
    TakeToasts();
    const Point o = w.m_lstView->FormOrigin();
    const Rect like = reviews.at(2)->LikeArea;
    screen->MoveMouse(w.Left() + o.x + like.left + 25, w.Top() + o.y + like.top + 8);
    w.PaintAll();
    EXPECT_TRUE(MatchesGolden(w.Screen(), "ratings_votes_en"));
  }));
}

struct GoldenCase {
  const char* name;
  const char* language;
  bool reviews;
  bool my_review;
};

TEST_F(RatingsLookTest, LooksAsDrawnWithReviewsWithoutAndOnMyReview) {
  const GoldenCase cases[] = {
      {"ratings_reviews_en", "English", true, false},
      {"ratings_none_en", "English", false, false},
      {"ratings_my_review_en", "English", true, true},
      {"ratings_reviews_de", "German", true, false},
      {"ratings_none_de", "German", false, false},
      {"ratings_my_review_de", "German", true, true},
  };
  for (const GoldenCase& c : cases) {
    SCOPED_TRACE(c.name);
    UseLanguage(c.language);
    EXPECT_TRUE(Walk(c.reviews ? *tab_tidy : *no_reviews, [&](TfrmXOBRate& w) {
      if (c.my_review) w.btn2Click(*w.btn3);
      w.PaintAll();
      EXPECT_TRUE(MatchesGolden(w.Screen(), c.name));
    }));
  }
}

}  // namespace
}  // namespace orvo::test
