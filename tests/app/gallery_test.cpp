// The gallery in each of its named states on a headless screen: every state is reached
// (the menu at three levels, the boxes over the window), and natively, where the fonts are
// fixed, the whole screen matches its golden picture (tests/golden/gallery_<state>.png).
#include <gtest/gtest.h>

#include "app/gallery_states.h"
#include "support/headless_screen.h"
#include "support/pixels.h"
#include "ui/application.h"

namespace orvo::gallery {
namespace {

os::headless::ScreenOptions GalleryScreen() {
  os::headless::ScreenOptions o;
  o.width = 1024;
  o.height = 720;
  return o;
}

Bitmap32 ToBitmap(const os::Pixels& pixels) {
  Bitmap32 b(pixels.width, pixels.height, PixelHome::kHeap);
  std::copy(pixels.argb.begin(), pixels.argb.end(), b.pixels());
  return b;
}

#ifdef _WIN32
constexpr bool kGoldens = false;  // GDI's text differs from the native goldens
#else
constexpr bool kGoldens = true;
#endif

// What each state must have on the screen when it is captured.
void ExpectState(const std::string& state, TGalleryWindow& window) {
  if (state == "menu") {
    EXPECT_TRUE(window.sysMenu.LevelForm(2));
  } else if (state == "scrolled") {
    EXPECT_GT(window.sysMenu.FirstShown(1), 0);
  } else if (state == "question" || state == "notice") {
    EXPECT_TRUE(window.MsgBox()->Busy());
  } else if (state == "hint") {
    EXPECT_TRUE(Application().HintShowing());
  }
}

class GalleryState : public ::testing::TestWithParam<std::string> {};

TEST_P(GalleryState, IsReachedAndLooksAsBefore) {
  test::HeadlessScreen screen(GalleryScreen());
  TimgModule module;
  TGalleryWindow window(module);
  Application().MainForm = &window;
  window.Show();
  screen->ProcessMessages();
  int captures = 0;
  const std::string state = GetParam();
  const bool reached = ShowState(window, *screen, state, [&] {
    ++captures;
    ExpectState(state, window);
    if (kGoldens) {
      EXPECT_TRUE(test::MatchesGolden(ToBitmap(screen->RenderScreen()), "gallery_" + state));
    }
  });
  ASSERT_TRUE(reached);
  EXPECT_EQ(captures, 1);
  EXPECT_EQ(window.LastAnswer(), state == "question" || state == "notice" ? kMsgResultOk : 0);
  window.sysMenu.CloseMenu(false);
  window.Hide();
}

INSTANTIATE_TEST_SUITE_P(Gallery, GalleryState, ::testing::ValuesIn(StateNames()),
                         [](const auto& param_info) { return param_info.param; });

TEST(Gallery, PickingAMenuEntryAndAnsweringABoxShowInTheWindow) {
  test::HeadlessScreen screen(GalleryScreen());
  TimgModule module;
  TGalleryWindow window(module);
  window.Show();
  window.OpenMenu();
  TLumMenuItem& item = *window.miLanguage->SubItem(1);
  const Rect r = window.sysMenu.ItemScreenRect(0, *window.miLanguage);
  screen->MoveMouse((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  const Rect sub = window.sysMenu.ItemScreenRect(1, item);
  screen->Click((sub.left + sub.right) / 2, (sub.top + sub.bottom) / 2);
  EXPECT_FALSE(window.sysMenu.IsOpen());
  EXPECT_TRUE(item.Checked());
  EXPECT_FALSE(window.miLanguage->SubItem(0)->Checked());
  auto* status = dynamic_cast<TLumLabel*>(window.FindControl("lblStatus"));
  ASSERT_TRUE(status);
  EXPECT_EQ(status->Caption(), "Language: Deutsch");

  screen->on_modal_idle = [&] {
    screen->PressKey(kVkReturn);
    return true;
  };
  const Point ask = window.ScreenCentre(*window.btnAsk);
  screen->Click(ask.x, ask.y);
  screen->on_modal_idle = nullptr;
  EXPECT_EQ(window.LastAnswer(), kMsgResultYes);
  EXPECT_EQ(window.lblResult->Caption(), "Last answer: Yes (6)");
  window.Hide();
}

}  // namespace
}  // namespace orvo::gallery
