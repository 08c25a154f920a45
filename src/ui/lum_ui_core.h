#pragma once
// The two bases of every skinned control. TLumUIParentControl is windowed: it holds
// children, can take the focus and capture the pointer. TLumUIGraphicControl is
// windowless and paints on its parent. Both paint themselves into a private 32-bit
// off-screen bitmap over a copy of what lies beneath them and hand it over in one opaque
// transfer (the pipeline of lum_paint_core.h), so nothing flickers and transparency needs
// no layered child windows. Descendants draw in DrawControl and rebuild cached skins in
// StyleChanged; every property setter ends in Changed, the refresh request.
#include "ui/lum_paint_core.h"
#include "ui/win_control.h"

namespace orvo {

class TLumStyle;

class TLumUIParentControl : public TWinControl {
 public:
  TLumUIParentControl();

  int Alpha() const { return core_.alpha; }
  bool Transparent() const { return core_.transparent; }
  bool OwnerStyle() const { return core_.owner_style; }
  void SetOwnerStyle(bool value) { core_.owner_style = value; }
  TLumStyle* Style() const { return core_.style; }
  bool MouseOver() const { return core_.mouse_over; }
  bool MouseIsDown() const { return core_.mouse_down; }
  bool TrackHover() const { return core_.track_hover; }
  void SetTrackHover(bool value) { core_.track_hover = value; }
  Bitmap32& OffscreenBitmap() { return core_.bitmap; }
  const Bitmap32* BackgroundSnapshot() const { return core_.snapshot.get(); }

  // Virtual operations, in slot order.
  virtual void SetAlpha(int value);         // 0..255, stored when different, then Changed
  virtual void SetTransparent(bool value);  // stored when different, then Changed
  virtual void SetStyle(TLumStyle* style);  // stored when different, then StyleChanged
  virtual void DrawControl(Bitmap32& bitmap);
  virtual void CaptureBackground(const Bitmap32& parent_bitmap);
  virtual void Changed();  // invalidates, except while loading or designing
  virtual void StyleChanged();
  virtual void PaintInto(Bitmap32& parent_bitmap);

  void Paint(Canvas& canvas) override;
  void EraseBackground(Canvas&) override {}  // the pipeline paints every pixel
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void EnabledChanged() override { Changed(); }

 protected:
  TLumUIPaintCore core_;
};

class TLumUIGraphicControl : public TControl {
 public:
  TLumUIGraphicControl();

  int Alpha() const { return core_.alpha; }
  bool Transparent() const { return core_.transparent; }
  bool OwnerStyle() const { return core_.owner_style; }
  void SetOwnerStyle(bool value) { core_.owner_style = value; }
  TLumStyle* Style() const { return core_.style; }
  void SetStyle(TLumStyle* style);  // not virtual in this base
  bool MouseOver() const { return core_.mouse_over; }
  bool MouseIsDown() const { return core_.mouse_down; }
  bool TrackHover() const { return core_.track_hover; }
  void SetTrackHover(bool value) { core_.track_hover = value; }
  Bitmap32& OffscreenBitmap() { return core_.bitmap; }
  const Bitmap32* BackgroundSnapshot() const { return core_.snapshot.get(); }

  // Virtual operations, in slot order.
  virtual void SetAlpha(int value);
  virtual void SetTransparent(bool value);
  virtual void DrawControl(Bitmap32& bitmap);
  virtual void Changed();
  virtual void StyleChanged();
  virtual void CaptureBackground(const Bitmap32& parent_bitmap);
  virtual void PaintInto(Bitmap32& parent_bitmap);

  void Paint(Canvas& canvas) override;
  void EraseBackground(Canvas&) override {}
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void EnabledChanged() override { Changed(); }

 protected:
  TLumUIPaintCore core_;
};

}  // namespace orvo
