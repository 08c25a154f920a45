// Recognising a stored picture's kind and decoding it.
#include "graphics/picture.h"

#include "graphics/image_codecs.h"

namespace orvo {

Picture Picture::FromPng(const PngImage& image) {
  Picture picture;
  if (image.empty()) return picture;
  picture.kind_ = GraphicKind::kPng;
  picture.width_ = image.width();
  picture.height_ = image.height();
  picture.image_ = image;
  return picture;
}

Picture Picture::FromBytes(std::span<const uint8_t> bytes) {
  Picture picture;
  std::optional<PngImage> decoded;
  GraphicKind kind = GraphicKind::kNone;
  if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N') {
    kind = GraphicKind::kPng;
    decoded = DecodePng(bytes);
  } else if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
    kind = GraphicKind::kJpeg;
    decoded = DecodeJpeg(bytes);
  } else if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    kind = GraphicKind::kBitmap;
    decoded = DecodeBmp(bytes);
  } else if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 &&
             bytes[3] == 0) {
    kind = GraphicKind::kIcon;
    decoded = DecodeIco(bytes);
  } else if (bytes.size() >= 10 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F') {
    picture.kind_ = GraphicKind::kGif;
    picture.width_ = bytes[6] | (bytes[7] << 8);
    picture.height_ = bytes[8] | (bytes[9] << 8);
    if (picture.empty()) picture = Picture();
    return picture;
  }
  if (!decoded || decoded->empty()) return picture;
  picture.kind_ = kind;
  picture.width_ = decoded->width();
  picture.height_ = decoded->height();
  picture.image_ = std::move(*decoded);
  return picture;
}

}  // namespace orvo
