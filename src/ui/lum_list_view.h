#pragma once
// The skinned list: one row per record with a row skin by state, a check box, an image and
// a caption, the rest of each row painted by the application in the draw events. Report
// style (the one the windows use) lays the rows out top to bottom under an optional header
// band, with columns and sub-items:
//
//   +-----------------------------------------------------------+  b = 1 with a border
//   | header: [col 0 .......][split][col 1 ....][split][col 2] |  HeaderHeight (0: none)
//   +-----------------------------------------------------------+  header bottom
//   |  [chk][img] caption ........ | sub-item 1 | sub-item 2 |^|  row: Itemheight (or
//   |  ...                                                   |#|  OnMeasureItem's),
//   |  MarginItem between rows                               |v|  MarginItem below
//   +-----------------------------------------------------------+  [hor. scroll bar]
//
// List style is the same without header and columns; icon style lays cells of ItemWidth x
// Itemheight left to right. Row skin frames by ItemStateCount: 1 hot; 2 hot, selected;
// 3 or 4 normal, hot, selected, disabled (three-sliced at itemsplit to the row width).
// Check box frames (CheckStateCount 4): unchecked, checked, unchecked hot, checked hot.
//
// Scroll bars are created when first needed (with VerScrollRes / HorScrollRes), the
// vertical offset is 0 or negative. Only rows meeting the view are painted; a hover change
// repaints just the two rows involved (RedrawItem).
//
// Layout (skins cut to the row width, scroll bars, row, column, check box, image and text
// rectangles) is a state of its own, brought up to date by EnsureLayout whenever something
// it depends on changed: rows added, removed or changed, size, columns, scroll offsets,
// skins, font. Every refresh request (Changed) marks it out of date; painting, hit tests
// and scrolling bring it up to date first, and painting only reads it. Plain fields set
// directly (a row's Visible, a column's Width, a new skin) take effect with the Changed
// that follows them, as every refresh does.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/png_image.h"
#include "ui/lum_edit.h"
#include "ui/lum_image_list.h"
#include "ui/lum_list_item.h"
#include "ui/lum_scroll_bar.h"
#include "ui/lum_ui_core.h"
#include "ui/stand_in_hint.h"

namespace orvo {

class TLumPopupMenu;

enum TLumViewStyle { WvsIcon, WvsList, WvsReport };

class TLumListView : public TLumUIParentControl {
 public:
  TLumListView();
  ~TLumListView() override;

  // --- rows ---
  // A new row at the end, no refresh (the layout still takes it in).
  TLumLvItem& AddItem();
  TLumLvItem& AddItem(std::unique_ptr<TLumLvItem> row);
  // At 0 .. ItemCount; any other index is refused (the row is freed) and null returned.
  TLumLvItem* InsertItem(std::unique_ptr<TLumLvItem> row, int index);
  // OnItemDataDelete, then the row goes (and its Data with it).
  void DeleteItem(TLumLvItem* row);
  // Every row from the last to the first: OnItemDataDelete, then it goes. A list that is
  // destroyed lets its rows go the same way.
  void Clear();
  TLumLvItem* Items(int index) const;
  int ItemCount() const { return static_cast<int>(rows_.size()); }
  int IndexOf(const TLumLvItem* row) const;
  int SelectedCount() const;
  // The focused row, else the first selected one, else null.
  TLumLvItem* SelectedItem() const;
  // Unselects every selected row but `except`, firing OnItemSelectChange for each.
  void ClearSelection(TLumLvItem* except = nullptr);
  TLumLvItem* FocusedItem() const { return focused_; }
  TLumLvItem* HotItem() const { return hot_; }

  // --- columns ---
  TLumLvHeadItem& AddColumn();
  TLumLvHeadItem& AddColumn(std::unique_ptr<TLumLvHeadItem> column);
  void ClearColumns();
  TLumLvHeadItem* Columns(int index) const;
  int ColumnCount() const { return static_cast<int>(columns_.size()); }

  // --- updating and painting ---
  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  bool Updating() const { return updating_ > 0; }
  // Repaints one row in place (its part of the off-screen bitmap and of the screen).
  void RedrawItem(TLumLvItem* row);
  // Shows `text` as the hint at a screen point (the list's own hint is kept to come back).
  void ShowItemHint(const std::string& text, Point screen);
  void Changed() override;

