// The Windows raster system: bitmap pixels in DIB sections (so GDI can draw text into
// them and they reach the screen without copying) and GDI's own DrawTextW.
#include <windows.h>

#include "platform/raster.h"
#include "platform/win32/gdi_text.h"
#include "platform/win32/win32_handles.h"

namespace orvo::os {
namespace {

class DibBlock : public PixelBlock {
 public:
  DibBlock(win32::GdiBitmap bitmap, uint32_t* bits) : bitmap_(std::move(bitmap)), bits_(bits) {}
  uint32_t* pixels() override { return bits_; }
  void* native_handle() override { return bitmap_.get(); }

 private:
  win32::GdiBitmap bitmap_;
  uint32_t* bits_;
};

class DibStorage : public PixelStorage {
 public:
  std::unique_ptr<PixelBlock> Allocate(int width, int height) override {
    if (width <= 0 || height <= 0) return nullptr;
    if (static_cast<long long>(width) * height > (1ll << 28)) return nullptr;
    uint32_t* bits = nullptr;
    win32::GdiBitmap bitmap = win32::MakeDibSection(width, height, &bits);
    // Out of GDI objects: heap pixels still paint; only GDI text needs a copy then.
    if (!bitmap) return HeapPixelStorage().Allocate(width, height);
    return std::make_unique<DibBlock>(std::move(bitmap), bits);
  }
};

class Win32Raster : public RasterSystem {
 public:
  explicit Win32Raster(std::unique_ptr<TextRenderer> text) : text_(std::move(text)) {}
  PixelStorage& pixels() override { return storage_; }
  TextRenderer& text() override { return *text_; }

 private:
  DibStorage storage_;
  std::unique_ptr<TextRenderer> text_;
};

}  // namespace

std::unique_ptr<RasterSystem> OpenRasterSystem(std::string* error) {
  auto text = win32::MakeGdiTextRenderer(error);
  if (!text) return nullptr;
  return std::make_unique<Win32Raster>(std::move(text));
}

}  // namespace orvo::os
