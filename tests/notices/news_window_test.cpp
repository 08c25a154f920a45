// The news window with the demo site's newsletter: its picture once it has settled
// (golden natively), and a page that is opaque all over, so the layered window has no
// holes where the text was drawn.
#include <gtest/gtest.h>

#include "notices/demo_site.h"
#include "notices/html_view.h"
#include "notices/news_window.h"
#include "notices/notice_fixture.h"
#include "support/pixels.h"

namespace orvo::test {
namespace {

class NewsWindowTest : public NoticeTest {};

TEST_F(NewsWindowTest, TheDemoNewsletterSettlesIntoItsPicture) {
  if (!ServeDemoSite(server)) GTEST_SKIP() << "needs the source tree";
  TFrmNews& news = NewsWindow();
  news.ShowNews(server.Url("/news/msg.html"), 0, 0);
  ASSERT_TRUE(PumpUntil(
      [&] { return news.State() != TFrmNews::Phase::kLoading && !news.wb1->PicturesPending(); }));
  ASSERT_EQ(news.State(), TFrmNews::Phase::kSliding);
  for (int i = 0; i < 100 && !news.Settled(); ++i) screen->AdvanceTime(50);
  ASSERT_TRUE(news.Settled());
  EXPECT_EQ(news.wb1->Pictures().size(), 2u);
  EXPECT_TRUE(news.wb1->VerticalBar()->Visible()) << "the newsletter is longer than the window";
  Bitmap32& picture = news.Screen();
  for (int y = news.wb1->Top(); y < news.wb1->Top() + news.wb1->Height(); ++y) {
    for (int x = news.wb1->Left(); x < news.wb1->Left() + news.wb1->Width(); ++x) {
      ASSERT_EQ(AlphaOf(picture.Row(y)[x]), 255) << x << ", " << y;
    }
  }
  EXPECT_TRUE(MatchesGolden(picture, "news_window"));
  news.wb1->ScrollTo(100000);
  news.RepaintLayered();
  EXPECT_TRUE(MatchesGolden(news.Screen(), "news_window_end"));
}

}  // namespace
}  // namespace orvo::test
