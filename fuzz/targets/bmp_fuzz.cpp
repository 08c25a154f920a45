// Windows bitmaps (pictures of window layouts): whatever the headers claim (sizes, bit
// depths, palettes, offsets), the decoder reads only the bytes it was given.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "graphics/image_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const auto picture = orvo::DecodeBmp(std::span<const uint8_t>(data, size))) {
    FUZZ_CHECK(picture->pixels().size() ==
               static_cast<size_t>(picture->width()) * static_cast<size_t>(picture->height()));
  }
  return 0;
}
