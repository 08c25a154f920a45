// Bitmap storage, copying and the simple whole-bitmap operations.
#include "graphics/bitmap.h"

#include <algorithm>
#include <cstring>

#include "graphics/canvas.h"
#include "graphics/transfer.h"
#include "platform/raster.h"

namespace orvo {

Bitmap32::Bitmap32() = default;

Bitmap32::Bitmap32(PixelHome home) : home_(home) {}

Bitmap32::Bitmap32(int width, int height, PixelHome home) : home_(home) { SetSize(width, height); }

Bitmap32::~Bitmap32() = default;

Bitmap32::Bitmap32(const Bitmap32& other) : home_(other.home_) { CopyFrom(other); }

Bitmap32& Bitmap32::operator=(const Bitmap32& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

Bitmap32::Bitmap32(Bitmap32&& other) noexcept { *this = std::move(other); }

Bitmap32& Bitmap32::operator=(Bitmap32&& other) noexcept {
  if (this == &other) return *this;
  home_ = other.home_;
  block_ = std::move(other.block_);
  pixels_ = other.pixels_;
  width_ = other.width_;
  height_ = other.height_;
  draw_mode_ = other.draw_mode_;
  combine_mode_ = other.combine_mode_;
  outer_color_ = other.outer_color_;
  clip_rect_ = other.clip_rect_;
  canvas_.reset();  // a canvas belongs to one bitmap; the moved-to one makes its own
  other.canvas_.reset();
  other.pixels_ = nullptr;
  other.width_ = other.height_ = 0;
  other.clip_rect_ = {};
  return *this;
}

void Bitmap32::CopyFrom(const Bitmap32& other) {
  SetSize(other.width_, other.height_);
  if (!empty()) {
    std::memcpy(pixels_, other.pixels_, static_cast<size_t>(width_) * height_ * sizeof(Argb));
  }
  draw_mode_ = other.draw_mode_;
  combine_mode_ = other.combine_mode_;
  outer_color_ = other.outer_color_;
  clip_rect_ = Intersect(other.clip_rect_, bounds());
}

bool Bitmap32::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_ && (pixels_ || width == 0 || height == 0)) {
    return true;
  }
  block_.reset();
  pixels_ = nullptr;
  width_ = height_ = 0;
  clip_rect_ = {};
  if (width == 0 || height == 0) return true;
  block_ = home_ == PixelHome::kHeap ? os::HeapPixelStorage().Allocate(width, height)
                                     : os::CurrentPixelStorage().Allocate(width, height);
  if (!block_) return false;
  pixels_ = block_->pixels();
  width_ = width;
  height_ = height;
  clip_rect_ = bounds();
  if (canvas_) canvas_->ResetState();
  return true;
}

void Bitmap32::Clear(Argb color) {
  std::fill_n(pixels_, static_cast<size_t>(width_) * height_, color);
}

void Bitmap32::ResetAlpha(uint8_t alpha) {
  const Argb a = static_cast<Argb>(alpha) << 24;
  const size_t count = static_cast<size_t>(width_) * height_;
  for (size_t i = 0; i < count; ++i) pixels_[i] = (pixels_[i] & 0x00FFFFFFu) | a;
}

Argb Bitmap32::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return outer_color_;
  return Row(y)[x];
}

void Bitmap32::SetPixel(int x, int y, Argb color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Row(y)[x] = color;
}

void* Bitmap32::native_handle() const { return block_ ? block_->native_handle() : nullptr; }

Bitmap32 Bitmap32::CopyPart(const Rect& r, PixelHome home) const {
  Bitmap32 part(home);
  part.draw_mode_ = draw_mode_;
  part.combine_mode_ = combine_mode_;
  part.outer_color_ = outer_color_;
  if (r.empty() || !part.SetSize(r.width(), r.height())) return part;
  part.Clear(outer_color_);
  const Rect inside = Intersect(r, clip_rect_);
  if (inside.empty()) return part;
  for (int y = inside.top; y < inside.bottom; ++y) {
    std::memcpy(part.Row(y - r.top) + (inside.left - r.left), Row(y) + inside.left,
                static_cast<size_t>(inside.width()) * sizeof(Argb));
  }
  return part;
}

void Bitmap32::DrawTo(Bitmap32& target, int x, int y) const {
  BlockTransfer(target, x, y, target.bounds(), view(), bounds(), draw_mode_, combine_mode_);
}

void Bitmap32::DrawTo(Bitmap32& target, const Rect& rect) const {
  StretchTransfer(target, rect, target.bounds(), view(), bounds(), draw_mode_, combine_mode_,
                  Resampler::kLinear);
}

Canvas& Bitmap32::canvas() {
  if (!canvas_) canvas_ = std::make_unique<Canvas>(*this);
  return *canvas_;
}

}  // namespace orvo
