// The picture control.
#include "ui/lum_image.h"

namespace orvo {

TLumImage::TLumImage() {
  Color = clRed;
  SetBounds(0, 0, 100, 100);
  SetTrackHover(false);
}

void TLumImage::SetPicture(const Picture& picture) {
  picture_ = picture;
  FitToImage();
  Changed();
}

void TLumImage::SetImageIndex(int index) {
  if (index == image_index_) return;
  image_index_ = index;
  FitToImage();
  Changed();
}

void TLumImage::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  Changed();
}

void TLumImage::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  Changed();
}

const PngImage& TLumImage::Image() const {
  static const PngImage none;
  if (!picture_.empty()) return picture_.image();
  if (ImgStorage && image_index_ >= 0 && image_index_ < ImgStorage->Count()) {
    return ImgStorage->Png(image_index_);
  }
  return none;
}

void TLumImage::FitToImage() {
  const PngImage& image = Image();
  if (AutoImageSize && !image.empty()) SetBounds(Left(), Top(), image.width(), image.height());
}

void TLumImage::DrawControl(Bitmap32& bitmap) {
  const PngImage& image = Image();
  Canvas& canvas = bitmap.canvas();
  if (!image.empty()) {
    if (center_) {
      canvas.DrawPng((bitmap.width() - image.width()) / 2, (bitmap.height() - image.height()) / 2,
                     image);
    } else if (stretch_) {
      canvas.StretchDrawPng(bitmap.bounds(), image);
    } else {
      canvas.DrawPng(0, 0, image);
    }
  }
  if (OnAfterDrawPaint) OnAfterDrawPaint(*this, canvas);
}

}  // namespace orvo
