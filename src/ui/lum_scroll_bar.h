#pragma once
// The skinned scroll bar every list view creates for itself (and the combobox's drop-down
// list). Its value keeps these rules whatever is set, in any order:
//
//   Min <= Max,  0 <= PageSize <= Max - Min + 1,  Min <= Position <= Max - PageSize + 1
//
// A vertical bar (a horizontal one exchanges x and y):
//
//   +-----+  0
//   | BLT |     first button (ImgBtnLT frame), with ShowButton
//   +-----+  track start = its height - BtnoffSet
//   |     |     page-before area: a press pages up
//   +-----+  thumb start
//   |thumb|     ImgSlider frame three-sliced along the bar at SliderSplit, ImgCenter on it
//   +-----+  thumb end
//   |     |     page-after area: a press pages down
//   +-----+  track end
//   | BRB |     second button (ImgBtnRB frame)
//   +-----+  Height
//
// With JoinButton both buttons sit at the bottom, the first above the second, and the track
// starts at 0. Strips are cut by SplitMode (frames side by side or stacked); state orders:
// thumb, buttons and grip normal, over, down, disabled; track normal, hover, pressed,
// disabled (the ones the strip holds).
#include <array>
#include <functional>
#include <optional>

#include "graphics/png_image.h"
#include "ui/lum_scroll_bar_res.h"
#include "ui/lum_ui_core.h"
#include "ui/timer.h"

namespace orvo {

enum TScrollBarKind { skHor, skVer };

class TLumScrollBar : public TLumUIParentControl, public TLumScrollBarRes {
 public:
  // The parts of the bar, for hit tests and tests.
  enum Part { kNone, kFirstButton, kSecondButton, kThumb, kPageBefore, kPageAfter };

  TLumScrollBar();
  ~TLumScrollBar() override;

  // --- value ---
  int Min() const { return min_; }
  int Max() const { return max_; }
  int PageSize() const { return page_; }
  int Position() const { return position_; }
  void SetMin(int value);
  void SetMax(int value);
  void SetPageSize(int value);  // negative values are ignored
  void SetPosition(int value);
  // One call, the invariants applied once at the end.
  void SetParams(int min, int max, int page_size);
  int SmallChange = 1;
  int LargeChange = 1;
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind kind);

  // --- skin: the resource's properties, its own (replaced by ScrollRes when one is set) ---
  TLumScrollBarRes* ScrollRes() const { return res_; }
  // Not owned; the frames are cut again.
  void SetScrollRes(TLumScrollBarRes* res);
  // Cuts the frames again after the own skin properties changed.
  void SkinChanged();

  // The new position as the bar is about to take it; the handler may change it.
  std::function<void(TLumScrollBar&, int& scroll_pos)> OnScroll;
  std::function<void(TLumScrollBar&)> OnLostFocus;

  // --- geometry of the current value (control coordinates) ---
  Rect PartRect(Part part) const;
  Part PartAt(Point p) const;
  int ThumbLength() const;
  // The position a thumb starting at pixel `p` along the bar stands for.
  int PositionFromPixel(int p) const;
  bool Dragging() const { return drag_offset_ >= 0; }
  bool Hovered(Part part) const { return part != kNone && hover_ == part; }
  Part Pressed() const { return pressed_; }

  void DrawControl(Bitmap32& bitmap) override;
  void StyleChanged() override { SkinChanged(); }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  bool MouseWheel(int delta, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void DoExit() override;
  void Resize() override;

 private:
  struct Geometry {
    int length = 0;  // along the bar
    int across = 0;  // across it
    Rect first, second;
    int track_start = 0, track_end = 0;
    int thumb_start = 0, thumb_length = 0;
  };
  // Frames of one strip, in state order.
  struct Strip {
    std::array<std::optional<PngImage>, 4> frames;
    int count = 0;
    const PngImage* Frame(int index) const;
    int FrameWidth() const;
    int FrameHeight() const;
  };

  void Normalize();
  void ValueChanged();
  Geometry Measure() const;
  // Bar coordinates: (along, across) to (x, y) and back.
  Rect Oriented(int along_start, int along_end, int across_start, int across_end) const;
  int Along(Point p) const { return kind_ == skVer ? p.y : p.x; }
  int RangeSpan() const;          // r of the thumb arithmetic
  void Scroll(int new_position);  // OnScroll, then Position
  void StartRepeat(Part part);
  void RepeatStep();
  bool PageDone() const;
  void UpdateHover(Point p);
  const PngImage& SlicedAlong(const Strip& strip, int frame, const TLumUIPadding& split, int length,
                              std::array<std::pair<int, PngImage>, 4>& cache) const;
  void DrawAlong(Canvas& canvas, const PngImage& picture, const Rect& r) const;

  int min_ = 0, max_ = 100, page_ = 1, position_ = 0;
  TScrollBarKind kind_ = skVer;
  TLumScrollBarRes* res_ = nullptr;

  Strip back_, slider_, first_, second_, center_;
  mutable std::array<std::pair<int, PngImage>, 4> thumb_cache_, track_cache_;

  Part hover_ = kNone;
  Part pressed_ = kNone;
  bool over_bar_ = false;
  int drag_offset_ = -1;
  Point last_pointer_{-1, -1};
  TTimer repeat_;
  bool repeat_started_ = false;
};

}  // namespace orvo
