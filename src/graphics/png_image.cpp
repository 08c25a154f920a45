// PNG picture bookkeeping; decoding and encoding live in image_codecs.cpp.
#include "graphics/png_image.h"

#include <utility>

namespace orvo {

PngImage::PngImage(int width, int height, PngColorType type) : type_(type) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  const bool opaque = type == PngColorType::kRgb || type == PngColorType::kGray ||
                      type == PngColorType::kPalette;
  pixels_.assign(static_cast<size_t>(width) * height, opaque ? 0xFF000000u : 0u);
}

PngImage::PngImage(int width, int height, std::vector<Argb> pixels, PngColorType type,
                   bool palette_alpha)
    : type_(type), palette_alpha_(palette_alpha) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) return;
  width_ = width;
  height_ = height;
  pixels_ = std::move(pixels);
}

bool PngImage::has_alpha() const {
  return type_ == PngColorType::kRgba || type_ == PngColorType::kGrayAlpha ||
         (type_ == PngColorType::kPalette && palette_alpha_);
}

void PngImage::CreateAlpha() {
  if (type_ == PngColorType::kRgb) type_ = PngColorType::kRgba;
  if (type_ == PngColorType::kGray) type_ = PngColorType::kGrayAlpha;
  if (type_ == PngColorType::kPalette) palette_alpha_ = true;
}

void PngImage::set_color_type(PngColorType type, bool palette_alpha) {
  type_ = type;
  palette_alpha_ = palette_alpha;
}

}  // namespace orvo
