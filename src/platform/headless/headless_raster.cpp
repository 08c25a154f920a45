// The portable raster system: heap pixels and the FreeType text renderer.
#include "platform/headless/headless_raster.h"

namespace orvo::os {
namespace {

class HeadlessRaster : public RasterSystem {
 public:
  explicit HeadlessRaster(std::unique_ptr<TextRenderer> text) : text_(std::move(text)) {}
  PixelStorage& pixels() override { return HeapPixelStorage(); }
  TextRenderer& text() override { return *text_; }

 private:
  std::unique_ptr<TextRenderer> text_;
};

}  // namespace

std::unique_ptr<RasterSystem> OpenRasterSystem(std::string* error) {
  auto text = headless::MakeFreeTypeTextRenderer(error);
  if (!text) return nullptr;
  return std::make_unique<HeadlessRaster>(std::move(text));
}

}  // namespace orvo::os
