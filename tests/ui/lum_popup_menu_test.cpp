// The skinned popup menu on the headless screen: a level's size, placing at the screen's
// edges and beside the parent item, picking items (radio groups, disabled entries, items
// with sub-items), OnBeforPopup's refusal, scrolling by wheel and by the buttons'
// auto-repeat, and the ways it closes.
#include <gtest/gtest.h>

#include "support/headless_screen.h"
#include "ui/form.h"
#include "ui/lum_popup_menu.h"
#include "ui/lum_ui_utils.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

void Skin(TLumPopupMenu& m) {
  m.AlphaWidth = 5;
  m.ImgBack = SkinPng("menu_back");
  m.ImgSplit = TLumUIPadding(7, 7, 11, 11);
  m.ImgItem = SkinPng("menu_item");
  m.ItemSplit = TLumUIPadding(2, 2, 5, 5);
  m.ItemStateCount = 1;
  m.ImgBtnUpDown = SkinPng("menu_updown");
  m.ItemHeight = 25;
  m.ImgLine = SkinPng("menu_line");
  m.MarginItemX = 1;
  m.MarginItemY = 1;
  m.MarginText = 8;
  m.ImgSubArrow = SkinPng("menu_subarrow");
  m.ImgCheck = SkinPng("menu_check");
  m.ImgRadio = SkinPng("menu_radio");
}

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

struct MenuScene {
  test::HeadlessScreen screen;
  TForm owner;
  TLumPopupMenu menu{&owner};
  std::vector<std::string> log;
  MenuScene() {
    owner.SetBounds(0, 0, 300, 200);
    owner.Show();
    Skin(menu);
    menu.OnMenuClose = [this](TLumPopupMenu&, bool normal) {
      log.push_back(normal ? "closed normally" : "closed");
    };
  }
  ~MenuScene() {
    menu.CloseMenu(false);
    owner.Hide();
  }
  TLumMenuItem& Add(const std::string& caption) {
    TLumMenuItem& item = menu.AddItem(caption);
    item.OnClick = [this](TLumMenuItem& i) { log.push_back("click " + i.Caption()); };
    return item;
  }
  void Hover(int level, const TLumMenuItem& item) {
    const Point p = Centre(menu.ItemScreenRect(level, item));
    screen->MoveMouse(p.x, p.y);
  }
  void Click(int level, const TLumMenuItem& item) {
    const Point p = Centre(menu.ItemScreenRect(level, item));
    screen->Click(p.x, p.y);
  }
};

TEST(LumPopupMenu, LevelSizeFromItsItems) {
  MenuScene s;
  s.menu.MinWidth = 20;
  s.Add("First");
  s.Add("-");
  s.Add("Second").Height = 40;
  s.menu.Popup(50, 50);
  TLumMenuForm* level = s.menu.LevelForm(0);
  ASSERT_TRUE(level);
  // 2 * AlphaWidth + (25 + 2) + (1 + 2) + (40 + 2) + 4
  EXPECT_EQ(level->Height(), 10 + 27 + 3 + 42 + 4);
  EXPECT_EQ(s.menu.Items(1)->ItemRect.height(), 1);  // the separator has the line's height
  EXPECT_EQ(s.menu.Items(2)->ItemRect.height(), 40);
  s.menu.MinWidth = 500;
  s.menu.Popup(50, 50);
  EXPECT_EQ(s.menu.LevelForm(0)->Width(), 500);
}

TEST(LumPopupMenu, OpensUpAndLeftAtTheBottomRightCorner) {
  struct Case {
    Point at;
    bool left_of, pushed_up;
  };
  for (const Case& c : {Case{{100, 100}, false, false}, Case{{1010, 100}, true, false},
                        Case{{100, 720}, false, true}, Case{{1015, 725}, true, true}}) {
    MenuScene s;
    for (int i = 0; i < 5; ++i) s.Add("Entry " + std::to_string(i));
    s.menu.Popup(c.at.x, c.at.y);
    TLumMenuForm* level = s.menu.LevelForm(0);
    ASSERT_TRUE(level);
    EXPECT_EQ(level->Left(), c.left_of ? c.at.x - level->Width() : c.at.x);
    EXPECT_EQ(level->Top(), c.pushed_up ? 728 - level->Height() : c.at.y);  // work area bottom 728
  }
}

