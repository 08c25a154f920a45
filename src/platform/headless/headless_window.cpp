// A headless window: bounds, flags and the picture the client presented.
#include "platform/headless/headless_window.h"

#include <algorithm>
#include <cmath>

namespace orvo::os::headless {
namespace {

// Inside a rounded rectangle whose corners are quarter ellipses of diameter d, tested at
// pixel centres (GDI's CreateRoundRectRgn, to the pixel where it matters: the corners).
bool InRoundRect(const Rect& r, int d, int x, int y) {
  if (!r.Contains({x, y})) return false;
  const double radius = std::min({d / 2.0, r.width() / 2.0, r.height() / 2.0});
  if (radius <= 0) return true;
  const double px = x + 0.5, py = y + 0.5;
  const double cx = px < r.left + radius    ? r.left + radius
                    : px > r.right - radius ? r.right - radius
                                            : px;
  const double cy = py < r.top + radius      ? r.top + radius
                    : py > r.bottom - radius ? r.bottom - radius
                                             : py;
  const double dx = px - cx, dy = py - cy;
  return dx * dx + dy * dy <= radius * radius;
}

}  // namespace

HeadlessWindow::HeadlessWindow(HeadlessWindowSystem& system, const WindowOptions& options,
                               WindowClient* client)
    : system_(&system),
      client_(client),
      owner_(static_cast<HeadlessWindow*>(options.owner)),
      bounds_(options.bounds),
      title_(options.title),
      layered_(options.layered),
      topmost_(options.topmost),
      tool_(options.tool || options.owner),
      activate_on_click_(options.activate_on_click) {
  bounds_.right = std::max(bounds_.right, bounds_.left);
  bounds_.bottom = std::max(bounds_.bottom, bounds_.top);
  if (!layered_) ResizePicture(bounds_.width(), bounds_.height());
  system_->Attach(*this);
}

HeadlessWindow::~HeadlessWindow() {
  if (system_) system_->Detach(*this);
}

void HeadlessWindow::ResizePicture(int width, int height) {
  std::vector<uint32_t> fresh(static_cast<size_t>(std::max(width, 0)) * std::max(height, 0),
                              0xFF000000u);
  const int w = std::min(width, picture_width_), h = std::min(height, picture_height_);
  for (int y = 0; y < h; ++y) {
    std::copy_n(picture_.begin() + static_cast<long>(y) * picture_width_, w,
                fresh.begin() + static_cast<long>(y) * width);
  }
  picture_ = std::move(fresh);
  picture_width_ = std::max(width, 0);
  picture_height_ = std::max(height, 0);
}

void HeadlessWindow::SetBounds(const Rect& bounds) {
  Rect b = bounds;
  b.right = std::max(b.right, b.left);
  b.bottom = std::max(b.bottom, b.top);
  if (b == bounds_) return;
  const bool resized = b.width() != bounds_.width() || b.height() != bounds_.height();
  bounds_ = b;
  if (resized && !layered_) {
    ResizePicture(b.width(), b.height());
    Invalidate({0, 0, b.width(), b.height()});
  }
  if (client_) client_->OnMoved(bounds_);
}

void HeadlessWindow::MoveTo(int left, int top) {
  SetBounds({left, top, left + bounds_.width(), top + bounds_.height()});
}

void HeadlessWindow::Show(ShowMode mode) {
  switch (mode) {
    case ShowMode::kHide:
      if (!visible_) return;
      visible_ = false;
      if (system_) system_->WindowHidden(*this);
      return;
    case ShowMode::kShow:
    case ShowMode::kShowNoActivate:
    case ShowMode::kRestore: {
      const bool was_on_screen = OnScreen();
      visible_ = true;
      minimized_ = false;
      if (system_) system_->BringToFront(*this);
      if (!was_on_screen) Invalidate({0, 0, bounds_.width(), bounds_.height()});
      if (mode != ShowMode::kShowNoActivate) Activate();
      return;
    }
    case ShowMode::kMinimize:
      visible_ = true;
      SetMinimized(true);
      return;
  }
}

void HeadlessWindow::SetMinimized(bool minimized) {
  if (minimized == minimized_) return;
  minimized_ = minimized;
  if (minimized_ && system_) system_->WindowHidden(*this);
}

void HeadlessWindow::SetTopMost(bool topmost) {
  if (topmost == topmost_) return;
  topmost_ = topmost;
  if (system_) system_->BringToFront(*this);
}

void HeadlessWindow::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!enabled_ && HasCapture()) system_->SetCaptureTo(nullptr);
}

