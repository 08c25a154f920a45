// The list view's layout on the headless screen: where rows go, when the scroll bars come
// and go, scrolling and resizing, rows of measured heights, invisible rows, inserting and
// deleting, row skins by state count, and hover repainting only the rows it concerns.
#include <gtest/gtest.h>

#include "support/pixels.h"
#include "ui/lum_list_view.h"
#include "ui/lum_ui_utils.h"
#include "ui/skin_resources.h"
#include "list_scene.h"

namespace orvo {
namespace {

using test::ListScene;

TEST(LumListViewLayout, RowsThatFitExactlyShowNoBarOnePixelMoreShowsItAndNarrowsRows) {
  ListScene s(5);  // 5 x 20 = 100 = 102 less the border's two pixels
  EXPECT_EQ(s.list->ContentHeight(), 100);
  EXPECT_EQ(s.list->VisibleHeight(), 100);
  EXPECT_FALSE(s.list->VerticalBarShown());
  EXPECT_EQ(s.list->Items(0)->ItemRect, (Rect{2, 1, 198, 21}));
  EXPECT_EQ(s.list->Items(4)->ItemRect, (Rect{2, 81, 198, 101}));

  // One pixel more content: the bar comes and every row loses its width.
  s.list->OnItemsDrawOffSet = [](TLumListView&, int&, int& top) { top = 1; };
  s.Relayout();
  ASSERT_TRUE(s.list->VerticalBarShown());
  const int bar = s.list->VerticalBar()->Width();
  EXPECT_EQ(s.list->Items(0)->ItemRect, (Rect{2, 2, 198 - bar, 22}));
  EXPECT_EQ(s.list->VerticalBar()->Max(), 101);
  EXPECT_EQ(s.list->VerticalBar()->PageSize(), 100);
  EXPECT_EQ(s.list->VerticalBar()->Left(), 200 - bar - 1);
}

TEST(LumListViewLayout, InvisibleRowsTakeNoSpaceAndAreNeverHit) {
  ListScene s(4);
  s.list->Items(1)->Visible = false;
  s.Relayout();
  EXPECT_EQ(s.list->Items(1)->ItemRect, kNoRect);
  EXPECT_EQ(s.list->Items(2)->ItemRect.top, 21);
  EXPECT_EQ(s.list->ContentHeight(), 60);
  // Where row 1 was, row 2 is hit.
  s.Click(2);
  EXPECT_EQ(s.log, (std::vector<std::string>{"select Row 2", "click Row 2"}));
}

TEST(LumListViewLayout, InsertItemAcceptsZeroToCountAndRefusesTheRest) {
  ListScene s(2);
  EXPECT_TRUE(s.list->InsertItem(std::make_unique<TLumLvItem>("at end"), 2));
  EXPECT_EQ(s.list->Items(2)->Caption(), "at end");
  EXPECT_FALSE(s.list->InsertItem(std::make_unique<TLumLvItem>("beyond"), 4));
  EXPECT_FALSE(s.list->InsertItem(std::make_unique<TLumLvItem>("negative"), -1));
  EXPECT_TRUE(s.list->InsertItem(std::make_unique<TLumLvItem>("first"), 0));
  EXPECT_EQ(s.list->ItemCount(), 4);
  EXPECT_EQ(s.list->Items(0)->Caption(), "first");
  EXPECT_EQ(s.list->Items(0)->Owner(), s.list);
  EXPECT_EQ(s.list->Items(-1), nullptr);
  EXPECT_EQ(s.list->Items(4), nullptr);
}

TEST(LumListViewLayout, ScrolledToTheEndThenEnlargedLeavesNoSpaceBelowTheLastRow) {
  ListScene s(20);  // 400 pixels of rows in 100
  s.Click(0);       // the list takes the focus; the wheel goes to its bar
  for (int i = 0; i < 30; ++i) s.screen->Wheel(-os::kWheelDelta);
  EXPECT_EQ(s.list->VerticalOffset(), -300);
  EXPECT_EQ(s.list->Items(19)->ItemRect.bottom, 101);

  s.list->SetHeight(202);  // 200 visible
  EXPECT_EQ(s.list->VerticalOffset(), -200);
  EXPECT_EQ(s.list->Items(19)->ItemRect.bottom, 201);
  EXPECT_EQ(s.list->VerticalBar()->Position(), 200);

  s.list->SetHeight(500);  // everything fits: no bar, no offset
  EXPECT_EQ(s.list->VerticalOffset(), 0);
  EXPECT_FALSE(s.list->VerticalBarShown());
  EXPECT_EQ(s.list->Items(0)->ItemRect.top, 1);
}

TEST(LumListViewLayout, ScrollBarDraggedToItsEndLeavesNoGapEither) {
  ListScene s(20);
  TLumScrollBar& bar = *s.list->VerticalBar();
  bar.SetPosition(bar.Max());  // the bar's own range ends one past the last pixel
  int pos = bar.Max();
  bar.OnScroll(bar, pos);
  EXPECT_EQ(s.list->VerticalOffset(), -300);
  EXPECT_EQ(pos, 300);
}

TEST(LumListViewLayout, MeasuredRowsGetTheirOwnHeightsAndPositions) {
  ListScene s(0, 402);
  std::vector<int> measured;
  s.list->OnMeasureItem = [&](TLumLvItem&, int index, int& height) {
    measured.push_back(index);
    height = 10 + 10 * index;
  };
  for (int i = 0; i < 4; ++i) s.list->AddItem();
  s.list->EnsureLayout();
  EXPECT_EQ(s.list->Items(0)->ItemRect.height(), 10);
  EXPECT_EQ(s.list->Items(3)->ItemRect, (Rect{2, 1 + 10 + 20 + 30, 198, 1 + 60 + 40}));
  EXPECT_EQ(s.list->ContentHeight(), 100);
  EXPECT_FALSE(measured.empty());
}

TEST(LumListViewLayout, RowsBelowTheViewAreNotLaidOutWithoutMeasuring) {
  ListScene s(50);
  EXPECT_EQ(s.list->Items(5)->ItemRect.top, 101);  // starts inside, ends outside
  EXPECT_EQ(s.list->Items(6)->ItemRect, kNoRect);
  EXPECT_EQ(s.list->Items(49)->ItemRect, kNoRect);
}

TEST(LumListViewLayout, DeleteAndClearHandTheDataBackAndForgetRows) {
  ListScene s(30);
  std::vector<std::string> deleted;
  s.list->OnItemDataDelete = [&](TLumListView&, TLumLvItem& row) {
    deleted.push_back(row.Caption());
  };
  const Point p = s.At(1);
  s.screen->MoveMouse(p.x, p.y);
  ASSERT_EQ(s.list->HotItem(), s.list->Items(1));
  s.list->DeleteItem(s.list->Items(1));
  EXPECT_EQ(deleted, std::vector<std::string>{"Row 1"});
  EXPECT_EQ(s.list->HotItem(), nullptr);
  EXPECT_EQ(s.list->ItemCount(), 29);

  deleted.clear();
  s.list->Clear();
  ASSERT_EQ(deleted.size(), 29u);
  EXPECT_EQ(deleted.front(), "Row 29");
  EXPECT_EQ(deleted.back(), "Row 0");
  EXPECT_EQ(s.list->VerticalBar(), nullptr);
  EXPECT_EQ(s.list->VerticalOffset(), 0);
  s.Paint();  // and an empty list paints
}

TEST(LumListViewLayout, RowSkinsFollowTheStateCount) {
  // A strip of two frames (hot red, selected green): a plain row draws no frame at all.
  PngImage strip(8, 20);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 8; ++x) strip.SetPixel(x, y, x < 4 ? 0xFFFF0000 : 0xFF00FF00);
  }
  ListScene s(3);
  s.list->Imgitem = strip;
  s.list->ItemStateCount = 2;
  s.list->Items(2)->SetSelected(true);
  s.Paint();
  const Point hot = s.At(1, 150);
  s.screen->MoveMouse(hot.x, hot.y);
  const os::Pixels shot = s.screen->RenderScreen();
  auto pixel = [&](int row) {
    const Point p = s.At(row, 150);
    return shot.argb[static_cast<size_t>(p.y) * shot.width + p.x] & 0xFFFFFF;
  };
  EXPECT_EQ(pixel(0), 0xFFFFFFu);  // neither hot nor selected: the list's white
  EXPECT_EQ(pixel(1), 0xFF0000u);
  EXPECT_EQ(pixel(2), 0x00FF00u);
}

