// The news check and the news window against a server on loopback: which items show,
// the window's size, place, slide, stay and fade, and that it never takes the focus.
#include <gtest/gtest.h>

#include "notices/first_paint_gate.h"
#include "notices/html_view.h"
#include "notices/news_check.h"
#include "notices/news_window.h"
#include "notices/notice_fixture.h"
#include "ui/application.h"
#include "ui/form.h"

namespace orvo::test {
namespace {

constexpr char kPage[] = "<html><body><h1>News</h1><p>Something new.</p></body></html>";

std::string Description(int id, const std::string& url, int width = 0, int height = 0) {
  return "[Msg]\r\nMsgID=" + std::to_string(id) + "\r\nShowAll=1\r\nUrl=" + url +
         "\r\nFormWidth=" + std::to_string(width) + "\r\nFormHeight=" + std::to_string(height) +
         "\r\n";
}

class NewsCheckTest : public NoticeTest {
 protected:
  NewsCheckTest() { server.Serve("/news/msg.html", kPage, 200, "text/html"); }

  // Runs one news check to its end (and the page's navigation, when one starts).
  void Check(const std::string& description, int32_t& stored) {
    server.Serve("/news/xobinfo.htm", description);
    bool ended = false;
    auto check = std::make_unique<TOrvoNews>(server.Url("/news/xobinfo.htm"), stored);
    check->OnComplete = [&](TGetNews& sender, const std::string& url, int32_t number, bool,
                            int32_t w, int32_t h) {
      NewsDecision(static_cast<TOrvoNews&>(sender).Stored(), url, number, w, h);
      ended = true;
    };
    TWorkerThread::Start(std::move(check));
    ASSERT_TRUE(PumpUntil([&] { return ended; }));
    if (TFrmNews* news = ExistingNewsWindow(); news && news->State() == TFrmNews::Phase::kLoading) {
      ASSERT_TRUE(PumpUntil([&] { return news->State() != TFrmNews::Phase::kLoading; }));
    }
  }
  // Moves the clock on in slide steps until the window has settled.
  void SlideIn(TFrmNews& news) {
    for (int i = 0; i < 100 && news.State() == TFrmNews::Phase::kSliding; ++i)
      screen->AdvanceTime(50);
    ASSERT_EQ(news.State(), TFrmNews::Phase::kShown);
  }
  Rect Work() { return screen->WorkAreaAt({0, 0}); }
};

TEST_F(NewsCheckTest, AnItemAlreadySeenShowsNothing) {
  int32_t stored = 7;
  Check(Description(7, server.Url("/news/msg.html")), stored);
  EXPECT_EQ(stored, 7);
  EXPECT_EQ(ExistingNewsWindow(), nullptr);
  EXPECT_EQ(server.Count("/news/msg.html"), 0u) << "the page is not even fetched";
  for (const char* d :
       {"[Msg]\r\nMsgID=0\r\n", "[Msg]\r\nMsgID=-3\r\n", "[Msg]\r\nUrl=x\r\n", ""}) {
    Check(d, stored);
    EXPECT_EQ(stored, 7) << d;
  }
  EXPECT_EQ(ExistingNewsWindow(), nullptr);
}

TEST_F(NewsCheckTest, ANewItemIsStoredAndSlidesUpAtTheBottomRight) {
  const Rect work = Work();
  os::Window* active_before = screen->ActiveWindow();
  int32_t stored = 6;
  Check(Description(7, server.Url("/news/msg.html")), stored);
  EXPECT_EQ(stored, 7);
  TFrmNews* news = ExistingNewsWindow();
  ASSERT_NE(news, nullptr);
  ASSERT_EQ(news->State(), TFrmNews::Phase::kSliding);
  EXPECT_TRUE(news->Shown());
  EXPECT_EQ(news->Caption(), "Newsletter");
  EXPECT_EQ(news->Width(), TFrmNews::kDefaultWidth);
  EXPECT_EQ(news->Height(), TFrmNews::kDefaultHeight);
  EXPECT_EQ(news->Left(), work.right - 492 - 10);
  EXPECT_EQ(news->Top(), work.bottom + 266);
  // Shown without taking the activation from whatever had it.
  EXPECT_EQ(screen->ActiveWindow(), active_before);
  EXPECT_FALSE(news->Active());

  int ticks = 0;
  while (news->State() == TFrmNews::Phase::kSliding && ticks < 100) {
    const int top = news->Top();
    screen->AdvanceTime(50);
    ++ticks;
    if (news->State() == TFrmNews::Phase::kSliding) {
      EXPECT_EQ(news->Top(), top - 20);
    }
  }
  EXPECT_EQ(ticks, (266 * 2 + 19) / 20);
  EXPECT_EQ(news->State(), TFrmNews::Phase::kShown);
  EXPECT_EQ(news->Top(), work.bottom - 266);
  EXPECT_TRUE(news->Settled());
  EXPECT_EQ(screen->ActiveWindow(), active_before);
}

TEST_F(NewsCheckTest, ItStaysAMinuteThenFadesIn25StepsAndIsKept) {
  int32_t stored = 0;
  Check(Description(1, server.Url("/news/msg.html")), stored);
  TFrmNews* news = ExistingNewsWindow();
  ASSERT_NE(news, nullptr);
  SlideIn(*news);
  screen->AdvanceTime(59999);
  EXPECT_EQ(news->State(), TFrmNews::Phase::kShown);
  EXPECT_EQ(news->LayeredOpacity, 255);
  std::vector<int> alphas;
  screen->AdvanceTime(1);
  alphas.push_back(news->LayeredOpacity);
  while (news->Shown() && alphas.size() < 40) {
    screen->AdvanceTime(33);
    if (news->Shown()) alphas.push_back(news->LayeredOpacity);
  }
  ASSERT_EQ(alphas.size(), 24u) << "the 25th step ends it";
  for (size_t i = 0; i < alphas.size(); ++i) EXPECT_EQ(alphas[i], 245 - 10 * static_cast<int>(i));
  EXPECT_FALSE(news->Shown());
  EXPECT_EQ(news->State(), TFrmNews::Phase::kHidden);
  EXPECT_EQ(ExistingNewsWindow(), news) << "kept for the next item";

  // The next item uses the same window, opaque again.
  Check(Description(2, server.Url("/news/msg.html")), stored);
  EXPECT_EQ(ExistingNewsWindow(), news);
  EXPECT_EQ(news->State(), TFrmNews::Phase::kSliding);
  EXPECT_EQ(news->LayeredOpacity, 255);
}

TEST_F(NewsCheckTest, ThePagesOwnSizeWhenBothAreGiven) {
  int32_t stored = 0;
  Check(Description(1, server.Url("/news/msg.html"), 400, 300), stored);
  TFrmNews* news = ExistingNewsWindow();
  ASSERT_NE(news, nullptr);
  EXPECT_EQ(news->Width(), 400);
  EXPECT_EQ(news->Height(), 300);
  EXPECT_EQ(news->wb1->BoundsRect(), RectOfSize(1, 26, 398, 273));
  EXPECT_EQ(news->lmfrm1->Width(), 400);

  Check(Description(2, server.Url("/news/msg.html"), 400, 0), stored);
  EXPECT_EQ(news->Width(), 492);
  EXPECT_EQ(news->Height(), 266);
  EXPECT_EQ(news->wb1->BoundsRect(), RectOfSize(1, 26, 490, 239));

  // Sizes no screen can show are cut to the work area; negative ones are not sizes.
  Check(Description(3, server.Url("/news/msg.html"), 100000, 100000), stored);
  EXPECT_EQ(news->Width(), Work().width());
  EXPECT_EQ(news->Height(), Work().height());
  Check(Description(4, server.Url("/news/msg.html"), -400, 300), stored);
  EXPECT_EQ(news->Width(), 492);
}

TEST_F(NewsCheckTest, APageWithoutABodyClosesTheWindowUnseen) {
  server.Serve("/news/empty.html", "<html><head><title>t</title></head></html>", 200, "text/html");
  int32_t stored = 0;
  Check(Description(5, server.Url("/news/empty.html")), stored);
  EXPECT_EQ(stored, 5);
  TFrmNews* news = ExistingNewsWindow();
  ASSERT_NE(news, nullptr);
  EXPECT_EQ(news->State(), TFrmNews::Phase::kHidden);
  EXPECT_FALSE(news->Shown());
  // A page that can't be downloaded is no page either.
  Check(Description(6, "http://127.0.0.1:1/news/msg.html"), stored);
  EXPECT_EQ(stored, 6);
  EXPECT_FALSE(news->Shown());
}

TEST_F(NewsCheckTest, ANewItemWhileOneShowsReTargetsTheWindow) {
  server.Serve("/news/other.html", "<html><body><p>Other</p></body></html>", 200, "text/html");
  int32_t stored = 0;
  Check(Description(1, server.Url("/news/msg.html")), stored);
  TFrmNews* news = ExistingNewsWindow();
  ASSERT_NE(news, nullptr);
  SlideIn(*news);
  Check(Description(2, server.Url("/news/other.html")), stored);
  EXPECT_EQ(ExistingNewsWindow(), news);
  EXPECT_EQ(news->PageUrl, server.Url("/news/other.html"));
  EXPECT_EQ(news->State(), TFrmNews::Phase::kSliding);
  EXPECT_EQ(news->Top(), Work().bottom + news->Height());
  ASSERT_TRUE(news->wb1->HasBody());
  EXPECT_EQ(news->wb1->Url(), server.Url("/news/other.html"));
}

TEST_F(NewsCheckTest, AnEmptyAddressReadsTheFallbackDescription) {
  server.Serve("/news/r512info.htm", Description(9, server.Url("/news/msg.html")));
  int32_t stored = 0;
  bool ended = false;
  int32_t number = 0;
  auto check = std::make_unique<TOrvoNews>("", stored);
  check->OnComplete = [&](TGetNews&, const std::string&, int32_t n, bool, int32_t, int32_t) {
    number = n;
    ended = true;
  };
  TWorkerThread::Start(std::move(check));
  ASSERT_TRUE(PumpUntil([&] { return ended; }));
  EXPECT_EQ(number, 9);
}

}  // namespace
}  // namespace orvo::test

