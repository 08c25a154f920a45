// The pointer on the skinned form: the 4-pixel border zones and resizing within limits,
// dragging by the caption, the logo's hint and click, the caption double click, and
// leaving the form.
//
//   13 |        12        | 14      zone numbers (Windows hit-test codes); each edge band
//   ---+------------------+---      is 5 pixels (x <= 4, x >= W - 4, ...), corners win
//   10 |        1         | 11
//   ---+------------------+---
//   16 |        15        | 17
#include <algorithm>

#include "ui/application.h"
#include "ui/desktop.h"
#include "ui/lum_form.h"

namespace orvo {

TBorderZone TLumForm::ZoneAt(int x, int y) const {
  if (!SupportReSize || form_state_ == WisMax) return bzClient;
  const int W = host_->Width(), H = host_->Height();
  const bool left = x <= 4, right = x >= W - 4, top = y <= 4, bottom = y >= H - 4;
  if (left && top) return bzTopLeft;
  if (right && top) return bzTopRight;
  if (left && bottom) return bzBottomLeft;
  if (right && bottom) return bzBottomRight;
  if (left) return bzLeft;
  if (top) return bzTop;
  if (right) return bzRight;
  if (bottom) return bzBottom;
  return bzClient;
}

void TLumForm::SetZoneCursor(TBorderZone zone) {
  switch (zone) {
    case bzLeft:
    case bzRight: Cursor = crSizeWE; break;
    case bzTop:
    case bzBottom: Cursor = crSizeNS; break;
    case bzTopLeft:
    case bzBottomRight: Cursor = crSizeNWSE; break;
    case bzTopRight:
    case bzBottomLeft: Cursor = crSizeNESW; break;
    case bzClient: Cursor = crDefault; break;
  }
}

bool TLumForm::ResizeTo(int x, int y) {
  const int W = host_->Width(), H = host_->Height();
  int left = host_->Left(), top = host_->Top(), width = W, height = H;
  const bool west = zone_ == bzLeft || zone_ == bzTopLeft || zone_ == bzBottomLeft;
  const bool east = zone_ == bzRight || zone_ == bzTopRight || zone_ == bzBottomRight;
  const bool north = zone_ == bzTop || zone_ == bzTopLeft || zone_ == bzTopRight;
  const bool south = zone_ == bzBottom || zone_ == bzBottomLeft || zone_ == bzBottomRight;
  if (west) {
    width = W - x;
    left += x;
  }
  if (east) width = x;
  if (north) {
    height = H - y;
    top += y;
  }
  if (south) height = y;
  const Rect screen = PrimaryScreenRect();
  const int min_w = std::max(30, MinWidth), min_h = std::max(30, MinHeight);
  const int max_w = MaxWidth > 0 ? MaxWidth : screen.width();
  const int max_h = MaxHeight > 0 ? MaxHeight : screen.height();
  if (width < min_w || width > max_w || height < min_h || height > max_h) return false;
  if (width == W && height == H && left == host_->Left() && top == host_->Top()) return true;
  host_->SetBounds(left, top, width, height);
  Rebuild();
  host_->Update();
  if (OnLumFormUserChangeSize) OnLumFormUserChangeSize(*this);
  RefreshChildren();
  ApplyShape();
  return true;
}

void TLumForm::TrackLogo(int x, int y) {
  const bool over = LogoActive && !logo_rect_.empty() && logo_rect_.Contains({x, y});
  if (over == over_logo_) return;
  over_logo_ = over;
  if (over && !LogoHint.empty()) {
    Application().ActivateHint(host_->ClientToScreen({x, y}), LogoHint);
    logo_hint_shown_ = true;
  } else if (!over && logo_hint_shown_) {
    Application().CancelHint();
    logo_hint_shown_ = false;
  }
}

void TLumForm::MouseMove(TShiftState shift, int x, int y) {
  // 1. The border: the cursor, or resizing while the left button holds.
  if (resizing_) {
    ResizeTo(x, y);
    return;
  }
  const TBorderZone zone = ZoneAt(x, y);
  if (!(shift & ssLeft)) {
    zone_ = zone;
    SetZoneCursor(zone);
  }
  if (zone != bzClient) return;
  // 2. The logo.
  TrackLogo(x, y);
  if (over_logo_) return;
  // 3. The form's own move event, and dragging.
  if (OnLumFormMouseMove) OnLumFormMouseMove(*this, shift, x, y);
  TWinControl::MouseMove(shift, x, y);
  if ((shift & ssLeft) && CanMove && form_state_ != WisMax && !logo_pressed_ &&
      (CanMoveAny || caption_rect_.Contains({x, y}))) {
    host_->BeginSystemMove();
  }
}

void TLumForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TWinControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  zone_ = ZoneAt(x, y);
  if (zone_ != bzClient) {
    resizing_ = true;
    return;
  }
  if (over_logo_) logo_pressed_ = true;
  if ((shift & ssDouble) && (FormBtns & WbiMaximize) && caption_rect_.Contains({x, y}) &&
      !over_logo_) {
    if (form_state_ == WisMax)
      RestoreSize();
    else
      Maximize();
  }
}

void TLumForm::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TWinControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  resizing_ = false;
  const bool logo_click = logo_pressed_ && over_logo_ && logo_rect_.Contains({x, y});
  logo_pressed_ = false;
  Cursor = crDefault;
  zone_ = bzClient;
  if (logo_click && OnLumFormLogoClick) OnLumFormLogoClick(*this);
}

void TLumForm::MouseLeave() {
  if (logo_hint_shown_) {
    Application().CancelHint();
    logo_hint_shown_ = false;
  }
  over_logo_ = false;
  if (!resizing_) {
    Cursor = crDefault;
    zone_ = bzClient;
  }
  TWinControl::MouseLeave();
  if (OnLumFormLeave) OnLumFormLeave(*this);
}

void TLumForm::Click() {
  TWinControl::Click();
  if (OnLumFormClick) OnLumFormClick(*this);
}

}  // namespace orvo
