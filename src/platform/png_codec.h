#pragma once
// PNG in both directions through libpng: the one place the program calls libpng. The
// program's picture type (graphics/png_image.h) decodes and encodes through here. The decoder never
// reads outside the bytes it is given and refuses pictures beyond kMaxPictureSide
// (picture_limits.h).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/pixels.h"

namespace orvo::os {

// What a PNG file's header says, read without decoding the image data.
struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  bool color = false;    // red, green and blue, not grey
  bool alpha = false;    // an alpha channel or a transparent palette entry
  bool palette = false;  // colours through a palette
};

// The header of a PNG within the size limit; nothing for anything else.
std::optional<PngHeader> ReadPngHeader(std::string_view bytes);
// Straight-alpha ARGB pixels; nothing for a broken, truncated or oversized picture.
std::optional<Pixels> DecodePng(std::string_view bytes, PngHeader* header = nullptr);
// `argb` holds width x height words; without `alpha` the file is written as RGB.
std::optional<std::string> EncodePng(const uint32_t* argb, int width, int height, bool alpha);
std::optional<std::string> EncodePng(const Pixels& pixels);
bool LooksLikePng(std::string_view bytes);

}  // namespace orvo::os
