// The page view on the headless screen against a server on loopback: navigation, the
// page's pictures (its own site only, within the limits), scrolling with the toolkit's bar
// and the wheel, and links (web pages and mail only).
#include <gtest/gtest.h>

#include "notices/html_view.h"
#include "notices/notice_fixture.h"
#include "support/png_samples.h"
#include "ui/form.h"

namespace orvo::test {
namespace {

using namespace std::chrono_literals;

class HtmlViewTest : public NoticeTest {
 protected:
  HtmlViewTest() {
    form.SetBounds(100, 100, 300, 200);
    view = form.Make<THtmlView>();
    view->SetBounds(0, 0, 300, 200);
    view->OnLinkClick = [this](const std::string& href) { clicked.push_back(href); };
  }
  ~HtmlViewTest() override { form.Hide(); }

  // Navigates and waits for the page and its pictures.
  void Load(const std::string& path, const std::string& html) {
    server.Serve(path, html, 200, "text/html");
    bool complete = false;
    view->OnNavigateComplete = [&](THtmlView&) { complete = true; };
    view->Navigate(server.Url(path));
    ASSERT_TRUE(PumpUntil([&] { return complete && !view->PicturesPending(); }));
    view->OnNavigateComplete = nullptr;
  }
  Point Center(const std::string& text) {
    for (const auto& item : view->Layout().items) {
      if (item.kind == HtmlPaintItem::Kind::kText && item.text.find(text) != std::string::npos) {
        const Rect r = item.rect.Offset(0, -view->ScrollTop());
        return form.ClientToScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      }
    }
    ADD_FAILURE() << "no text " << text;
    return {};
  }

