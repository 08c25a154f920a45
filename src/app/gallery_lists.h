#pragma once
// The gallery's second window, for the controls that hold and take text: a list of 1,000
// add-on rows painted the way the main window paints them (icon, two texts, rating stars,
// an on/off switch and a delete button drawn in OnAfterItemDraw), a list of reviews of
// different heights (OnMeasureItem) with a "more" row, a report list with a header band,
// check boxes, sub-items cut by ellipsis (shown whole as hints) and a horizontal scroll bar,
// three edits (plain with a 25-character rule and a clear button, password, numbers only),
// two comboboxes near the bottom of the screen (they drop their lists upwards), and the
// multi-line box. It sits on the bottom of the work area.
#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/image_module.h"
#include "ui/lum_combobox.h"
#include "ui/lum_edit.h"
#include "ui/lum_form.h"
#include "ui/lum_image_list.h"
#include "ui/lum_label.h"
#include "ui/lum_list_view.h"
#include "ui/lum_memo.h"

namespace orvo::gallery {

inline constexpr int kListsWidth = 900;
inline constexpr int kListsHeight = 560;
inline constexpr int kAddonRows = 1000;

// One add-on row's data, hung on the row (which frees it).
struct GalleryAddon : TItemData {
  std::string name;
  std::string description;
  int stars = 0;
  bool on = true;
  Rect toggle_rect;
  Rect delete_rect;
};

class TListsWindow : public TForm {
 public:
  explicit TListsWindow(TimgModule& module);

  TLumForm* lmfrm1 = nullptr;
  TLumListView* lstAddons = nullptr;
  TLumListView* lstReviews = nullptr;
  TLumListView* lstColumns = nullptr;
  TLumEdit* edtNick = nullptr;
  TLumEdit* edtPassword = nullptr;
  TLumEdit* edtNumber = nullptr;
  TLumCombobox* cbbSort = nullptr;
  TLumCombobox* cbbFilter = nullptr;
  TLumMemo* memContent = nullptr;
  TLumLabel* lblStatus = nullptr;

  // Places the window on the bottom of the work area of the screen point's monitor.
  void PlaceAtBottom(Point near);
  Point ScreenCentre(const TControl& control) const;
  // The centre of a row's switch or delete button, screen coordinates (after a paint).
  Point ToggleCentre(TLumLvItem& row) const;
  void Say(const std::string& text);

 private:
  void BuildAddons();
  void BuildReviews();
  void BuildColumns();
  void BuildEdits();
  void BuildChoices();
  // gallery_rows.cpp: the add-on rows' and the reviews' painting and input.
  void DrawAddonRow(Canvas& canvas, int index, TLumLvItem& row);
  void AddonMouseMove(TLumLvItem& row, int x, int y);
  void AddonClick(TLumLvItem& row);
  void DrawReview(Canvas& canvas, int index, TLumLvItem& row);
  void MeasureReview(TLumLvItem& row, int& height);

  TimgModule& module_;
  TLumImageList icons_;
  TLumImageList small_icons_;
  TLumScrollBarRes horizontal_;
  Point addon_pointer_{-1, -1};
  std::vector<std::string> reviews_;
  Bitmap32 measure_{1, 1, PixelHome::kHeap};
};

}  // namespace orvo::gallery