namespace orvo::test {
namespace {

// What a finished download does waits for the main window's first paint.
TEST_F(NewsCheckTest, NoticeWorkWaitsForTheMainWindowsFirstPaint) {
  TForm main;
  main.SetBounds(100, 100, 300, 200);
  Application().MainForm = &main;
  main.Show();
  ASSERT_FALSE(main.InvalidRect().empty()) << "shown, not painted yet";
  bool ran = false;
  WhenMainWindowPainted([&] { ran = true; });
  EXPECT_FALSE(ran);
  screen->ProcessMessages();  // the paint
  EXPECT_TRUE(main.InvalidRect().empty());
  EXPECT_FALSE(ran) << "the timer looks after the paint";
  screen->AdvanceTime(10);
  EXPECT_TRUE(ran);
  bool again = false;
  main.Invalidate();
  WhenMainWindowPainted([&] { again = true; });
  EXPECT_TRUE(again) << "only the first paint is waited for";
  Application().MainForm = nullptr;
  main.Hide();
}

// At start-up the checks start while the main window is still being made: they wait too.
TEST_F(NewsCheckTest, AtStartUpEvenTheDownloadsWaitForTheFirstPaint) {
  HoldNoticesForFirstPaint();
  server.Serve("/news/xobinfo.htm", Description(3, server.Url("/news/msg.html")));
  int32_t stored = 0;
  StartNewsCheckFrom(server.Url("/news/xobinfo.htm"), stored);
  screen->Dispatcher()->RunUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(server.Count("/news/xobinfo.htm"), 0u) << "no main window yet";
  TForm main;
  main.SetBounds(100, 100, 300, 200);
  Application().MainForm = &main;
  main.Show();
  screen->Dispatcher()->RunUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_EQ(server.Count("/news/xobinfo.htm"), 0u) << "shown, not painted";
  screen->ProcessMessages();
  screen->AdvanceTime(10);
  ASSERT_TRUE(PumpUntil([&] { return stored == 3; }));
  Application().MainForm = nullptr;
  FreeNewsWindow();
  main.Hide();
}

}  // namespace
}  // namespace orvo::test