void HeadlessWindow::Activate() {
  if (!system_ || !OnScreen() || !enabled_) return;
  system_->BringToFront(*this);
  system_->SetActive(this);
}

bool HeadlessWindow::IsActive() const { return system_ && system_->ActiveWindow() == this; }

void HeadlessWindow::Invalidate(const Rect& part) {
  const Rect clipped = Intersect(part, {0, 0, bounds_.width(), bounds_.height()});
  if (clipped.empty()) return;
  pending_paint_ = Union(pending_paint_, clipped);
  if (system_) system_->PaintsDue();
}

bool HeadlessWindow::TakePendingPaint(Rect* part) {
  if (pending_paint_.empty() || !OnScreen()) return false;
  *part = pending_paint_;
  pending_paint_ = {};
  return true;
}

void HeadlessWindow::Present(const PixelSource& picture, const Rect& part) {
  if (layered_ || !picture.pixels) return;
  const Rect area = Intersect(Intersect(part, {0, 0, picture.width, picture.height}),
                              {0, 0, picture_width_, picture_height_});
  for (int y = area.top; y < area.bottom; ++y) {
    const uint32_t* from = picture.pixels + static_cast<long>(y) * picture.width;
    uint32_t* to = picture_.data() + static_cast<long>(y) * picture_width_;
    for (int x = area.left; x < area.right; ++x) to[x] = from[x] | 0xFF000000u;
  }
}

void HeadlessWindow::PresentLayered(const PixelSource& picture, uint8_t opacity) {
  if (!layered_ || !picture.pixels || picture.width <= 0 || picture.height <= 0) return;
  picture_.assign(picture.pixels,
                  picture.pixels + static_cast<size_t>(picture.width) * picture.height);
  picture_width_ = picture.width;
  picture_height_ = picture.height;
  opacity_ = opacity;
  SetBounds(
      {bounds_.left, bounds_.top, bounds_.left + picture.width, bounds_.top + picture.height});
}

void HeadlessWindow::SetCapture() {
  if (system_) system_->SetCaptureTo(this);
}

void HeadlessWindow::ReleaseCapture() {
  if (HasCapture()) system_->SetCaptureTo(nullptr);
}

bool HeadlessWindow::HasCapture() const { return system_ && system_->CaptureWindow() == this; }

void HeadlessWindow::BeginSystemMove() {
  if (system_) system_->BeginMove(*this);
}

bool HeadlessWindow::InRegion(int x, int y) const {
  switch (region_.kind) {
    case WindowRegion::Kind::kNone: return true;
    case WindowRegion::Kind::kRects:
      return std::any_of(region_.rects.begin(), region_.rects.end(), [&](const Rect& r) {
        return r.Contains({x, y});
      });
    case WindowRegion::Kind::kRoundRect: return InRoundRect(region_.round, region_.ellipse, x, y);
  }
  return true;
}

uint32_t HeadlessWindow::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= picture_width_ || y >= picture_height_) return 0;
  const uint32_t p = picture_[static_cast<size_t>(y) * picture_width_ + x];
  if (!layered_) return p | 0xFF000000u;
  const uint32_t a = ((p >> 24) * opacity_ + 127) / 255;
  return (p & 0x00FFFFFFu) | (a << 24);
}

bool HeadlessWindow::Hit(Point screen) const {
  if (!OnScreen() || !bounds_.Contains(screen)) return false;
  const int x = screen.x - bounds_.left, y = screen.y - bounds_.top;
  if (!InRegion(x, y)) return false;
  return !layered_ || (PixelAt(x, y) >> 24) != 0;
}

}  // namespace orvo::os::headless
