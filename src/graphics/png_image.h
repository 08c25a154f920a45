#pragma once
// The program's one picture type: RGBA pixels (straight alpha, 0xAARRGGBB) plus the PNG
// colour type they were stored with. Skins, add-on and browser icons, advert pictures and
// everything the toolkit draws are held in it.
//
// The colour type matters to a few routines: "add an alpha channel" turns RGB into RGBA
// (and grey into grey-with-alpha), and desaturation leaves grey pictures alone. Pixels are
// always expanded, so every routine reads the same layout whatever the file held.
//
// A picture read from a PNG file keeps that file for as long as its pixels stay as they
// were, so a downloaded picture is saved byte for byte. A picture kept long and drawn
// seldom (a catalogue holds hundreds of icons) can be packed: it lets its pixels go and
// keeps only the compressed file, a fraction of the memory; the pixels come back,
// decoded again, the next time anything reads them. That decoding happens inside const
// accessors, so a packed picture must not be read from two threads at once.
//
// A value type: copies are deep (a packed copy shares the immutable file).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/color.h"
#include "graphics/pixel_view.h"
#include "platform/picture_limits.h"

namespace orvo {

enum class PngColorType : uint8_t {
  kGray = 0,
  kRgb = 2,
  kPalette = 3,
  kGrayAlpha = 4,
  kRgba = 6,
};

class PngImage {
 public:
  PngImage() = default;
  // Transparent black pixels; sizes below 1 give an empty image.
  PngImage(int width, int height, PngColorType type = PngColorType::kRgba);
  // Takes decoded pixels (width x height of them; otherwise the image is empty).
  PngImage(int width, int height, std::vector<Argb> pixels, PngColorType type,
           bool palette_alpha = false);

  // A PNG file, decoded completely once (every chunk's checksum, the whole image data), so
  // that a broken, truncated or oversized one is refused here rather than when drawn.
  // Nothing for anything that is not a whole PNG of at most `max_side` pixels a side; the
  // size the header announces is checked before anything is decoded.
  static std::optional<PngImage> FromPngFile(std::string file,
                                             uint32_t max_side = os::kMaxPictureSide);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  PngColorType color_type() const { return type_; }
  // RGBA, grey with alpha, or a palette with a transparency table.
  bool has_alpha() const;
  // Gives a picture without alpha its alpha channel (every pixel stays as it is, opaque).
  void CreateAlpha();
  // Declares what the pixels are without touching them (for decoders).
  void set_color_type(PngColorType type, bool palette_alpha = false);

  Argb* Row(int y) { return Changing().data() + static_cast<size_t>(y) * width_; }
  const Argb* Row(int y) const { return Reading().data() + static_cast<size_t>(y) * width_; }
  Argb Pixel(int x, int y) const { return Row(y)[x]; }
  void SetPixel(int x, int y, Argb c) { Row(y)[x] = c; }
  std::vector<Argb>& pixels() { return Changing(); }
  const std::vector<Argb>& pixels() const { return Reading(); }
  PixelView view() const { return {Reading().data(), width_, height_}; }
  Rect bounds() const { return {0, 0, width_, height_}; }

  // Same size and pixels (the colour type is not compared).
  bool SamePixels(const PngImage& other) const {
    return width_ == other.width_ && height_ == other.height_ && Reading() == other.Reading();
  }

  // The picture as a PNG file: the file it was read from while its pixels are unchanged,
  // else encoded now (RGBA when it has alpha, else RGB). Empty for an empty picture or
  // when encoding fails.
  std::string PngFile() const;
  // Lets the pixels go and keeps only the PNG file (encoding one when there is none).
  // Does nothing to an empty picture or when encoding fails.
  void Pack();
  bool packed() const { return !empty() && pixels_.empty(); }
  // A copy with its pixels decoded, leaving this picture packed: for drawing a packed
  // picture once without keeping its pixels.
  PngImage Unpacked() const;

 private:
  // The pixels, decoded from the file first when the picture is packed.
  const std::vector<Argb>& Reading() const {
    if (pixels_.empty() && file_) [[unlikely]]
      Unpack();
    return pixels_;
  }
  // The same before a change: the file no longer shows the picture.
  std::vector<Argb>& Changing() {
    Reading();
    if (file_) [[unlikely]]
      file_.reset();
    return pixels_;
  }
  void Unpack() const;

  int width_ = 0;
  int height_ = 0;
  PngColorType type_ = PngColorType::kRgba;
  bool palette_alpha_ = false;
  mutable std::vector<Argb> pixels_;
  // The PNG file that holds exactly these pixels, when there is one.
  std::shared_ptr<const std::string> file_;
};

}  // namespace orvo
