// Text through GDI: fonts are created once per distinct font and kept; one memory device
// context selects the target's DIB section, clips, and lets DrawTextW do the layout and the
// drawing. A target without a DIB (heap pixels) is drawn through a temporary DIB copy.
#include <windows.h>

#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/win32/gdi_text.h"
#include "platform/win32/wide.h"

namespace orvo::os::win32 {
namespace {

class GdiTextRenderer : public TextRenderer {
 public:
  GdiTextRenderer() : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_) {
      SetBkMode(dc_, TRANSPARENT);
      SetMapMode(dc_, MM_TEXT);
      stock_bitmap_ = static_cast<HBITMAP>(GetCurrentObject(dc_, OBJ_BITMAP));
      stock_font_ = static_cast<HFONT>(GetCurrentObject(dc_, OBJ_FONT));
    }
  }
  ~GdiTextRenderer() override {
    if (dc_) {
      SelectObject(dc_, stock_font_);
      DeleteDC(dc_);
    }
    for (auto& entry : fonts_) DeleteObject(entry.second);
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
    HBITMAP bitmap = static_cast<HBITMAP>(target->native);
    HBITMAP temporary = nullptr;
    void* temporary_bits = nullptr;
    if (!bitmap) {
      BITMAPINFO info{};
      info.bmiHeader = {sizeof(BITMAPINFOHEADER), target->width, -target->height, 1, 32, BI_RGB};
      temporary = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &temporary_bits, nullptr, 0);
      if (!temporary) return 0;
      std::memcpy(temporary_bits, target->pixels,
                  static_cast<size_t>(target->width) * target->height * 4);
      bitmap = temporary;
    }
    SelectObject(dc_, bitmap);
    SelectClipRgn(dc_, nullptr);
    IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
    SetTextColor(dc_, RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    const int height = DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rc, format);
    GdiFlush();
    SelectClipRgn(dc_, nullptr);
    SelectObject(dc_, stock_bitmap_);
    if (temporary) {
      std::memcpy(target->pixels, temporary_bits,
                  static_cast<size_t>(target->width) * target->height * 4);
      DeleteObject(temporary);
    }
    return height;
  }

 private:
  HFONT FontFor(const FontSpec& f) {
    const auto key = std::make_tuple(f.face, f.em_pixels, f.cell_pixels, f.bold, f.italic,
                                     f.underline, f.strikeout, f.charset);
    const auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
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
    HFONT font = CreateFontIndirectW(&lf);
    if (!font) font = stock_font_;
    else fonts_.emplace(key, font);
    return font;
  }

  std::mutex mutex_;
  HDC dc_ = nullptr;
  HBITMAP stock_bitmap_ = nullptr;
  HFONT stock_font_ = nullptr;
  std::map<std::tuple<std::string, int, int, bool, bool, bool, bool, uint8_t>, HFONT> fonts_;
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
