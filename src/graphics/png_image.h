#pragma once
// A skin picture as the toolkit handles it: RGBA pixels (straight alpha, 0xAARRGGBB) plus
// the PNG colour type it was stored with. The type matters to a few routines: "add an
// alpha channel" turns RGB into RGBA (and grey into grey-with-alpha), and desaturation
// leaves grey pictures alone. Pixels are always kept expanded, so every routine reads the
// same layout whatever the file held. A value type: copies are deep.
#include <cstdint>
#include <vector>

#include "graphics/color.h"
#include "graphics/pixel_view.h"

namespace orvo {

enum class PngColorType : uint8_t {
  kGray = 0,
  kRgb = 2,
  kPalette = 3,
  kGrayAlpha = 4,
  kRgba = 6,
};

class PngImage {
 public:
  PngImage() = default;
  // Transparent black pixels; sizes below 1 give an empty image.
  PngImage(int width, int height, PngColorType type = PngColorType::kRgba);
  // Takes decoded pixels (width x height of them; otherwise the image is empty).
  PngImage(int width, int height, std::vector<Argb> pixels, PngColorType type,
           bool palette_alpha = false);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  PngColorType color_type() const { return type_; }
  // RGBA, grey with alpha, or a palette with a transparency table.
  bool has_alpha() const;
  // Gives a picture without alpha its alpha channel (every pixel stays as it is, opaque).
  void CreateAlpha();
  // Declares what the pixels are without touching them (for decoders).
  void set_color_type(PngColorType type, bool palette_alpha = false);

  Argb* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const Argb* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  Argb Pixel(int x, int y) const { return Row(y)[x]; }
  void SetPixel(int x, int y, Argb c) { Row(y)[x] = c; }
  std::vector<Argb>& pixels() { return pixels_; }
  const std::vector<Argb>& pixels() const { return pixels_; }
  PixelView view() const { return {pixels_.data(), width_, height_}; }
  Rect bounds() const { return {0, 0, width_, height_}; }

  // Same size and pixels (the colour type is not compared).
  bool SamePixels(const PngImage& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  PngColorType type_ = PngColorType::kRgba;
  bool palette_alpha_ = false;
  std::vector<Argb> pixels_;
};

}  // namespace orvo
