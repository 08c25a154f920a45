// The skinned scroll bar on the headless screen: its value rules in any order of setting,
// the thumb's place and size, paging and stepping with auto-repeat until the thumb reaches
// the pointer, dragging, the wheel and the keys.
#include <gtest/gtest.h>

#include "support/headless_screen.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/image_module.h"
#include "ui/lum_scroll_bar.h"
#include "ui/lum_ui_utils.h"

namespace orvo {
namespace {

struct BarScene {
  test::HeadlessScreen screen;
  TimgModule module;
  TForm form;
  TLumScrollBar* bar;
  std::vector<int> scrolled;
  BarScene() {
    form.SetBounds(100, 100, 300, 300);
    bar = form.Make<TLumScrollBar>();
    bar->SetBounds(20, 20, 15, 200);
    bar->SetScrollRes(&module.lmscrlbrs);
    bar->OnScroll = [this](TLumScrollBar&, int& pos) { scrolled.push_back(pos); };
    form.Show();
    screen->ProcessMessages();
  }
  ~BarScene() { form.Hide(); }
  // A screen point at a pixel along the bar, in its middle across.
  Point Along(int y) const { return form.ClientToScreen({27, 20 + y}); }
};

TEST(LumScrollBar, ValueRulesHoldWhateverIsSetFirst) {
  struct Step {
    char what;  // n min, x max, p page, s position
    int value;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    int min, max, page, position;
  };
  const Case cases[] = {
      {"page larger than the range", {{'x', 9}, {'p', 50}}, 0, 9, 10, 0},
      {"negative page ignored", {{'p', 5}, {'p', -3}}, 0, 100, 5, 0},
      {"position beyond the last page", {{'p', 10}, {'s', 500}}, 0, 100, 10, 91},
      {"position below min", {{'n', 10}, {'s', 3}}, 10, 100, 1, 10},
      {"min above max is held at max", {{'x', 20}, {'n', 50}}, 20, 20, 1, 20},
      {"max below min is held at min", {{'n', 30}, {'x', 5}}, 30, 30, 1, 30},
      {"lowering max pulls position and page in", {{'p', 40}, {'s', 61}, {'x', 50}}, 0, 50, 40, 11},
  };
  for (const Case& c : cases) {
    TLumScrollBar bar;
    for (const Step& s : c.steps) {
      switch (s.what) {
        case 'n': bar.SetMin(s.value); break;
        case 'x': bar.SetMax(s.value); break;
        case 'p': bar.SetPageSize(s.value); break;
        case 's': bar.SetPosition(s.value); break;
      }
    }
    EXPECT_EQ(bar.Min(), c.min) << c.name;
    EXPECT_EQ(bar.Max(), c.max) << c.name;
    EXPECT_EQ(bar.PageSize(), c.page) << c.name;
    EXPECT_EQ(bar.Position(), c.position) << c.name;
  }
}

TEST(LumScrollBar, ThumbSizeAndPlace) {
  BarScene s;
  // Buttons of 13 pixels leave a track of 200 - 26 = 174.
  s.bar->SetParams(0, 99, 50);
  const Rect thumb = s.bar->PartRect(TLumScrollBar::kThumb);
  EXPECT_EQ(thumb.top, 13);
  EXPECT_EQ(thumb.height(), 87);  // rnd(174 * 50 / 100)
  EXPECT_EQ(thumb.width(), 11);   // the slider frame's width, centred
  s.bar->SetPosition(1000);       // clamped to 50: the thumb touches the track's end
  EXPECT_EQ(s.bar->Position(), 50);
  EXPECT_EQ(s.bar->PartRect(TLumScrollBar::kThumb).bottom, 187);
  // A tiny page still gets three halves of the system's thumb.
  s.bar->SetParams(0, 10000, 1);
  EXPECT_EQ(s.bar->ThumbLength(), SystemThumbLength() * 3 / 2);
}

TEST(LumScrollBar, ThumbAsLongAsTheTrackIsNotDrawnAndDoesNotDrag) {
  BarScene s;
  s.bar->SetParams(0, 9, 50);  // the page covers everything
  EXPECT_EQ(s.bar->PageSize(), 10);
  EXPECT_EQ(s.bar->ThumbLength(), 0);
  EXPECT_TRUE(s.bar->PartRect(TLumScrollBar::kThumb).empty());
  const Point p = s.Along(100);
  s.screen->MoveMouse(p.x, p.y);
  s.screen->PressMouse();
  s.screen->MoveMouse(p.x, p.y + 40);
  s.screen->ReleaseMouse();
  EXPECT_EQ(s.bar->Position(), 0);
}

TEST(LumScrollBar, DraggingTheThumbFollowsThePointer) {
  BarScene s;
  s.bar->SetParams(0, 99, 50);
  const Rect thumb = s.bar->PartRect(TLumScrollBar::kThumb);
  const Point grab = s.Along(thumb.top + 10);
  s.screen->MoveMouse(grab.x, grab.y);
  s.screen->PressMouse();
  EXPECT_TRUE(s.bar->Dragging());
  s.screen->MoveMouse(grab.x, grab.y + 87 / 2);  // half the free track (174 - 87)
  EXPECT_EQ(s.bar->Position(), 25);
  s.screen->MoveMouse(grab.x, grab.y + 500);  // kept within the track
  EXPECT_EQ(s.bar->Position(), 50);
  s.screen->ReleaseMouse();
  EXPECT_FALSE(s.bar->Dragging());
  EXPECT_EQ(s.scrolled.back(), 50);
}

TEST(LumScrollBar, PagePressRepeatsUntilTheThumbReachesThePointer) {
  BarScene s;
  s.bar->SetParams(0, 199, 20);
  const Point p = s.Along(150);  // in the page-after area, far down
  s.screen->MoveMouse(p.x, p.y);
  s.screen->PressMouse();
  EXPECT_EQ(s.bar->Position(), 20);  // one page at once
  s.screen->AdvanceTime(KeyboardRepeatDelay() - 1);
  EXPECT_EQ(s.bar->Position(), 20);
  s.screen->AdvanceTime(1);
  EXPECT_EQ(s.bar->Position(), 40);
  s.screen->AdvanceTime(KeyboardRepeatInterval() * 50);
  // It stopped once the thumb covered the pointer.
  EXPECT_TRUE(s.bar->PartRect(TLumScrollBar::kThumb).Contains({7, 150}));
  const int stopped = s.bar->Position();
  s.screen->AdvanceTime(KeyboardRepeatInterval() * 10);
  EXPECT_EQ(s.bar->Position(), stopped);
  EXPECT_LT(stopped, 180);
  s.screen->ReleaseMouse();
}

TEST(LumScrollBar, ButtonsStepBySmallChange) {
  BarScene s;
  s.bar->SmallChange = 7;
  const Point down = s.Along(195);
  s.screen->MoveMouse(down.x, down.y);
  s.screen->PressMouse();
  s.screen->AdvanceTime(KeyboardRepeatDelay());
  s.screen->ReleaseMouse();
  EXPECT_EQ(s.bar->Position(), 14);
  EXPECT_EQ(s.scrolled, (std::vector<int>{7, 14, 14}));  // the release reports once more
  const Point up = s.Along(3);
  s.screen->Click(up.x, up.y);
  EXPECT_EQ(s.bar->Position(), 7);
}

TEST(LumScrollBar, WheelAndKeysWhenFocused) {
  BarScene s;
  s.bar->SetParams(0, 100, 10);
  s.bar->SmallChange = 5;
  s.bar->SetFocus();
  s.screen->MoveMouse(s.Along(100).x, s.Along(100).y);
  s.screen->Wheel(os::kWheelDelta);  // up at 0: nothing, no event
  EXPECT_TRUE(s.scrolled.empty());
  s.screen->Wheel(-os::kWheelDelta);
  EXPECT_EQ(s.bar->Position(), 5);
  EXPECT_EQ(s.scrolled, std::vector<int>{5});
  struct Key {
    uint16_t key;
    int position;
  };
  for (const Key k : {Key{kVkNext, 15}, Key{kVkDown, 20}, Key{kVkLeft, 15}, Key{kVkEnd, 91},
                      Key{kVkPrior, 81}, Key{kVkHome, 0}}) {
    s.screen->PressKey(k.key);
    EXPECT_EQ(s.bar->Position(), k.position) << k.key;
  }
}

}  // namespace
}  // namespace orvo
