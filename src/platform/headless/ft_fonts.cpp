// FreeType faces found through fontconfig, at fixed rendering settings.
#include "platform/headless/ft_fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>

namespace orvo::os::headless {
namespace {

// Wine's own fonts (Tahoma among them) live outside fontconfig's search path.
constexpr const char* kWineFonts = "/usr/share/wine/fonts";

int Scale(long units, int em, int units_per_em) {
  return static_cast<int>(std::lround(static_cast<double>(units) * em / units_per_em));
}

FT_Face FaceOf(void* face) { return static_cast<FT_Face>(face); }

}  // namespace

SizedFont::~SizedFont() {
  if (face_) FT_Done_Face(FaceOf(face_));
}

const Glyph& SizedFont::GlyphFor(char32_t c) {
  const auto known = by_char_.find(c);
  if (known != by_char_.end()) return *known->second;
  const Glyph* glyph = nullptr;
  if (c < 0x20 || c == 0x7F) {
    glyph = &glyphs_[0xFFFFFFFFu];  // controls take no room and draw nothing
  } else {
    const unsigned index = FT_Get_Char_Index(FaceOf(face_), c);
    if (index == 0) {
      SizedFont* other = library_->Fallback(spec_, c);
      if (other && other != this && FT_Get_Char_Index(FaceOf(other->face_), c) != 0) {
        glyph = &other->GlyphFor(c);
      }
    }
    if (!glyph) glyph = &Render(index);
  }
  by_char_[c] = glyph;
  return *glyph;
}

const Glyph& SizedFont::Render(unsigned index) {
  const auto known = glyphs_.find(index);
  if (known != glyphs_.end()) return known->second;
  Glyph& glyph = glyphs_[index];
  FT_Face face = FaceOf(face_);
  FT_Int32 flags = FT_LOAD_DEFAULT;
  if (synthetic_bold_ || synthetic_italic_) flags |= FT_LOAD_NO_BITMAP;
  if (FT_Load_Glyph(face, index, flags) != 0) return glyph;
  FT_GlyphSlot slot = face->glyph;
  if (synthetic_bold_) FT_GlyphSlot_Embolden(slot);
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
    return glyph;
  }
  glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.height = static_cast<int>(bitmap.rows);
  glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
  for (int y = 0; y < glyph.height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<long>(y) * bitmap.pitch;
    uint8_t* out = glyph.coverage.data() + static_cast<size_t>(y) * glyph.width;
    for (int x = 0; x < glyph.width; ++x) {
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        out[x] = (row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
      } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        out[x] = static_cast<uint8_t>(
            bitmap.num_grays == 256 ? row[x] : row[x] * 255 / std::max(1, bitmap.num_grays - 1));
      }
    }
  }
  return glyph;
}

FontLibrary::FontLibrary() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return;
  library_ = library;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config) FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(kWineFonts));
  config_ = config;
}

FontLibrary::~FontLibrary() {
  sized_.clear();
  if (config_) FcConfigDestroy(static_cast<FcConfig*>(config_));
  if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

FontLibrary::Resolved FontLibrary::Resolve(const std::string& family, bool bold, bool italic,
                                           char32_t needs) {
  Resolved result;
  auto* config = static_cast<FcConfig*>(config_);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcCharSet* charset = nullptr;
  if (needs) {
    charset = FcCharSetCreate();
    FcCharSetAddChar(charset, needs);
    FcPatternAddCharSet(pattern, FC_CHARSET, charset);
  }
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult outcome = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &outcome);
  if (match) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      result.file = reinterpret_cast<const char*>(file);
    }
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    result.index = index;
    FcPatternDestroy(match);
  }
  if (charset) FcCharSetDestroy(charset);
  FcPatternDestroy(pattern);
  return result;
}

SizedFont* FontLibrary::Get(const FontSpec& spec) {
  const auto key = std::make_tuple(spec.face, spec.bold, spec.italic, spec.charset);
  auto found = resolved_.find(key);
  if (found == resolved_.end()) {
    found = resolved_.emplace(key, Resolve(spec.face, spec.bold, spec.italic, 0)).first;
  }
  return Open(found->second, spec);
}

SizedFont* FontLibrary::Fallback(const FontSpec& spec, char32_t c) {
  const auto key = std::make_tuple(c, spec.bold, spec.italic);
  auto found = fallback_.find(key);
  if (found == fallback_.end()) {
    found = fallback_.emplace(key, Resolve("sans-serif", spec.bold, spec.italic, c)).first;
  }
  return Open(found->second, spec);
}

SizedFont* FontLibrary::Open(const Resolved& file, const FontSpec& spec) {
  if (!library_ || file.file.empty()) return nullptr;
  const auto key = std::make_tuple(file.file, file.index, spec.em_pixels, spec.cell_pixels,
                                   spec.bold, spec.italic);
  auto found = sized_.find(key);
  if (found != sized_.end()) return found->second.get();

  FT_Face face = nullptr;
  if (FT_New_Face(static_cast<FT_Library>(library_), file.file.c_str(), file.index, &face) != 0) {
    return nullptr;
  }
  std::unique_ptr<SizedFont> font(new SizedFont());
  font->library_ = this;
  font->face_ = face;
  font->spec_ = spec;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const int upem = std::max<int>(1, face->units_per_EM);
  long win_ascent = os2 ? os2->usWinAscent : 0, win_descent = os2 ? os2->usWinDescent : 0;
  if (win_ascent + win_descent <= 0) {
    win_ascent = face->ascender;
    win_descent = -face->descender;
  }
  int em = spec.em_pixels;
  if (spec.cell_pixels > 0 && win_ascent + win_descent > 0) {
    em = static_cast<int>(
        std::lround(static_cast<double>(spec.cell_pixels) * upem / (win_ascent + win_descent)));
  }
  em = std::clamp(em, 1, 2000);
  font->em_ = em;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em));
  // fontconfig reports a requested style it would synthesise as if the file had it, so the
  // file's own flags decide what we must synthesise.
  font->synthetic_bold_ = spec.bold && !(face->style_flags & FT_STYLE_FLAG_BOLD);
  font->synthetic_italic_ = spec.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
  if (font->synthetic_italic_) {
    FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
    FT_Set_Transform(face, &shear, nullptr);
  }
  FontMetrics& m = font->metrics_;
  m.ascent = Scale(win_ascent, em, upem);
  m.descent = Scale(win_descent, em, upem);
  m.height = m.ascent + m.descent;
  m.average_width =
      os2 && os2->xAvgCharWidth > 0 ? Scale(os2->xAvgCharWidth, em, upem) : std::max(1, em / 2);
  font->underline_offset_ = std::max(1, Scale(-face->underline_position, em, upem));
  font->underline_thickness_ = std::max(1, Scale(face->underline_thickness, em, upem));
  font->strikeout_offset_ =
      os2 && os2->yStrikeoutPosition > 0 ? Scale(os2->yStrikeoutPosition, em, upem) : m.ascent / 3;
  SizedFont* result = font.get();
  sized_.emplace(key, std::move(font));
  return result;
}

}  // namespace orvo::os::headless
