// Picture bookkeeping: reading a PNG file, packing and unpacking. The codecs themselves
// live in png_codec.cpp (through the seam's libpng wrapper).
#include "graphics/png_image.h"

#include <utility>

#include "graphics/image_codecs.h"
#include "platform/png_codec.h"

namespace orvo {
namespace {

std::span<const uint8_t> BytesOf(const std::string& file) {
  return {reinterpret_cast<const uint8_t*>(file.data()), file.size()};
}

}  // namespace

PngImage::PngImage(int width, int height, PngColorType type) : type_(type) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  const bool opaque =
      type == PngColorType::kRgb || type == PngColorType::kGray || type == PngColorType::kPalette;
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

std::optional<PngImage> PngImage::FromPngFile(std::string file, uint32_t max_side) {
  // The announced size first: a small file must not make us decode a huge picture.
  const auto header = os::ReadPngHeader(file);
  if (!header || header->width > max_side || header->height > max_side) return std::nullopt;
  std::optional<PngImage> image = DecodePng(BytesOf(file));
  if (!image) return std::nullopt;
  image->file_ = std::make_shared<const std::string>(std::move(file));
  return image;
}

bool PngImage::has_alpha() const {
  return type_ == PngColorType::kRgba || type_ == PngColorType::kGrayAlpha ||
         (type_ == PngColorType::kPalette && palette_alpha_);
}

void PngImage::CreateAlpha() {
  if (has_alpha()) return;
  Changing();  // the file says "no alpha"
  if (type_ == PngColorType::kRgb) type_ = PngColorType::kRgba;
  if (type_ == PngColorType::kGray) type_ = PngColorType::kGrayAlpha;
  if (type_ == PngColorType::kPalette) palette_alpha_ = true;
}

void PngImage::set_color_type(PngColorType type, bool palette_alpha) {
  if (type == type_ && palette_alpha == palette_alpha_) return;
  Changing();
  type_ = type;
  palette_alpha_ = palette_alpha;
}

std::string PngImage::PngFile() const {
  if (file_) return *file_;
  const std::vector<uint8_t> bytes = EncodePng(*this);
  return std::string(bytes.begin(), bytes.end());
}

void PngImage::Pack() {
  if (empty() || packed()) return;
  if (!file_) {
    std::string file = PngFile();
    if (file.empty()) return;
    file_ = std::make_shared<const std::string>(std::move(file));
  }
  std::vector<Argb>().swap(pixels_);
}

PngImage PngImage::Unpacked() const {
  PngImage copy = *this;  // a packed copy: no pixels, the same file
  if (copy.packed()) copy.Unpack();
  return copy;
}

void PngImage::Unpack() const {
  // The file was whole when it was read or written, so it decodes again to the same
  // pixels; should memory run short the picture reads as transparent rather than vanish.
  std::optional<PngImage> decoded = DecodePng(BytesOf(*file_));
  if (decoded && decoded->width_ == width_ && decoded->height_ == height_) {
    pixels_ = std::move(decoded->pixels_);
  } else {
    pixels_.assign(static_cast<size_t>(width_) * height_, 0u);
  }
}

}  // namespace orvo
