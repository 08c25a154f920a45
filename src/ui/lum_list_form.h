#pragma once
// The combobox's drop-down: a top-level window of its own, as wide as the box, holding the
// visible items one below the other (ShowitemCount at a time, with a scroll bar when there
// are more and the box has a scroll bar skin). With the box's ImgForm it is a layered
// window showing that skin tiled at Formsplit with its transparent margin AlphaWidth;
// without, a plain white panel with a hairline border.
//
//   +--AlphaWidth-----------------------------+
//   |  [x] [icon] caption               | ^ |   item: Imgitem frame three-sliced at
//   |  [ ] [icon] caption (hot)         | # |   itemsplit, check box, image, caption
//   |  ...  2 pixels between items      | v |
//   +-----------------------------------------+
//
// It takes the activation when it opens and closes when it loses it, on Esc, or when an
// item is picked; Up, Down and Enter move and pick.
#include <vector>

#include "graphics/bitmap.h"
#include "ui/form.h"
#include "ui/lum_scroll_bar.h"

namespace orvo {

class TLumCombobox;
class TLumCboxItem;

class TLumListForm : public TForm {
 public:
  explicit TLumListForm(TLumCombobox& box);
  ~TLumListForm() override;

  // Measures the items and returns the window's size for them.
  Size Measure();
  // Shows the measured list at a screen point (top-left), the given item in view.
  void Open(Point at, int first_in_view);
  void CloseList();

  int FirstShown() const { return first_; }
  int ShownCount() const { return shown_; }
  TLumScrollBar* ScrollBar() const { return bar_; }
  TLumCboxItem* HotItem() const;
  // Screen rectangle of a shown item (empty when it is not shown).
  Rect ItemScreenRect(const TLumCboxItem& item) const;
  void Refresh();

  void Paint(Canvas& canvas) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool MouseWheel(int delta, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;

 private:
  void Closed(bool by_deactivation);
  int Margin() const;
  int ItemHeight(TLumCboxItem& item) const;
  void LayOut();
  int ItemAt(Point p) const;
  void SetFirst(int first);
  void SetHot(int index, bool check_hot);
  void DrawItem(Canvas& canvas, int index);
  const PngImage* SlicedFrame(int state, int width);

  TLumCombobox& box_;
  std::vector<TLumCboxItem*> items_;  // the visible items
  TLumScrollBar* bar_ = nullptr;
  int first_ = 0;
  int shown_ = 0;
  int hot_ = -1;
  bool check_hot_ = false;
  int pressed_ = -1;
  bool check_pressed_ = false;
  Bitmap32 background_;
  int sliced_width_ = -1;
  PngImage sliced_[4];
  bool deactivate_installed_ = false;
  std::function<void()> saved_deactivate_;
};

}  // namespace orvo
