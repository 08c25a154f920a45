// The gallery in each of its named states on a headless screen: every state is reached
// (the menu at three levels, the boxes over the window), and natively, where the fonts are
// fixed, the whole screen matches its golden picture (tests/golden/gallery_<state>.png).
#include <gtest/gtest.h>

#include "app/gallery_states.h"
#include "support/headless_screen.h"
#include "support/pixels.h"
#include "ui/application.h"
#include "ui/hint_window.h"

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
  } else if (state == "lists") {
    TListsWindow& w = *window.lists;
    EXPECT_EQ(w.lstAddons->VerticalOffset(), -72);  // one notch: one row and its gap
    EXPECT_EQ(w.lstAddons->SelectedCount(), 1);
    ASSERT_TRUE(Application().HintShowing());
    EXPECT_EQ(Application().HintWindow()->Text().rfind("Switch it", 0), 0u);
  } else if (state == "editing") {
    TListsWindow& w = *window.lists;
    EXPECT_EQ(w.edtNumber->Text(), "12.5");
    EXPECT_EQ(w.edtPassword->Text(), "secret");
    EXPECT_EQ(w.edtNick->SelText(), "reader");
    EXPECT_TRUE(w.edtNick->CaretShown());
    EXPECT_NE(w.memContent->Text().find("own. More."), std::string::npos);
  } else if (state == "dropdown") {
    EXPECT_TRUE(window.lists->cbbSort->DroppedDown());
    EXPECT_TRUE(window.lists->cbbSort->DroppedUp());
  } else if (state == "columns") {
    ASSERT_TRUE(Application().HintShowing());
    EXPECT_EQ(Application().HintWindow()->Text().rfind("Translates whole pages", 0), 0u);
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
  if (window.lists) window.lists->cbbSort->CloseUp();
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

TEST(Gallery, RowButtonsOfTheAddonListSwitchAndDelete) {
  test::HeadlessScreen screen(GalleryScreen());
  TimgModule module;
  TGalleryWindow window(module);
  window.Show();
  window.OpenLists();
  screen->ProcessMessages();
  TListsWindow& w = *window.lists;
  TLumListView& list = *w.lstAddons;
  ASSERT_EQ(list.ItemCount(), kAddonRows);
  TLumLvItem* row = list.Items(1);
  auto* data = row->DataAs<GalleryAddon>();
  const bool was_on = data->on;
  const Point toggle = w.ToggleCentre(*row);
  screen->MoveMouse(toggle.x, toggle.y);
  screen->Click(toggle.x, toggle.y);
  EXPECT_NE(data->on, was_on);
  const Point o = w.ClientToScreen(list.FormOrigin());
  const Rect bin = data->delete_rect;
  const Point del{o.x + (bin.left + bin.right) / 2, o.y + (bin.top + bin.bottom) / 2};
  screen->MoveMouse(del.x, del.y);
  screen->Click(del.x, del.y);
  EXPECT_EQ(list.ItemCount(), kAddonRows - 1);
  EXPECT_EQ(list.Items(1)->DataAs<GalleryAddon>()->name, "Dark Reader 3");
  window.Hide();
}

}  // namespace
}  // namespace orvo::gallery
