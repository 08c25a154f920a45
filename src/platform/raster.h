#pragma once
// The raster seam: where bitmap pixels live and how text becomes pixels. The raster layer
// (graphics/) paints everything itself except text; these two services differ between
// Windows (DIB sections that GDI can draw into, GDI DrawTextW) and the portable build
// (heap pixels, FreeType glyphs laid out by our own line breaking). A back end is
// installed once at start-up or by a test; the heap storage below is always available.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvo::os {

// One block of 32-bit pixels: rows top-down, stride width * 4 bytes, each pixel 0xAARRGGBB
// in native byte order (bytes B, G, R, A in memory, the layout of a 32-bit DIB).
class PixelBlock {
 public:
  virtual ~PixelBlock() = default;
  virtual uint32_t* pixels() = 0;
  // The HBITMAP of a DIB section on Windows; null for heap pixels.
  virtual void* native_handle() { return nullptr; }
};

class PixelStorage {
 public:
  virtual ~PixelStorage() = default;
  // Null when the memory (or the GDI object) cannot be had; sizes are at least 1 x 1.
  virtual std::unique_ptr<PixelBlock> Allocate(int width, int height) = 0;
};

// Plain zeroed heap memory, used wherever no DIB is needed (or no back end is installed).
PixelStorage& HeapPixelStorage();

// A font as the text back ends see it. em_pixels > 0 is the character (em) height in
// pixels (a negative LOGFONT height); cell_pixels > 0 instead asks for that cell height
// (a positive LOGFONT height).
struct FontSpec {
  std::string face = "Tahoma";
  int em_pixels = 11;
  int cell_pixels = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  uint8_t charset = 1;  // DEFAULT_CHARSET
};

struct FontMetrics {
  int height = 0;  // ascent + descent: the line height of DrawText
  int ascent = 0;
  int descent = 0;
  int average_width = 0;
};

// The pixels text is drawn into; `native` is the block's DIB handle when it has one.
struct TextSurface {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  void* native = nullptr;
};

struct TextBox {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  virtual FontMetrics Metrics(const FontSpec& font) = 0;
  // GetTextExtentPoint32: advance width of the text (no prefix processing) and line height.
  virtual void Extent(const FontSpec& font, std::string_view utf8, int* width, int* height) = 0;
  // DrawTextW with the DT_* format bits (platform/text_format.h), in the given colour
  // (0x00RRGGBB), background untouched, limited to `clip` (surface coordinates). With
  // DT_CALCRECT nothing is drawn, `box` is adjusted and `target` may be null. Returns the
  // height of the text. Drawn pixels get the blended colour; what happens to their alpha
  // byte belongs to the back end (GDI clears it), so callers that need alpha repair it.
  virtual int Draw(const TextSurface* target, const FontSpec& font, uint32_t rgb,
                   std::string_view utf8, TextBox& box, uint32_t format, const TextBox& clip) = 0;
};

class RasterSystem {
 public:
  virtual ~RasterSystem() = default;
  virtual PixelStorage& pixels() = 0;
  virtual TextRenderer& text() = 0;
};

// Installing does not take ownership. Without an installed system bitmaps use heap pixels
// and text aborts with a message (a programming mistake). The raster system belongs to the
// user-interface thread, like the windows it paints: worker threads never draw (a picture
// they fetch stays PNG bytes until the user-interface thread makes a bitmap of it), so
// nothing here outlives its installer.
void InstallRaster(RasterSystem* system);
bool IsRasterInstalled();
PixelStorage& CurrentPixelStorage();
TextRenderer& CurrentTextRenderer();

// The raster back end this build links (GDI and DIB sections on Windows, FreeType and heap
// pixels elsewhere). Null with the reason in `error` when it cannot start.
std::unique_ptr<RasterSystem> OpenRasterSystem(std::string* error);

}  // namespace orvo::os
