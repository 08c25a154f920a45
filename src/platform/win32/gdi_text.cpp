// Text through GDI: fonts are created once per distinct font and kept; one memory device
// context selects the target's DIB section, clips, and lets DrawTextW do the layout and the
// drawing. A target without a DIB (heap pixels) is drawn through a scratch DIB that holds
// just the part the text may touch.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/win32/gdi_text.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_handles.h"

namespace orvo::os::win32 {
namespace {

class GdiTextRenderer : public TextRenderer {
 public:
  GdiTextRenderer() : memory_dc_(CreateCompatibleDC(nullptr)), dc_(memory_dc_.get()) {
    if (dc_) {
      SetBkMode(dc_, TRANSPARENT);
      SetMapMode(dc_, MM_TEXT);
      stock_bitmap_ = static_cast<HBITMAP>(GetCurrentObject(dc_, OBJ_BITMAP));
      stock_font_ = static_cast<HFONT>(GetCurrentObject(dc_, OBJ_FONT));
    }
  }
  ~GdiTextRenderer() override {
    // An object still selected into a device context cannot be deleted: hand the stock
    // ones back before the members free the fonts, the scratch bitmap and the context.
    if (dc_) {
      SelectObject(dc_, stock_font_);
      SelectObject(dc_, stock_bitmap_);
    }
  }
  GdiTextRenderer(const GdiTextRenderer&) = delete;
  GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;
  bool ok() const { return dc_ != nullptr; }

  FontMetrics Metrics(const FontSpec& font) override {
    std::lock_guard lock(mutex_);
    SelectObject(dc_, FontFor(font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    return {static_cast<int>(tm.tmHeight), static_cast<int>(tm.tmAscent),
            static_cast<int>(tm.tmDescent), static_cast<int>(tm.tmAveCharWidth)};
  }

  void Extent(const FontSpec& font, std::string_view utf8, int* width, int* height) override {
    std::lock_guard lock(mutex_);
    SelectObject(dc_, FontFor(font));
    const std::wstring text = Wide(utf8);
    SIZE size{};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    *width = size.cx;
    *height = size.cy;
    if (text.empty()) {
      TEXTMETRICW tm{};
      GetTextMetricsW(dc_, &tm);
      *height = tm.tmHeight;
    }
  }

  int Draw(const TextSurface* target, const FontSpec& font, uint32_t rgb, std::string_view utf8,
           TextBox& box, uint32_t format, const TextBox& clip) override {
    std::lock_guard lock(mutex_);
    const std::wstring text = Wide(utf8);
    RECT rc{box.left, box.top, box.right, box.bottom};
    SelectObject(dc_, FontFor(font));
    if ((format & DT_CALCRECT) || !target || !target->pixels) {
      const int height = DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rc,
                                   format | (target ? 0 : DT_CALCRECT));
      if (format & DT_CALCRECT) box = {rc.left, rc.top, rc.right, rc.bottom};
      return height;
    }
    if (target->native) {
      SelectObject(dc_, static_cast<HBITMAP>(target->native));
      const int height = DrawInto(text, rc, format, rgb, clip, {0, 0});
      SelectObject(dc_, stock_bitmap_);
      return height;
    }
    // Heap pixels: the part text may touch goes through a scratch DIB kept for reuse.
    RECT area{std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, target->width),
              std::min(clip.bottom, target->height)};
    if (!(format & DT_NOCLIP)) {
      area = {std::max(area.left, rc.left), std::max(area.top, rc.top),
              std::min(area.right, rc.right), std::min(area.bottom, rc.bottom)};
    }
    if (area.right <= area.left || area.bottom <= area.top) return 0;
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (!Scratch(w, h)) return 0;
    CopyRows(target->pixels, target->width, area, scratch_bits_, w, true);
    SelectObject(dc_, scratch_.get());
    const int height =
        DrawInto(text, rc, format, rgb, {area.left, area.top, area.right, area.bottom},
                 {area.left, area.top});
    SelectObject(dc_, stock_bitmap_);
    CopyRows(target->pixels, target->width, area, scratch_bits_, w, false);
    return height;
  }

 private:
  // Draws into the selected bitmap, whose pixel (0, 0) is surface pixel `offset`.
  int DrawInto(const std::wstring& text, RECT rc, uint32_t format, uint32_t rgb,
               const TextBox& clip, POINT offset) {
    SetViewportOrgEx(dc_, -offset.x, -offset.y, nullptr);
    SelectClipRgn(dc_, nullptr);
    const GdiRegion region(CreateRectRgn(clip.left - offset.x, clip.top - offset.y,
                                         clip.right - offset.x, clip.bottom - offset.y));
    SelectClipRgn(dc_, region.get());  // the context keeps a copy
    SetTextColor(dc_, RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    const int height = DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rc, format);
    GdiFlush();
    SelectClipRgn(dc_, nullptr);
    SetViewportOrgEx(dc_, 0, 0, nullptr);
    return height;
  }

  bool Scratch(int width, int height) {
    if (scratch_ && scratch_width_ >= width && scratch_height_ >= height) return true;
    scratch_.reset();
    scratch_width_ = std::max(width, scratch_width_);
    scratch_height_ = std::max(height, scratch_height_);
    scratch_ = MakeDibSection(scratch_width_, scratch_height_, &scratch_bits_);
    if (!scratch_) scratch_width_ = scratch_height_ = 0;
    return static_cast<bool>(scratch_);
  }

  // Copies `area` of the surface into the scratch DIB's top-left corner, or back.
  void CopyRows(uint32_t* surface, int surface_width, const RECT& area, uint32_t* scratch,
                int width, bool into_scratch) {
    for (int y = area.top; y < area.bottom; ++y) {
      uint32_t* s = surface + static_cast<size_t>(y) * surface_width + area.left;
      uint32_t* d = scratch + static_cast<size_t>(y - area.top) * scratch_width_;
      if (into_scratch)
        std::memcpy(d, s, static_cast<size_t>(width) * 4);
      else
        std::memcpy(s, d, static_cast<size_t>(width) * 4);
    }
  }

  HFONT FontFor(const FontSpec& f) {
    const auto key = std::make_tuple(f.face, f.em_pixels, f.cell_pixels, f.bold, f.italic,
                                     f.underline, f.strikeout, f.charset);
    const auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second.get();
    LOGFONTW lf{};
    lf.lfHeight = f.cell_pixels > 0 ? f.cell_pixels : -f.em_pixels;
    lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strikeout;
    lf.lfCharSet = f.charset;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = Wide(f.face);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    GdiFont font(CreateFontIndirectW(&lf));
    if (!font) return stock_font_;
    return fonts_.emplace(key, std::move(font)).first->second.get();
  }

  std::mutex mutex_;
  MemoryDc memory_dc_;  // declared first: freed after what is selected into it
  HDC dc_ = nullptr;
  HBITMAP stock_bitmap_ = nullptr;
  HFONT stock_font_ = nullptr;
  std::map<std::tuple<std::string, int, int, bool, bool, bool, bool, uint8_t>, GdiFont> fonts_;
  GdiBitmap scratch_;
  uint32_t* scratch_bits_ = nullptr;
  int scratch_width_ = 0;
  int scratch_height_ = 0;
};

}  // namespace

std::unique_ptr<TextRenderer> MakeGdiTextRenderer(std::string* error) {
  auto renderer = std::make_unique<GdiTextRenderer>();
  if (!renderer->ok()) {
    if (error) *error = "no memory device context for text";
    return nullptr;
  }
  return renderer;
}

}  // namespace orvo::os::win32