  TForm form;
  THtmlView* view = nullptr;
  std::vector<std::string> clicked;
};

TEST_F(HtmlViewTest, ThePageAndItsOwnSitesPicturesArrive) {
  LoopbackServer other;
  other.Serve("/c.png", MakePng(10, 10), 200, "image/png");
  server.Serve("/news/img/a.png", MakePng(40, 20), 200, "image/png");
  server.Serve("/b.png", "<html>not a picture</html>", 200, "text/html");
  server.Serve("/big.png", MakePng(8, 8) + std::string(5u << 20, '\0'), 200, "image/png");
  Load("/news/msg.html",
       "<html><body><p>Hello</p><img src='img/a.png'><img src='/b.png'>"
       "<img src='/big.png'><img src='" +
           other.Url("/c.png") + "'></body></html>");
  ASSERT_TRUE(view->HasBody());
  EXPECT_EQ(other.Requests().size(), 0u) << "another site is never asked";
  const HtmlPictures& pictures = view->Pictures();
  EXPECT_EQ(pictures.at(server.Url("/news/img/a.png")).width(), 40);
  EXPECT_TRUE(pictures.at(server.Url("/b.png")).empty());
  EXPECT_TRUE(pictures.at(server.Url("/big.png")).empty()) << "over 4 MB";
  EXPECT_EQ(pictures.count(other.Url("/c.png")), 0u);
  // Laid in once it came.
  bool placed = false;
  for (const auto& item : view->Layout().items) {
    placed |= item.kind == HtmlPaintItem::Kind::kPicture && item.rect.width() == 40;
  }
  EXPECT_TRUE(placed);
}

TEST_F(HtmlViewTest, APageOverOneMegabyteOrUnreachableHasNoBody) {
  Load("/huge.html", "<html><body><p>" + std::string(1u << 20, 'x') + "</p></body></html>");
  EXPECT_FALSE(view->HasBody());
  bool complete = false;
  view->OnNavigateComplete = [&](THtmlView&) { complete = true; };
  view->Navigate("http://127.0.0.1:1/page.html");
  ASSERT_TRUE(PumpUntil([&] { return complete; }));
  EXPECT_FALSE(view->HasBody());
}

TEST_F(HtmlViewTest, ALaterNavigationReplacesAnEarlierOne) {
  server.ServeLate("/slow.html", 300ms, "<html><body><p>slow</p></body></html>");
  server.Serve("/fast.html", "<html><body><p>fast</p></body></html>", 200, "text/html");
  int completions = 0;
  view->OnNavigateComplete = [&](THtmlView&) { ++completions; };
  view->Navigate(server.Url("/slow.html"));
  view->Navigate(server.Url("/fast.html"));
  ASSERT_TRUE(PumpUntil([&] { return completions == 1; }));
  PumpUntil([&] { return server.Count("/slow.html") == 1; }, 2s);
  screen->Dispatcher()->RunUntil([] { return false; }, 400ms);
  EXPECT_EQ(completions, 1);
  EXPECT_EQ(view->Url(), server.Url("/fast.html"));
  EXPECT_EQ(view->Layout().items.back().text, "fast");
}

TEST_F(HtmlViewTest, ATallPageScrollsWithTheBarAndTheWheel) {
  std::string html = "<html><body>";
  for (int i = 0; i < 40; ++i) html += "<p>Line " + std::to_string(i) + "</p>";
  html += "<p><a href='/last.html'>last link</a></p></body></html>";
  Load("/tall.html", html);
  ASSERT_GT(view->Layout().height, 200);
  TLumScrollBar* bar = view->VerticalBar();
  ASSERT_TRUE(bar->Visible());
  EXPECT_EQ(bar->Left() + bar->Width(), 300);
  EXPECT_EQ(view->Layout().width, 300 - bar->Width()) << "laid out beside the bar";
  view->ScrollTo(100000);
  EXPECT_EQ(view->ScrollTop(), view->Layout().height - 200);
  view->ScrollTo(-5);
  EXPECT_EQ(view->ScrollTop(), 0);
  form.Show();
  screen->MoveMouse(form.Left() + 100, form.Top() + 100);
  screen->Wheel(-120);
  EXPECT_EQ(view->ScrollTop(), 48);
  EXPECT_EQ(bar->Position(), 48);
  // The link at the end, scrolled into view, answers where it is drawn now.
  view->ScrollTo(100000);
  const Point p = Center("last link");
  screen->Click(p.x, p.y);
  EXPECT_EQ(clicked, std::vector<std::string>{server.Url("/last.html")});
  // A short page needs no bar.
  Load("/short.html", "<html><body><p>short</p></body></html>");
  EXPECT_FALSE(bar->Visible());
  EXPECT_EQ(view->Layout().width, 300);
}

TEST_F(HtmlViewTest, ALinkOpensWhenPressedAndReleasedOnIt) {
  Load("/links.html",
       "<html><body><p><a href='/a.html'>first</a> plain <a "
       "href='/b.html'>second</a></p></body></html>");
  form.Show();
  const Point first = Center("first"), second = Center("second"), plain = Center("plain");
  screen->Click(plain.x, plain.y);
  EXPECT_TRUE(clicked.empty());
  screen->MoveMouse(first.x, first.y);
  EXPECT_EQ(screen->Cursor(), os::CursorShape::kHand);
  screen->PressMouse();
  screen->MoveMouse(second.x, second.y);
  screen->ReleaseMouse();
  EXPECT_TRUE(clicked.empty()) << "pressed on one, released on another";
  screen->Click(second.x, second.y);
  EXPECT_EQ(clicked, std::vector<std::string>{server.Url("/b.html")});
  screen->MoveMouse(plain.x, plain.y);
  EXPECT_EQ(screen->Cursor(), os::CursorShape::kArrow);
}

TEST_F(HtmlViewTest, OnlyWebPagesAndMailAreHandedToTheShell) {
  if (!machine.sandbox()) GTEST_SKIP() << "the shell would really open them";
  view->OnLinkClick = THtmlView().OnLinkClick;  // the view's own handler
  Load("/schemes.html",
       "<html><body><p><a href='/page.html'>web</a></p><p><a "
       "href='mailto:news@orvo.example'>mail</a></p>"
       "<p><a href='javascript:alert(1)'>script</a></p><p><a href='file:///C:/x.exe'>file</a></p>"
       "<p><a href='\\\\server\\share\\x.exe'>unc</a></p><p><a "
       "href='ms-settings:'>settings</a></p></body></html>");
  form.Show();
  for (const char* text : {"web", "mail", "script", "file", "unc", "settings"}) {
    const Point p = Center(text);
    screen->Click(p.x, p.y);
  }
  EXPECT_EQ(*OpenedUrls(),
            (std::vector<std::string>{server.Url("/page.html"), "mailto:news@orvo.example"}));
}

}  // namespace
}  // namespace orvo::test