  // --- properties (skins are cut again when they change) ---
  bool MultiSelect = false;
  TColor FontColorNormal = 0x000000, FontColorOver = 0xFF0000, FontColorDown = 0x800000,
         FontColorDisable = 0x808080;
  TColor DragColor = 0x0000FF;
  PngImage ImgBack, Imgitem, ImgSelBox, ImgCheck;
  TLumUIPadding itemsplit;
  int ItemStateCount = 2;
  int CheckStateCount = 4;
  bool ShowCheckBox = false;
  int Itemheight = 32;
  int ItemWidth = 32;
  TLumViewStyle ViewStyle = WvsIcon;
  bool CanDrag = false;
  TLumPopupMenu* PopupMenu = nullptr;
  bool SupportRightSelect = false;
  bool CanEditItem = false;
  TColor EditSelColor = 0x00FFFF;
  TLumImageList* StdImageList = nullptr;
  int MarginCheckBox = 2, MarginImageList = 2, MarginText = 2, MarginItem = 2;
  TColor BorderColor = 0xF0CAA6;
  TLumScrollBarRes* VerScrollRes = nullptr;
  TLumScrollBarRes* HorScrollRes = nullptr;
  TLumImageList* Imagelist = nullptr;
  TLumImageList* HeadImglist = nullptr;
  bool HotTrack = true;
  Font HeaderFont;
  int HeaderHeight = 22;
  int HeaderSplitWidth = 3;
  PngImage ImgHeader, ImgHeaderSplit, ImgHeaderArrow;
  int HeaderStateCount = 4;
  int HeaderSplitStateCount = 4;

  // --- events ---
  using ItemEvent = std::function<void(TLumListView&, TLumLvItem&)>;
  ItemEvent OnItemClick, OnItemDbClick, OnItemCheck, OnItemDataDelete, OnItemSelectChange;
  std::function<void(TLumListView&, TLumLvHeadItem&, int head_index)> OnHeadCheckedEvent,
      OnHeadClickEvent;
  std::function<void(TLumLvItem&, int item_index, int& item_height)> OnMeasureItem;
  std::function<void(Canvas&, int item_index, TLumLvItem&)> OnBeforeItemDraw, OnAfterItemDraw;
  std::function<void(Canvas&, int item_index, TLumLvItem&, bool& default_draw)> OnItemOwnerDraw;
  std::function<void(Canvas&, TLumLvItem&, int sub_index)> OnSubItemDraw;
  std::function<void(Bitmap32&, const Rect&)> OnDrawBackGround;
  using ItemMouseEvent =
      std::function<void(TLumListView&, Canvas&, TLumLvItem&, TShiftState, int x, int y)>;
  ItemMouseEvent OnItemMouseMove, OnItemMouseDown, OnItemMouseUP;
  std::function<void(Canvas&, TLumLvHeadItem&, int head_index)> OnHeadItemAfterDraw;
  std::function<void(TLumListView&)> OnDragBeging;
  std::function<void(TLumListView&, int& left, int& top)> OnItemsDrawOffSet;

  // --- state for owners and tests ---
  int VerticalOffset() const { return v_offset_; }
  int HorizontalOffset() const { return h_offset_; }
  int ContentHeight();
  int VisibleHeight() const;
  Rect HeaderRect() const;
  int HeaderBottom() const;
  TLumScrollBar* VerticalBar() const { return v_bar_; }
  TLumScrollBar* HorizontalBar() const { return h_bar_; }
  bool VerticalBarShown() const;
  bool HorizontalBarShown() const;
  TLumEdit* Editor() const { return editor_; }
  TLumLvItem* EditingItem() const { return editing_; }
  bool Dragging() const { return dragging_; }
  // Lays the list out when anything the layout depends on changed since the last one;
  // afterwards every rectangle, the content height and the scroll bars are current.
  void EnsureLayout();
  // Marks the layout out of date without asking for a repaint (Changed does both).
  void InvalidateLayout() { layout_dirty_ = true; }
  bool LayoutCurrent() const { return !layout_dirty_ && layout_key_ == LayoutKey(); }
  // The row under a point (control coordinates), among the laid-out ones.
  TLumLvItem* ItemAt(Point p);
  // Scrolls so that the row is in view.
  void ScrollIntoView(TLumLvItem* row);
  // Ends in-place editing; the text becomes the caption unless cancelled.
  void EndEdit(bool cancel = false);

