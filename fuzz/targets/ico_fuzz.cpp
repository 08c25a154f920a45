// Icon files: the toolkit's picture decoder and the sandbox's icon reader (which stands
// in for the system's icon extraction) both decode or refuse, whatever the directory
// entries, sizes and offsets claim.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "fuzz_support.h"
#include "graphics/image_codecs.h"
#include "platform/sandbox/icon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const auto picture = orvo::DecodeIco(std::span<const uint8_t>(data, size))) {
    FUZZ_CHECK(picture->pixels().size() ==
               static_cast<size_t>(picture->width()) * static_cast<size_t>(picture->height()));
  }
  if (const auto icon = orvo::os::sandbox::DecodeLargeIcon(
          std::string_view(reinterpret_cast<const char*>(data), size))) {
    FUZZ_CHECK(icon->argb.size() ==
               static_cast<size_t>(icon->width) * static_cast<size_t>(icon->height));
  }
  return 0;
}
