// The list view's layout without painting: ready before the first paint, current after
// each kind of change (rows, size, columns, scrolling, skin, font) with no paint between,
// and a paint that only reads it.
#include <gtest/gtest.h>

#include "list_scene.h"

namespace orvo {
namespace {

using test::ListScene;

TEST(LumListViewRelayout, RowsScrollRangeAndHitsAreRightBeforeAnyPaint) {
  ListScene s(10, 102, /*shown=*/false);
  int drawn = 0;
  s.list->OnAfterItemDraw = [&](Canvas&, int, TLumLvItem&) { ++drawn; };
  // A hit test lays the list out by itself.
  EXPECT_EQ(s.list->ItemAt({50, 30}), s.list->Items(1));
  ASSERT_TRUE(s.list->VerticalBarShown());
  const int bar = s.list->VerticalBar()->Width();
  EXPECT_EQ(s.list->Items(0)->ItemRect, (Rect{2, 1, 198 - bar, 21}));
  EXPECT_EQ(s.list->Items(5)->ItemRect.top, 101);
  EXPECT_EQ(s.list->Items(6)->ItemRect, kNoRect);
  EXPECT_EQ(s.list->VerticalBar()->Max(), 200);
  EXPECT_EQ(s.list->VerticalBar()->PageSize(), 100);
  EXPECT_EQ(s.list->Items(1)->TextRect.left, 2 + s.list->MarginText);
  EXPECT_EQ(s.list->ItemAt({50, 101 + 5}), nullptr) << "below the rows area";
  EXPECT_EQ(drawn, 0);
  EXPECT_TRUE(s.list->OffscreenBitmap().empty());
}

TEST(LumListViewRelayout, EachKindOfChangeIsLaidOutWithoutAPaint) {
  ListScene s(5);  // 100 pixels of rows in 100: no bar
  int drawn = 0;
  s.list->OnAfterItemDraw = [&](Canvas&, int, TLumLvItem&) { ++drawn; };
  TLumListView& l = *s.list;
  auto top = [&](int index) {
    l.EnsureLayout();
    return l.Items(index)->ItemRect.top;
  };

  // Rows: one more brings the bar, which narrows every row.
  l.AddItem().SetCaption("Row 5");
  EXPECT_EQ(top(5), 101);
  ASSERT_TRUE(l.VerticalBarShown());
  EXPECT_EQ(l.Items(0)->ItemRect.right, 198 - l.VerticalBar()->Width());
  EXPECT_EQ(l.VerticalBar()->Max(), 120);
  ASSERT_TRUE(l.InsertItem(std::make_unique<TLumLvItem>("first"), 0));
  EXPECT_EQ(top(1), 21);
  l.DeleteItem(l.Items(0));
  l.DeleteItem(l.Items(5));
  EXPECT_EQ(top(1), 21);
  EXPECT_FALSE(l.VerticalBarShown());
  EXPECT_EQ(l.Items(0)->ItemRect.right, 198);

  // A row's own field, with the refresh that follows it.
  l.Items(1)->Visible = false;
  l.Changed();
  EXPECT_EQ(top(2), 21);
  EXPECT_EQ(l.ItemAt({50, 25}), l.Items(2));
  l.Items(1)->Visible = true;
  l.Changed();

  // Size.
  l.SetHeight(62);
  EXPECT_TRUE(l.VerticalBarShown());
  EXPECT_EQ(l.VerticalBar()->PageSize(), 60);
  EXPECT_EQ(l.VerticalBar()->Height(), 60);

  // Scrolling, by the bar as the pointer moves it.
  TLumScrollBar& bar = *l.VerticalBar();
  int pos = 40;
  bar.OnScroll(bar, pos);
  EXPECT_EQ(l.VerticalOffset(), -40);
  EXPECT_EQ(top(2), 1);
  EXPECT_EQ(l.ItemAt({50, 5}), l.Items(2));
  l.SetHeight(102);
  EXPECT_EQ(l.VerticalOffset(), 0);
  EXPECT_EQ(top(0), 1);

  // Columns and sub-items; a column's width with the refresh that follows it.
  l.AddColumn(std::make_unique<TLumLvHeadItem>("A", 80));
  l.AddColumn(std::make_unique<TLumLvHeadItem>("B", 60));
  l.Items(0)->AddSubItem("sub");
  l.EnsureLayout();
  EXPECT_EQ(l.Items(0)->SubItem(0)->CellRect, (Rect{84, 1, 144, 21}));
  EXPECT_EQ(l.Items(0)->TextRect.right, 81);
  l.Columns(0)->Width = 100;
  l.Changed();
  l.EnsureLayout();
  EXPECT_EQ(l.Columns(1)->ColumnRect.left, 104);
  EXPECT_EQ(l.Items(0)->SubItem(0)->CellRect.left, 104);
  EXPECT_EQ(l.Items(0)->TextRect.right, 101);

  // Skin: the row skin's height becomes the row height.
  PngImage strip(8, 30);
  l.Imgitem = strip;
  l.Changed();
  EXPECT_EQ(top(1), 31);
  EXPECT_EQ(l.Itemheight, 30);

  // Font: the caption's rectangle is as high as the text and four pixels more.
  Bitmap32 measure;
  Canvas& canvas = measure.canvas();
  canvas.font = l.font;
  canvas.font.set_size(l.font.size() * 2);
  const int text_height = canvas.TextHeight("Wg");
  ASSERT_NE(l.Items(0)->TextRect.height(), text_height + 4);
  l.font = canvas.font;
  l.Changed();
  l.EnsureLayout();
  EXPECT_EQ(l.Items(0)->TextRect.height(), text_height + 4);

  EXPECT_EQ(drawn, 0);
}

TEST(LumListViewRelayout, APaintReadsTheLayoutItDoesNotMakeIt) {
  ListScene s(0, 102);
  int measured = 0, offsets = 0, drawn = 0;
  s.list->OnMeasureItem = [&](TLumLvItem&, int, int& height) {
    ++measured;
    height = 30;
  };
  s.list->OnItemsDrawOffSet = [&](TLumListView&, int&, int&) { ++offsets; };
  s.list->OnAfterItemDraw = [&](Canvas&, int, TLumLvItem&) { ++drawn; };
  s.list->BeginUpdate();
  for (int i = 0; i < 8; ++i) s.list->AddItem();
  s.list->EndUpdate();  // lays out
  ASSERT_GT(measured, 0);
  const int measured_before = measured, offsets_before = offsets;
  EXPECT_EQ(s.list->Items(1)->ItemRect.top, 31);

  // Painted again without a change: the rows are drawn, nothing is measured.
  s.list->Invalidate();
  s.screen->ProcessMessages();
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(measured, measured_before);
  EXPECT_EQ(offsets, offsets_before);
}

}  // namespace
}  // namespace orvo
