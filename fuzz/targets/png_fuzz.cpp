// PNG pictures from outside (add-on icons, downloaded pictures, pictures in files the
// program reads): every decoder the program has for them decodes or refuses, and what
// decodes survives being encoded and decoded again pixel for pixel, as the picture
// caches store pictures that way.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/png_image.h"
#include "fuzz_support.h"
#include "graphics/image_codecs.h"
#include "platform/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  const std::span<const uint8_t> bytes(data, size);
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  if (const auto picture = DecodePng(bytes)) {
    const std::vector<uint8_t> encoded = EncodePng(*picture);
    if (!picture->empty()) {
      const auto again = DecodePng(encoded);
      FUZZ_CHECK(again && again->SamePixels(*picture));
    }
  }
  if (const auto pixels = os::DecodePng(text)) {
    FUZZ_CHECK(pixels->argb.size() ==
               static_cast<size_t>(pixels->width) * static_cast<size_t>(pixels->height));
    if (const auto encoded = os::EncodePng(*pixels)) {
      const auto again = os::DecodePng(*encoded);
      FUZZ_CHECK(again && again->argb == pixels->argb);
    }
  }
  if (auto icon = TPngImage::FromPngFile(std::string(text))) {
    const PngImage decoded = *icon;
    icon->Pack();
    FUZZ_CHECK(icon->Unpacked().SamePixels(decoded) && icon->PngFile() == text);
  }
  return 0;
}
