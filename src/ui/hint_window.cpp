// The hint window: measure, place, paint.
#include "ui/hint_window.h"

#include <algorithm>

#include "ui/desktop.h"

namespace orvo {
namespace {

constexpr int kMaxTextWidth = 300;
constexpr int kPadX = 6;
constexpr int kPadY = 4;
constexpr int kBelowPointer = 20;
constexpr uint32_t kFormat = kDtLeft | kDtWordBreak | kDtNoPrefix;

}  // namespace

THintWindow::THintWindow() {
  ToolWindow = true;
  ActivateOnClick = false;
  SetTopMost(true);
  Color = MakeColor(255, 255, 255);
  font.color = MakeColor(64, 64, 64);
}

void THintWindow::ActivateHint(Point screen, const std::string& text) {
  text_ = text;
  Canvas& canvas = Screen().canvas();
  canvas.font = font;
  Rect measure{0, 0, kMaxTextWidth, 0};
  canvas.DrawText(text_, measure, kFormat | kDtCalcRect);
  const int width = measure.width() + 2 * kPadX;
  const int height = measure.height() + 2 * kPadY;
  const Rect work = WorkAreaAt(screen);
  int left = std::min(screen.x, work.right - width);
  int top = screen.y + kBelowPointer;
  if (top + height > work.bottom) top = screen.y - height - 4;
  left = std::max(left, work.left);
  top = std::max(top, work.top);
  SetBounds(left, top, width, height);
  InvalidateRect(ClientRect());
  ShowNoActivate();
}

void THintWindow::Paint(Canvas& canvas) {
  canvas.brush.style = BrushStyle::kSolid;
  canvas.brush.color = Color;
  canvas.FillRect(ClientRect());
  canvas.brush.color = MakeColor(160, 168, 178);
  canvas.FrameRect(ClientRect());
  canvas.font = font;
  canvas.brush.style = BrushStyle::kClear;
  Rect r{kPadX, kPadY, Width() - kPadX, Height() - kPadY};
  canvas.DrawText(text_, r, kFormat);
}

}  // namespace orvo
