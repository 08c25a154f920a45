#pragma once
// Fonts for the portable text back end: a face name is resolved through fontconfig (with
// Wine's own fonts added, so "Tahoma" is the very Tahoma that Wine's GDI draws with), opened
// with FreeType at one pixel size, and its glyphs are rendered once and cached as coverage
// masks with whole-pixel advances, the way GDI places glyphs. Missing characters come from
// a fallback face that has them. Rendering settings are fixed (hinted, grayscale, embedded
// bitmaps where the font has them) so output is the same on every run.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/raster.h"

namespace orvo::os::headless {

struct Glyph {
  int advance = 0;
  int left = 0;  // bitmap offset from the pen position
  int top = 0;   // bitmap top above the baseline
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;  // width * height, 0..255
};

class FontLibrary;

// One face at one size (and synthetic style), with its metrics and glyph cache.
class SizedFont {
 public:
  ~SizedFont();
  const FontMetrics& metrics() const { return metrics_; }
  int underline_offset() const { return underline_offset_; }  // below the baseline
  int underline_thickness() const { return underline_thickness_; }
  int strikeout_offset() const { return strikeout_offset_; }  // above the baseline
  // Never null; a character no face has draws the face's missing-glyph box.
  const Glyph& GlyphFor(char32_t c);
  int Advance(char32_t c) { return GlyphFor(c).advance; }

 private:
  friend class FontLibrary;
  SizedFont() = default;
  const Glyph& Render(unsigned index);

  FontLibrary* library_ = nullptr;
  void* face_ = nullptr;  // FT_Face
  bool synthetic_bold_ = false;
  bool synthetic_italic_ = false;
  int em_ = 0;
  FontSpec spec_;
  FontMetrics metrics_;
  int underline_offset_ = 1;
  int underline_thickness_ = 1;
  int strikeout_offset_ = 3;
  std::map<unsigned, Glyph> glyphs_;
  std::map<char32_t, const Glyph*> by_char_;
};

class FontLibrary {
 public:
  FontLibrary();
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;
  bool ok() const { return library_ != nullptr; }
  // Never null once ok(): an unknown face name gives fontconfig's best match.
  SizedFont* Get(const FontSpec& spec);
  // A face at the same size and style that has `c`, or null.
  SizedFont* Fallback(const FontSpec& spec, char32_t c);

 private:
  struct Resolved {
    std::string file;
    int index = 0;
  };
  Resolved Resolve(const std::string& family, bool bold, bool italic, char32_t needs);
  SizedFont* Open(const Resolved& file, const FontSpec& spec);

  void* library_ = nullptr;  // FT_Library
  void* config_ = nullptr;   // FcConfig
  std::map<std::tuple<std::string, bool, bool, uint8_t>, Resolved> resolved_;
  std::map<std::tuple<std::string, int, int, int, bool, bool>, std::unique_ptr<SizedFont>> sized_;
  std::map<std::tuple<char32_t, bool, bool>, Resolved> fallback_;
};

}  // namespace orvo::os::headless
