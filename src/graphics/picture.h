#pragma once
// A picture of any of the kinds a window layout can store (icon, bitmap, JPEG, GIF, PNG),
// remembering which kind it is, with its pixels decoded where the program can decode them.
// GIF pictures are recognised and sized but not decoded (no stored window shows one).
#include <cstdint>
#include <span>

#include "graphics/png_image.h"

namespace orvo {

enum class GraphicKind { kNone, kIcon, kBitmap, kJpeg, kGif, kPng, kOther };

class Picture {
 public:
  Picture() = default;
  static Picture FromPng(const PngImage& image);
  // The kind is recognised by the file signature; unreadable bytes give an empty picture.
  static Picture FromBytes(std::span<const uint8_t> bytes);

  GraphicKind kind() const { return kind_; }
  bool empty() const { return kind_ == GraphicKind::kNone || width_ <= 0 || height_ <= 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Decoded pixels; empty for GIF.
  const PngImage& image() const { return image_; }

 private:
  GraphicKind kind_ = GraphicKind::kNone;
  int width_ = 0;
  int height_ = 0;
  PngImage image_;
};

}  // namespace orvo
