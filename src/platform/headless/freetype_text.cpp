// The portable text renderer: our DrawText layout over FreeType glyphs. Glyph coverage
// blends the text colour into the pixels' colour and leaves their alpha byte alone; the
// toolkit's DrawTextKeepAlpha makes text pixels opaque where that matters.
#include <algorithm>
#include <mutex>

#include "platform/headless/ft_fonts.h"
#include "platform/headless/headless_raster.h"
#include "platform/headless/text_layout.h"
#include "platform/text_format.h"

namespace orvo::os::headless {
namespace {

inline uint32_t Mix(uint32_t dst, uint32_t color, uint32_t coverage) {
  const auto channel = [&](int shift) {
    const uint32_t d = (dst >> shift) & 0xFF, c = (color >> shift) & 0xFF;
    const uint32_t v = d * (255 - coverage) + c * coverage + 128;
    return ((v + (v >> 8)) >> 8) << shift;
  };
  return (dst & 0xFF000000u) | channel(16) | channel(8) | channel(0);
}

class FreeTypeTextRenderer : public TextRenderer {
 public:
  bool ok() const { return fonts_.ok(); }

  FontMetrics Metrics(const FontSpec& font) override {
    std::lock_guard lock(mutex_);
    SizedFont* f = fonts_.Get(font);
    return f ? f->metrics() : FontMetrics{};
  }

  void Extent(const FontSpec& font, std::string_view utf8, int* width, int* height) override {
    std::lock_guard lock(mutex_);
    *width = *height = 0;
    SizedFont* f = fonts_.Get(font);
    if (!f) return;
    for (char32_t c : DecodeUtf8(utf8)) *width += f->Advance(c);
    *height = f->metrics().height;
  }

  int Draw(const TextSurface* target, const FontSpec& font, uint32_t rgb, std::string_view utf8,
           TextBox& box, uint32_t format, const TextBox& clip) override {
    std::lock_guard lock(mutex_);
    SizedFont* f = fonts_.Get(font);
    if (!f) return 0;
    LayoutMetrics metrics;
    metrics.line_height = f->metrics().height;
    metrics.average_width = f->metrics().average_width;
    metrics.advance = [f](char32_t c) { return f->Advance(c); };
    const TextLayout layout = LayoutText(DecodeUtf8(utf8), format, box, metrics);
    if (format & kDtCalcRect) {
      box = layout.box;
      return layout.height;
    }
    if (!target || !target->pixels) return layout.height;
    TextBox limit{std::max(clip.left, 0), std::max(clip.top, 0),
                  std::min(clip.right, target->width), std::min(clip.bottom, target->height)};
    if ((format & kDtNoClip) == 0) {
      limit = {std::max(limit.left, box.left), std::max(limit.top, box.top),
               std::min(limit.right, box.right), std::min(limit.bottom, box.bottom)};
    }
    if (limit.right <= limit.left || limit.bottom <= limit.top) return layout.height;
    const uint32_t color = rgb & 0x00FFFFFFu;
    for (const LaidLine& line : layout.lines) {
      const int baseline = line.y + f->metrics().ascent;
      for (const LaidGlyph& g : line.glyphs) {
        const Glyph& glyph = f->GlyphFor(g.c);
        const int gx = line.x + g.x + glyph.left, gy = baseline - glyph.top;
        BlitCoverage(*target, limit, glyph, gx, gy, color);
        if (g.underlined) {
          Bar(*target, limit, line.x + g.x, line.x + g.x + glyph.advance,
              baseline + f->underline_offset(), f->underline_thickness(), color);
        }
      }
      if (font.underline) {
        Bar(*target, limit, line.x, line.x + line.width, baseline + f->underline_offset(),
            f->underline_thickness(), color);
      }
      if (font.strikeout) {
        Bar(*target, limit, line.x, line.x + line.width, baseline - f->strikeout_offset(),
            f->underline_thickness(), color);
      }
    }
    return layout.height;
  }

 private:
  static void BlitCoverage(const TextSurface& s, const TextBox& limit, const Glyph& glyph, int gx,
                           int gy, uint32_t color) {
    const int x0 = std::max(gx, limit.left), x1 = std::min(gx + glyph.width, limit.right);
    const int y0 = std::max(gy, limit.top), y1 = std::min(gy + glyph.height, limit.bottom);
    for (int y = y0; y < y1; ++y) {
      uint32_t* row = s.pixels + static_cast<long>(y) * s.width;
      const uint8_t* cov = glyph.coverage.data() + static_cast<size_t>(y - gy) * glyph.width;
      for (int x = x0; x < x1; ++x) {
        const uint32_t a = cov[x - gx];
        if (a == 255) {
          row[x] = (row[x] & 0xFF000000u) | color;
        } else if (a != 0) {
          row[x] = Mix(row[x], color, a);
        }
      }
    }
  }

  static void Bar(const TextSurface& s, const TextBox& limit, int left, int right, int top,
                  int thickness, uint32_t color) {
    const int x0 = std::max(left, limit.left), x1 = std::min(right, limit.right);
    const int y0 = std::max(top, limit.top), y1 = std::min(top + thickness, limit.bottom);
    for (int y = y0; y < y1; ++y) {
      uint32_t* row = s.pixels + static_cast<long>(y) * s.width;
      for (int x = x0; x < x1; ++x) row[x] = (row[x] & 0xFF000000u) | color;
    }
  }

  std::mutex mutex_;
  FontLibrary fonts_;
};

}  // namespace

std::unique_ptr<TextRenderer> MakeFreeTypeTextRenderer(std::string* error) {
  auto renderer = std::make_unique<FreeTypeTextRenderer>();
  if (!renderer->ok()) {
    if (error) *error = "FreeType could not be started";
    return nullptr;
  }
  return renderer;
}

}  // namespace orvo::os::headless