TEST(LumPopupMenu, ThreeLevelsOpenBesideTheirItemsAndNoFourth) {
  MenuScene s;
  TLumMenuItem& a = s.Add("Level one");
  TLumMenuItem& b = a.AddSubItem("Level two");
  TLumMenuItem& c = b.AddSubItem("Level three");
  c.AddSubItem("Level four");
  std::vector<std::string> shown;
  s.menu.OnSubMenuShow = [&](TLumMenuItem& i) { shown.push_back("sub " + i.Caption()); };
  s.menu.OnLastMenuShow = [&](TLumMenuItem& i) { shown.push_back("last " + i.Caption()); };
  s.menu.Popup(100, 100);
  s.Hover(0, a);
  ASSERT_TRUE(s.menu.LevelForm(1));
  const TForm& parent = *s.menu.LevelForm(0);
  EXPECT_EQ(s.menu.LevelForm(1)->Left(), parent.Left() + parent.Width() - s.menu.AlphaWidth);
  EXPECT_EQ(s.menu.LevelForm(1)->Top(), parent.Top() + a.ItemRect.top);
  s.Hover(1, b);
  ASSERT_TRUE(s.menu.LevelForm(2));
  s.Hover(2, c);
  EXPECT_EQ(s.menu.HotItem(2), &c);
  EXPECT_EQ(shown, (std::vector<std::string>{"sub Level one", "last Level two"}));
  s.Click(2, c);  // an item with sub-items keeps the menu open
  EXPECT_TRUE(s.menu.IsOpen());
}

TEST(LumPopupMenu, SubmenuNearTheRightEdgeOpensToTheLeft) {
  MenuScene s;
  TLumMenuItem& a = s.Add("Parent");
  a.AddSubItem("Child");
  s.menu.Popup(1024 - 120, 100);
  s.Hover(0, a);
  const TForm& parent = *s.menu.LevelForm(0);
  const TForm& child = *s.menu.LevelForm(1);
  EXPECT_EQ(child.Left(), parent.Left() + s.menu.AlphaWidth - child.Width());
}

TEST(LumPopupMenu, PickingClosesNormallyThenRunsTheItemAndRadioGroupsStayApart) {
  MenuScene s;
  TLumMenuItem& r1 = s.Add("One");
  TLumMenuItem& r2 = s.Add("Two");
  TLumMenuItem& other = s.Add("Other group");
  for (TLumMenuItem* r : {&r1, &r2, &other}) r->RadioItem = r->AutoCheck = true;
  r1.GroupIndex = r2.GroupIndex = 1;
  other.GroupIndex = 2;
  r1.SetChecked(true);
  other.SetChecked(true);
  TLumMenuItem& check = s.Add("Auto check");
  check.AutoCheck = true;
  s.menu.Popup(100, 100);
  s.Click(0, r2);
  EXPECT_EQ(s.log, (std::vector<std::string>{"closed normally", "click Two"}));
  EXPECT_FALSE(r1.Checked());
  EXPECT_TRUE(r2.Checked());
  EXPECT_TRUE(other.Checked());
  s.menu.Popup(100, 100);
  s.Click(0, check);
  EXPECT_TRUE(check.Checked());
}

TEST(LumPopupMenu, DisabledItemsAndSeparatorsAreNeverHotNorPicked) {
  MenuScene s;
  TLumMenuItem& off = s.Add("Disabled");
  off.Enabled = false;
  TLumMenuItem& line = s.Add("-");
  s.menu.Popup(100, 100);
  s.Hover(0, off);
  EXPECT_EQ(s.menu.HotItem(0), nullptr);
  s.Click(0, off);
  s.Hover(0, line);
  EXPECT_EQ(s.menu.HotItem(0), nullptr);
  EXPECT_TRUE(s.menu.IsOpen());
  EXPECT_TRUE(s.log.empty());
}

TEST(LumPopupMenu, RefusedPopupShowsNothing) {
  MenuScene s;
  s.Add("Entry");
  int popups = 0;
  s.menu.OnPopup = [&](TLumPopupMenu&) { ++popups; };
  s.menu.OnBeforPopup = [](TLumPopupMenu&, bool& can_show) { can_show = false; };
  s.menu.Popup(100, 100);
  EXPECT_FALSE(s.menu.IsOpen());
  EXPECT_EQ(s.menu.LevelForm(0), nullptr);
  EXPECT_EQ(popups, 0);
  s.menu.OnBeforPopup = nullptr;
  s.menu.Popup(100, 100);
  EXPECT_EQ(popups, 1);
}

