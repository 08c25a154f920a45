// Text as the toolkit draws it: add-on names, descriptions and reviews are arbitrary
// UTF-8 from browser files and the network, drawn into boxes of every size (a window
// can be made narrow, a column dragged to nothing). The first bytes pick the DrawText
// format bits, the font and the box; the rest is the text. It is measured and drawn into
// a small surface through the real FreeType back end, with the box placed anywhere,
// also partly or wholly outside the surface, so clipping is exercised too.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/headless/headless_raster.h"
#include "platform/text_format.h"

namespace {

using namespace orvo;
using namespace orvo::os;

constexpr uint32_t kFormatBits = kDtCenter | kDtRight | kDtVCenter | kDtBottom | kDtWordBreak |
                                 kDtSingleLine | kDtExpandTabs | kDtNoClip | kDtCalcRect |
                                 kDtNoPrefix | kDtEditControl | kDtEndEllipsis | kDtHidePrefix;
constexpr int kSurfaceWidth = 96;
constexpr int kSurfaceHeight = 48;

TextRenderer& Renderer() {
  static const std::unique_ptr<TextRenderer> renderer = [] {
    std::string error;
    auto made = headless::MakeFreeTypeTextRenderer(&error);
    if (!made) orvo::fuzz::Fail(__FILE__, __LINE__, error.c_str());
    return made;
  }();
  return *renderer;
}

// Takes the next byte of the head, 0 once it is used up.
uint8_t Take(std::string_view& input) {
  if (input.empty()) return 0;
  const auto b = static_cast<uint8_t>(input[0]);
  input.remove_prefix(1);
  return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  uint32_t format = Take(input);
  format |= uint32_t(Take(input)) << 8;
  format |= uint32_t(Take(input)) << 16;
  format &= kFormatBits;
  const uint8_t look = Take(input);
  FontSpec font;
  font.em_pixels = 1 + look % 40;
  font.bold = look & 0x40;
  font.italic = look & 0x80;
  TextBox box;
  box.left = static_cast<int8_t>(Take(input));
  box.top = static_cast<int8_t>(Take(input));
  box.right = box.left + static_cast<int8_t>(Take(input));
  box.bottom = box.top + static_cast<int8_t>(Take(input));
  const TextBox clip{static_cast<int8_t>(Take(input)) / 4, 0, kSurfaceWidth, kSurfaceHeight};

  TextRenderer& text = Renderer();
  int width = 0, height = 0;
  text.Extent(font, input, &width, &height);
  FUZZ_CHECK(width >= 0 && height >= 0);
  std::vector<uint32_t> pixels(kSurfaceWidth * kSurfaceHeight, 0xFF000000u);
  const TextSurface surface{pixels.data(), kSurfaceWidth, kSurfaceHeight, nullptr};
  TextBox drawn = box;
  text.Draw((format & kDtCalcRect) ? nullptr : &surface, font, 0x123456, input, drawn, format,
            clip);
  return 0;
}
