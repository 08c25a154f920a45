#pragma once
// Windows bitmaps and icons: device-independent bitmaps (in .bmp files and inside icon
// entries) and the directory of an .ico file. The one decoder of these formats: the
// toolkit's picture loaders and the sandbox's icon extraction both read through it. Every
// offset and size comes from untrusted bytes and is checked before use; pictures beyond
// kMaxPictureSide are refused.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/pixels.h"

namespace orvo::os {

struct DibDecoded {
  Pixels pixels;
  uint32_t bits_per_pixel = 0;
  bool alpha = false;  // the alpha came from the pixels (not from an AND mask)
};

// A DIB whose BITMAPINFOHEADER (or later) starts at `header`. For icon entries (`icon`)
// the height counts the colour bitmap and the AND mask, and the mask follows the colour
// bits. `bits_at`: where the pixels start (a .bmp file says so), or 0 for "after the
// header, masks and palette". Uncompressed and BI_BITFIELDS pictures of 1 to 32 bits.
std::optional<DibDecoded> DecodeDib(std::string_view bytes, size_t header, bool icon,
                                    size_t bits_at = 0);
// A .bmp file ("BM" and its file header).
std::optional<DibDecoded> DecodeBmpFile(std::string_view bytes);

// One entry of an .ico directory; `data` lies inside the file.
struct IcoEntry {
  int width = 0;  // 0 in the file means 256
  int height = 0;
  uint32_t bits_per_pixel = 0;
  std::string_view data;  // a PNG file or a DIB with its mask
};
// The entries of an .ico file whose data lies inside it; empty for anything else.
std::vector<IcoEntry> ReadIcoDirectory(std::string_view bytes);
// An icon entry's picture: a PNG or a DIB with its mask.
std::optional<Pixels> DecodeIcoEntry(std::string_view data);

}  // namespace orvo::os