TEST(LumPopupMenu, TallMenusScrollByWheelAndByTheButtonsWithAutoRepeat) {
  MenuScene s;
  for (int i = 0; i < 60; ++i) s.Add("Entry " + std::to_string(i));
  s.menu.Popup(100, 0);
  TLumMenuForm* level = s.menu.LevelForm(0);
  ASSERT_TRUE(level);
  ASSERT_TRUE(s.menu.Scrolling(0));
  EXPECT_LE(level->Height(), 728);
  s.screen->MoveMouse(level->Left() + 40, level->Top() + 100);
  s.screen->Wheel(-os::kWheelDelta);
  EXPECT_EQ(s.menu.FirstShown(0), 1);
  s.screen->Wheel(3 * os::kWheelDelta);
  EXPECT_EQ(s.menu.FirstShown(0), 0);
  const Rect down = s.menu.DownButtonRect(0);
  s.screen->MoveMouse(level->Left() + down.left + 2, level->Top() + down.top + 2);
  s.screen->PressMouse();
  EXPECT_EQ(s.menu.FirstShown(0), 1);  // at once
  s.screen->AdvanceTime(KeyboardRepeatDelay());
  EXPECT_EQ(s.menu.FirstShown(0), 2);  // after the delay
  s.screen->AdvanceTime(KeyboardRepeatInterval() * 3);
  EXPECT_EQ(s.menu.FirstShown(0), 5);
  s.screen->ReleaseMouse();
  s.screen->AdvanceTime(1000);
  EXPECT_EQ(s.menu.FirstShown(0), 5);
  for (int i = 0; i < 100; ++i) s.screen->Wheel(-os::kWheelDelta);
  const int last_first = s.menu.FirstShown(0);
  EXPECT_EQ(s.menu.Items(59)->ItemRect.bottom > 0, true);  // the last entry is shown
  s.screen->Wheel(-os::kWheelDelta);
  EXPECT_EQ(s.menu.FirstShown(0), last_first);
}

TEST(LumPopupMenu, ClosesOnDeactivationAndEscAndRestoresTheDeactivationHandler) {
  MenuScene s;
  s.Add("Entry");
  int deactivations = 0;
  Application().OnDeactivate = [&] { ++deactivations; };
  s.menu.Popup(100, 100);
  s.screen->ActivateOtherApplication();
  EXPECT_FALSE(s.menu.IsOpen());
  EXPECT_EQ(s.log, (std::vector<std::string>{"closed"}));
  s.owner.BringToFront();
  const int before = deactivations;
  s.screen->ActivateOtherApplication();
  EXPECT_EQ(deactivations, before + 1);  // the program's own handler is back
  s.owner.BringToFront();
  s.menu.Popup(100, 100);
  s.screen->PressKey(kVkEscape);
  EXPECT_FALSE(s.menu.IsOpen());
  s.menu.Popup(100, 100);
  s.screen->Click(280, 190);  // in the owner: the menu loses the activation
  EXPECT_FALSE(s.menu.IsOpen());
}

TEST(LumPopupMenu, RightClickReportsTheItemAndKeepsTheMenuOpen) {
  MenuScene s;
  TLumMenuItem& item = s.Add("Entry");
  TLumMenuItem* reported = nullptr;
  s.menu.OnMenuItemRightClick = [&](TLumPopupMenu&, TLumMenuItem& i) { reported = &i; };
  s.menu.Popup(100, 100);
  const Point p = Centre(s.menu.ItemScreenRect(0, item));
  s.screen->Click(p.x, p.y, os::MouseButton::kRight);
  EXPECT_EQ(reported, &item);
  EXPECT_TRUE(s.menu.IsOpen());
}

TEST(LumPopupMenu, ShortCutsAreListedAndShownAsText) {
  TLumPopupMenu menu;
  TLumMenuItem& item = menu.AddItem("Open");
  item.SetShortCut(scCtrl | scShift | 'N');
  EXPECT_EQ(ShortCutToText(item.ShortCut()), "Shift+Ctrl+N");
  EXPECT_EQ(ShortCutToText(0x70), "F1");
  EXPECT_EQ(menu.FindShortCut(scCtrl | scShift | 'N'), &item);
  item.SetShortCut(scNone);
  EXPECT_TRUE(menu.ShortCuts().empty());
  menu.AddItem("Sub").AddSubItem("Deep").SetShortCut(0x2E);
  EXPECT_EQ(menu.ShortCuts().size(), 1u);
  menu.Clear();
  EXPECT_TRUE(menu.ShortCuts().empty());
}

}  // namespace
}  // namespace orvo