TEST(LumListViewLayout, MovingToAnotherRowRedrawsOnlyTheTwoRows) {
  ListScene s(5);
  std::vector<int> drawn;
  s.list->OnAfterItemDraw = [&](Canvas&, int index, TLumLvItem&) { drawn.push_back(index); };
  s.screen->MoveMouse(s.At(1).x, s.At(1).y);
  drawn.clear();
  s.screen->MoveMouse(s.At(3).x, s.At(3).y);
  std::sort(drawn.begin(), drawn.end());
  EXPECT_EQ(drawn, (std::vector<int>{1, 3}));
  // The screen shows them: the new hot row's caption in the hot colour.
  EXPECT_EQ(s.list->HotItem(), s.list->Items(3));
}

TEST(LumListViewLayout, ReportColumnsCarrySubItemsAndAutoSizeTakesTheGainedWidth) {
  ListScene s(2);
  s.list->AddColumn(std::make_unique<TLumLvHeadItem>("A", 80)).AutoSize = true;
  s.list->AddColumn(std::make_unique<TLumLvHeadItem>("B", 60));
  s.list->Items(0)->AddSubItem("sub");
  s.list->EnsureLayout();
  EXPECT_EQ(s.list->Columns(1)->ColumnRect.left, 1 + 80 + 3);
  EXPECT_EQ(s.list->Items(0)->SubItem(0)->CellRect, (Rect{84, 1, 144, 21}));
  EXPECT_EQ(s.list->Items(0)->TextRect.right, 81);  // the caption stops at column 0
  s.list->SetWidth(250);
  EXPECT_EQ(s.list->Columns(0)->Width, 130);
  s.list->SetWidth(200);  // shrinking gives nothing back
  EXPECT_EQ(s.list->Columns(0)->Width, 130);
}

TEST(LumListViewLayout, IconStyleLaysCellsOutLeftToRight) {
  ListScene s(7, 150);
  s.list->ViewStyle = WvsIcon;
  s.list->ItemWidth = 40;
  s.list->Itemheight = 30;
  s.list->MarginItem = 4;
  s.list->Items(2)->Visible = false;
  s.Relayout();
  // W' = 200 - 8 - 2 - 11 (a frame of the bar's skin) = 179; (179 - 3 * 4) div 40 = 4 a line.
  EXPECT_EQ(s.list->Items(0)->ItemRect, RectOfSize(2 + 4, 1 + 4, 40, 30));
  EXPECT_EQ(s.list->Items(4)->ItemRect.left, 6 + 3 * 44);
  EXPECT_EQ(s.list->Items(5)->ItemRect, RectOfSize(6, 5 + 34, 40, 30));
  EXPECT_EQ(s.list->ContentHeight(), 2 * 34);
  s.Click(5);
  EXPECT_EQ(s.log, (std::vector<std::string>{"select Row 5", "click Row 5"}));
}

}  // namespace
}  // namespace orvo
