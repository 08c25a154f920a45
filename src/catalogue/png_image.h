#pragma once
// An add-on or browser picture as the catalogues hold it: the PNG bytes, checked when
// loaded (signature and header chunks, read by libpng) and decoded into straight-alpha ARGB pixels only
// when someone asks for them. Keeping the compressed bytes holds a catalogue of hundreds
// of icons in a fraction of the memory decoded pixels would take.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pixels.h"

namespace orvo {

using ArgbPixels = os::Pixels;

class TPngImage {
 public:
  // Null when the bytes do not start like a PNG picture with a sane header.
  static std::unique_ptr<TPngImage> FromBytes(std::string bytes);
  // Encodes the pixels; null only when encoding fails.
  static std::unique_ptr<TPngImage> FromPixels(const ArgbPixels& pixels);

  int width() const { return width_; }
  int height() const { return height_; }
  const std::string& bytes() const { return bytes_; }
  bool empty() const { return bytes_.empty(); }
  // Decodes the picture; nothing when the data beyond the header turns out damaged.
  std::optional<ArgbPixels> Decode() const;
  std::unique_ptr<TPngImage> Clone() const;

 private:
  TPngImage() = default;
  std::string bytes_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace orvo
