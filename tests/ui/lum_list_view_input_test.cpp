// The list view under the pointer: clicks and the selection rules, check boxes, the
// events with their arguments, hints for cut texts, dragging rows to a new place, the
// header band, in-place editing and the wheel.
#include <gtest/gtest.h>

#include "ui/lum_list_view.h"
#include "ui/lum_popup_menu.h"
#include "ui/skin_resources.h"
#include "list_scene.h"

namespace orvo {
namespace {

using test::ListScene;

TEST(LumListViewInput, PressOnOneRowAndReleaseOnAnotherFiresNothing) {
  ListScene s(5);
  const Point a = s.At(0), b = s.At(2);
  s.screen->MoveMouse(a.x, a.y);
  s.screen->PressMouse();
  s.screen->MoveMouse(b.x, b.y);
  s.screen->ReleaseMouse();
  EXPECT_TRUE(s.log.empty());
  EXPECT_EQ(s.list->SelectedCount(), 0);
  // The same row: selection first, then the click.
  s.Click(2);
  EXPECT_EQ(s.log, (std::vector<std::string>{"select Row 2", "click Row 2"}));
}

TEST(LumListViewInput, SelectionRules) {
  struct Case {
    const char* name;
    bool multi;
    std::vector<std::pair<int, os::InputFlags>> clicks;
    std::vector<int> selected;
  };
  const Case cases[] = {
      {"single keeps one", false, {{1, 0}, {3, os::kInCtrl}}, {3}},
      {"ctrl adds", true, {{1, 0}, {3, os::kInCtrl}}, {1, 3}},
      {"shift takes the range from the anchor", true, {{1, 0}, {4, os::kInShift}}, {1, 2, 3, 4}},
      {"shift range upwards replaces",
       true,
       {{3, 0}, {4, os::kInCtrl}, {1, os::kInShift}},
       {1, 2, 3, 4}},
      {"plain click after a range", true, {{1, 0}, {3, os::kInShift}, {2, 0}}, {2}},
  };
  for (const Case& c : cases) {
    ListScene s(6);
    s.list->MultiSelect = c.multi;
    for (auto [row, modifiers] : c.clicks) s.Click(row, modifiers);
    std::vector<int> selected;
    for (int i = 0; i < s.list->ItemCount(); ++i) {
      if (s.list->Items(i)->Selected()) selected.push_back(i);
    }
    EXPECT_EQ(selected, c.selected) << c.name;
  }
}

TEST(LumListViewInput, DisabledRowsAreNotHotHitOrSelectedAndAPressBesideRowsClears) {
  ListScene s(3);
  s.list->Items(1)->Enabled = false;
  s.Click(1);
  EXPECT_TRUE(s.log.empty());
  EXPECT_EQ(s.list->HotItem(), nullptr);
  s.Click(0);
  ASSERT_TRUE(s.list->Items(0)->Selected());
  const Point below = s.Screen({50, 90});  // below the three rows
  s.screen->Click(below.x, below.y);
  EXPECT_FALSE(s.list->Items(0)->Selected());
  EXPECT_EQ(s.list->FocusedItem(), nullptr);
}

TEST(LumListViewInput, RowMouseEventsCarryTheRowAndListCoordinates) {
  ListScene s(3);
  std::vector<std::string> events;
  auto record = [&](const char* what) {
    return [&events, what](TLumListView&, Canvas&, TLumLvItem& row, TShiftState, int x, int y) {
      events.push_back(std::string(what) + " " + row.Caption() + " " + std::to_string(x) + "," +
                       std::to_string(y));
    };
  };
  s.list->OnItemMouseMove = record("move");
  s.list->OnItemMouseDown = record("down");
  s.list->OnItemMouseUP = record("up");
  const Point p = s.Screen({30, 25});
  s.screen->Click(p.x, p.y);
  EXPECT_EQ(events,
            (std::vector<std::string>{"move Row 1 30,25", "down Row 1 30,25", "up Row 1 30,25"}));
  EXPECT_EQ(s.list->FocusedItem(), s.list->Items(1));
  EXPECT_TRUE(s.list->Focused());
}

TEST(LumListViewInput, CheckBoxTogglesWithoutClickingTheRow) {
  ListScene s(3);
  s.list->ShowCheckBox = true;
  s.list->ImgCheck = SkinPng("check");
  std::vector<std::string> checked;
  s.list->OnItemCheck = [&](TLumListView&, TLumLvItem& row) {
    checked.push_back(row.Caption() + (row.Checked ? " on" : " off"));
  };
  s.Relayout();
  const Rect box = s.list->Items(1)->CheckRect;
  ASSERT_GT(box.width(), 0);
  const Point p = s.Screen({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  s.screen->MoveMouse(p.x, p.y);
  s.screen->Click(p.x, p.y);
  s.screen->Click(p.x, p.y + 200);  // elsewhere, nothing
  EXPECT_EQ(checked, std::vector<std::string>{"Row 1 on"});
  EXPECT_TRUE(s.log.empty());
  EXPECT_EQ(s.list->Items(1)->TextRect.left, box.right + s.list->MarginText);
}

TEST(LumListViewInput, CaptionCutByItsColumnIsShownWholeAsHint) {
  ListScene s(2);
  s.list->AddColumn(std::make_unique<TLumLvHeadItem>("", 70));
  s.list->AddColumn(std::make_unique<TLumLvHeadItem>("", 60));
  const std::string longer = "A caption far wider than seventy pixels";
  s.list->Items(0)->SetCaption(longer);
  s.list->Items(1)->AddSubItem("A sub-item cut too");
  s.list->Hint = "the list's own";
  s.list->EnsureLayout();
  ASSERT_LT(s.list->Items(0)->TextRect.width(), 70);
  const Point p = s.At(0, 10);
  s.screen->MoveMouse(p.x, p.y);
  s.screen->AdvanceTime(Application().HintPause + 50);
  ASSERT_TRUE(Application().HintShowing());
  EXPECT_EQ(Application().HintWindow()->Text(), longer);

  const Rect cell = s.list->Items(1)->SubItem(0)->CellRect;
  EXPECT_TRUE(s.list->Items(1)->SubItem(0)->Truncated);
  const Point q = s.Screen({cell.left + 5, cell.top + 5});
  s.screen->MoveMouse(q.x, q.y);
  s.screen->AdvanceTime(Application().HintPause + 50);
  ASSERT_TRUE(Application().HintShowing());
  EXPECT_EQ(Application().HintWindow()->Text(), "A sub-item cut too");

  const Point away = s.Screen({150, 80});
  s.screen->MoveMouse(away.x, away.y);
  EXPECT_EQ(s.list->Hint, "the list's own");
}

TEST(LumListViewInput, ShowItemHintShowsAtOnceAndStaysWhileThePointerMoves) {
  ListScene s(2);
  s.list->OnItemMouseMove = [&](TLumListView& l, Canvas&, TLumLvItem&, TShiftState, int x, int y) {
    l.ShowItemHint("Delete", s.Screen({x, y}));
  };
  const Point p = s.At(0);
  s.screen->MoveMouse(p.x, p.y);
  ASSERT_TRUE(Application().HintShowing());
  s.screen->MoveMouse(p.x + 3, p.y);
  EXPECT_TRUE(Application().HintShowing());
  EXPECT_EQ(Application().HintWindow()->Text(), "Delete");
}

TEST(LumListViewInput, DraggedRowsGoBeforeTheRowTheyAreDroppedOn) {
  ListScene s(6);
  s.list->MultiSelect = true;
  s.list->CanDrag = true;
  bool began = false;
  s.list->OnDragBeging = [&](TLumListView&) { began = true; };
  s.Click(1);
  s.Click(2, os::kInCtrl);
  const Point from = s.At(1), to = s.At(5);
  s.screen->MoveMouse(from.x, from.y);
  s.screen->PressMouse();
  EXPECT_TRUE(s.list->Dragging());
  s.screen->MoveMouse(to.x, to.y);
  s.screen->ReleaseMouse();
  EXPECT_TRUE(began);
  std::vector<std::string> order;
  for (int i = 0; i < s.list->ItemCount(); ++i) order.push_back(s.list->Items(i)->Caption());
  EXPECT_EQ(order,
            (std::vector<std::string>{"Row 0", "Row 3", "Row 4", "Row 1", "Row 2", "Row 5"}));
}

TEST(LumListViewInput, RubberBandSelectsExactlyTheRowsItMeets) {
  ListScene s(5);
  s.list->MultiSelect = true;
  s.list->ImgSelBox = SkinPng("list_selbox");
  const Point from = s.Screen({150, 25}), to = s.Screen({170, 65});
  s.screen->MoveMouse(from.x, from.y);
  s.screen->PressMouse();
  s.screen->MoveMouse(to.x, to.y);
  s.screen->ReleaseMouse();
  std::vector<int> selected;
  for (int i = 0; i < 5; ++i) {
    if (s.list->Items(i)->Selected()) selected.push_back(i);
  }
  EXPECT_EQ(selected, (std::vector<int>{1, 2, 3}));
}

TEST(LumListViewInput, HeaderClicksAndColumnResizingWithinLimits) {
  ListScene s(2, 150);
  s.list->HeaderHeight = 22;
  s.list->ImgHeader = SkinPng("list_header");
  s.list->HeaderStateCount = 1;
  s.list->AddColumn(std::make_unique<TLumLvHeadItem>("One", 80));
  s.list->AddColumn(std::make_unique<TLumLvHeadItem>("Two", 60));
  std::vector<int> clicked;
  s.list->OnHeadClickEvent = [&](TLumListView&, TLumLvHeadItem&, int index) {
    clicked.push_back(index);
  };
  s.Relayout();
  EXPECT_EQ(s.list->Items(0)->ItemRect.top, 23);  // rows start under the band
  const Point two = s.Screen({120, 10});
  s.screen->Click(two.x, two.y);
  EXPECT_EQ(clicked, std::vector<int>{1});

  // The split right of column 0 (x 81): drag it 30 pixels right, then too far left.
  const Point split = s.Screen({82, 10});
  s.screen->MoveMouse(split.x, split.y);
  s.screen->PressMouse();
  s.screen->MoveMouse(split.x + 30, split.y);
  EXPECT_EQ(s.list->Columns(0)->Width, 110);
  s.screen->MoveMouse(s.Screen({40, 10}).x, split.y);
  EXPECT_EQ(s.list->Columns(0)->Width, 38);
  s.screen->MoveMouse(s.Screen({25, 10}).x, split.y);  // 23 would be below 30: refused
  EXPECT_EQ(s.list->Columns(0)->Width, 38);
  s.screen->ReleaseMouse();
  EXPECT_EQ(clicked.size(), 1u);
}

TEST(LumListViewInput, DoubleClickOnTheCaptionEditsItInPlace) {
  ListScene s(3);
  s.list->AddColumn(std::make_unique<TLumLvHeadItem>("", 80));
  s.list->CanEditItem = true;
  int double_clicks = 0;
  s.list->OnItemDbClick = [&](TLumListView&, TLumLvItem&) { ++double_clicks; };
  const Point p = s.At(1, 12);
  s.screen->DoubleClick(p.x, p.y);
  ASSERT_TRUE(s.list->Editor() && s.list->Editor()->Visible());
  EXPECT_EQ(s.list->EditingItem(), s.list->Items(1));
  EXPECT_EQ(s.list->Editor()->Text(), "Row 1");
  s.screen->Type("Renamed");
  s.screen->PressKey(kVkReturn);
  EXPECT_EQ(s.list->Items(1)->Caption(), "Renamed");
  EXPECT_FALSE(s.list->Editor()->Visible());
  EXPECT_EQ(double_clicks, 0);
  // Beside the caption: the double-click event instead.
  const Point q = s.At(2, 150);
  s.screen->DoubleClick(q.x, q.y);
  EXPECT_EQ(double_clicks, 1);
}

TEST(LumListViewInput, RightPressSelectsOnlyWithSupportRightSelectAndRightReleaseOpensTheMenu) {
  for (const bool support : {false, true}) {
    ListScene s(3);
    s.list->SupportRightSelect = support;
    TLumPopupMenu menu(&s.form);
    menu.AddItem("Remove");
    s.list->PopupMenu = &menu;
    s.Click(0);
    s.log.clear();
    const Point p = s.At(2);
    s.screen->Click(p.x, p.y, os::MouseButton::kRight);
    EXPECT_TRUE(menu.IsOpen());
    menu.CloseMenu(false);
    if (support) {
      EXPECT_EQ(s.log, (std::vector<std::string>{"unselect Row 0", "select Row 2"}));
      EXPECT_EQ(s.list->FocusedItem(), s.list->Items(2));
    } else {
      EXPECT_TRUE(s.log.empty());
      EXPECT_TRUE(s.list->Items(0)->Selected());
    }
  }
}

TEST(LumListViewInput, OwnerDrawnRowsSkipTheDefaultButNotTheAfterDraw) {
  ListScene s(3);
  std::vector<std::string> drawn;
  s.list->OnItemOwnerDraw = [&](Canvas&, int index, TLumLvItem&, bool& default_draw) {
    default_draw = index != 1;
  };
  s.list->OnAfterItemDraw = [&](Canvas&, int index, TLumLvItem& row) {
    drawn.push_back(std::to_string(index) + (row.TextRect == kNoRect ? " bare" : " text"));
  };
  s.Paint();
  EXPECT_EQ(drawn, (std::vector<std::string>{"0 text", "1 bare", "2 text"}));
  // While updating nothing is painted; the end of the update lays out again.
  drawn.clear();
  s.list->BeginUpdate();
  s.list->AddItem().SetCaption("Row 3");
  s.list->Changed();
  s.screen->ProcessMessages();
  EXPECT_TRUE(drawn.empty());
  s.list->EndUpdate();
  s.screen->ProcessMessages();
  EXPECT_EQ(drawn.size(), 4u);
}

TEST(LumListViewInput, TheWheelGoesToTheVerticalBar) {
  ListScene s(20);
  s.Click(0);
  s.screen->Wheel(-os::kWheelDelta);
  EXPECT_TRUE(s.list->VerticalBar()->Focused());
  EXPECT_EQ(s.list->VerticalOffset(), -20);
  s.screen->Wheel(os::kWheelDelta);
  s.screen->Wheel(os::kWheelDelta);  // at the top: nothing more
  EXPECT_EQ(s.list->VerticalOffset(), 0);
  // The list kept its focused row: the focus went to its own bar.
  EXPECT_EQ(s.list->FocusedItem(), s.list->Items(0));
}

}  // namespace
}  // namespace orvo
