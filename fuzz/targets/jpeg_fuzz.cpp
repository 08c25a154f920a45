// JPEG pictures (pictures of window layouts): decoded or refused, never a crash, and a
// decoded picture has the pixels its size says.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "graphics/image_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const auto picture = orvo::DecodeJpeg(std::span<const uint8_t>(data, size))) {
    FUZZ_CHECK(picture->pixels().size() ==
               static_cast<size_t>(picture->width()) * static_cast<size_t>(picture->height()));
  }
  return 0;
}