  void DrawControl(Bitmap32& bitmap) override;
  void Paint(Canvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  bool MouseWheel(int delta, TShiftState shift, int x, int y) override;
  void DblClick() override;
  void DoExit() override;
  void Resize() override;

 private:
  struct Frames;  // cut skins and what they were cut from (lum_list_layout.cpp)

  // lum_list_view.cpp
  void SelectRow(TLumLvItem& row, bool selected);  // fires OnItemSelectChange on a change
  void ForgetRow(const TLumLvItem* row);
  // Every row from the last to the first: OnItemDataDelete, then the row and its data go.
  // False when a handler destroyed the list.
  bool DeleteRowsFromEnd();
  void RowChanged(TLumLvItem& row);
  friend class TLumLvItem;

  // lum_list_layout.cpp
  // The list's own settings the layout reads; a layout is out of date when they differ
  // from the ones it was made with (row and column fields go through Changed).
  struct Key {
    int width, height, item_height, item_width, margin_item, margin_check, margin_image,
        margin_text, header_height, header_split, style, state_count, check_count, v_offset,
        h_offset, rows, columns;
    bool border, show_check;
    const TLumImageList* images;
    Font font;
    friend bool operator==(const Key&, const Key&) = default;
  };
  Key LayoutKey() const;
  void UpdateLayout();
  void UpdateBackCache();
  // The check box, image, caption and sub-item rectangles of the rows in view.
  void LayOutRowParts();
  void PlaceRowParts(TLumLvItem& row);
  void PlaceIconParts(TLumLvItem& row);
  int Border() const;
  void EnsureFrames();
  int RowHeight(TLumLvItem& row, int index);
  void LayOutColumns();
  void LayOutRows();
  void LayOutIcons();
  void UpdateScrollBars();
  void SetVerticalOffset(int offset);
  int IconsPerLine() const;
  int AvailableWidth() const;
  int TotalColumnWidth() const;
  TLumScrollBar* MakeBar(TScrollBarKind kind);
  void ShowBar(TLumScrollBar*& bar, TScrollBarKind kind, bool show);

  // lum_list_draw.cpp
  void DrawRows(Canvas& canvas);
  void DrawRow(Canvas& canvas, int index, TLumLvItem& row);
  void DrawIconCell(Canvas& canvas, int index, TLumLvItem& row);
  void DrawHeader(Canvas& canvas);
  void DrawRubberBand(Canvas& canvas);
  void RestoreBackground(Canvas& canvas, const Rect& r);
  Rect RowsArea() const;
  bool FreshCovers(const Rect& clip) const;
  void MakeDragPicture();

  // lum_list_input.cpp
  void PressRow(TMouseButton button, TShiftState shift, Point p);
  void ReleaseRow(TMouseButton button, TShiftState shift, Point p);
  void SelectOnClick(TLumLvItem& row, TShiftState shift);
  void SetHot(TLumLvItem* row);
  void UpdateRubberBand(Point p);
  void UpdateTextHint(TLumLvItem& row, Point p);
  void RemoveRowHint();
  int ColumnSplitAt(Point p) const;
  int ColumnAt(Point p) const;
  void DropSelection(Point p);
  // The focus went from the list or one of its bars: unless it went to the other one (or
  // the menu is open), the focused and hot rows are forgotten.
  void FocusLeft();
  void BeginEdit(TLumLvItem& row);

  std::vector<std::unique_ptr<TLumLvItem>> rows_;
  std::vector<std::unique_ptr<TLumLvHeadItem>> columns_;
  TLumLvItem* focused_ = nullptr;
  TLumLvItem* hot_ = nullptr;
  TLumLvItem* pressed_ = nullptr;
  TLumLvItem* hot_check_ = nullptr;
  TLumLvItem* pressed_check_ = nullptr;
  TLumLvItem* range_anchor_ = nullptr;
  TLumLvItem* range_end_ = nullptr;
  int v_offset_ = 0;
  int h_offset_ = 0;
  int first_laid_ = -1;
  int last_laid_ = -1;
  int first_painted_ = -1;
  int inset_left_ = 2;
  int inset_top_ = 0;
  int updating_ = 0;
  int last_width_ = -1;
  TLumScrollBar* v_bar_ = nullptr;
  TLumScrollBar* h_bar_ = nullptr;
  bool in_scroll_update_ = false;

  std::unique_ptr<Frames> frames_;
  std::optional<Bitmap32> back_cache_;
  PngImage back_source_;  // what back_cache_ was stretched from
  TColor back_color_ = clNone;
  bool layout_dirty_ = true;
  bool in_layout_ = false;
  std::optional<Key> layout_key_;

  // Pointer state.
  Point press_point_{-1, -1};
  Point last_point_{-1, -1};
  bool band_active_ = false;
  Rect band_;
  int resizing_column_ = -1;
  int resize_offset_ = 0;
  int hot_column_ = -1;
  int pressed_column_ = -1;
  bool dragging_ = false;
  Bitmap32 drag_picture_;

  // Rows repainted by RedrawItem since the last paint (control coordinates).
  std::vector<Rect> fresh_;
  // The off-screen bitmap holds the whole list as it is (a whole paint since the last
  // change), so rows between two repainted ones need no drawing either.
  bool bitmap_valid_ = false;

  // Hints: a cut text's (UpdateTextHint) or the application's (ShowItemHint), which wins.
  enum HintKind { kNoHint, kTextHint, kItemHint };
  HintKind hint_kind_ = kNoHint;
  StandInHint row_hint_;

  // In-place editing.
  TLumEdit* editor_ = nullptr;
  TLumLvItem* editing_ = nullptr;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace orvo
