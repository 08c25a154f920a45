#pragma once
// Numbered pictures of any format with a tag and a comment; the shared image module keeps
// the program's common pictures here and windows address them by index.
#include <string>
#include <deque>

#include "graphics/picture.h"

namespace orvo {

enum TLumUIImageType {
  LumUnknown = 0,
  LumICON = 1,
  LumBMP = 2,
  LumJPG = 3,
  LumGIF = 4,
  LumPNG = 5
};

class TLumImageItem {
 public:
  const Picture& GetPicture() const { return picture_; }
  // Copies the picture; a non-empty one sets Format from its kind (icon, bitmap, JPEG, PNG;
  // any other kind leaves Format as it was, so GIF is never detected).
  void SetPicture(const Picture& picture);
  void Assign(const TLumImageItem& other);

  int Width() const { return picture_.empty() ? 0 : picture_.width(); }
  int Height() const { return picture_.empty() ? 0 : picture_.height(); }
  TLumUIImageType Format() const { return format_; }
  // The decoded pixels (empty for pictures the program does not decode).
  const PngImage& Png() const { return picture_.image(); }

  int Tag = 0;
  std::string Comment;

 private:
  Picture picture_;
  TLumUIImageType format_ = LumUnknown;
};

class TLumImageStorage {
 public:
  TLumImageItem& Add();
  int Count() const { return static_cast<int>(images_.size()); }
  // Null outside 0 .. Count - 1.
  TLumImageItem* Item(int index);
  const TLumImageItem* Item(int index) const;
  // The decoded picture at an index; an empty one outside the range.
  const PngImage& Png(int index) const;
  void Clear() { images_.clear(); }

 private:
  std::deque<TLumImageItem> images_;  // references stay valid as items are added
};

}  // namespace orvo
