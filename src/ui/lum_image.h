#pragma once
// A windowless picture: its own Picture, or else the stored image at imageindex of an
// image storage; drawn at the top-left, centred (which wins over stretching) or stretched
// to the control. OnAfterDrawPaint draws on top (the ratings window's stars and bars).
#include "graphics/picture.h"
#include "ui/lum_image_storage.h"
#include "ui/lum_ui_core.h"

namespace orvo {

class TLumImage : public TLumUIGraphicControl {
 public:
  TLumImage();

  const Picture& GetPicture() const { return picture_; }
  // Both resize the control to the image when AutoImageSize is on.
  void SetPicture(const Picture& picture);
  int imageindex() const { return image_index_; }
  void SetImageIndex(int index);
  TLumImageStorage* ImgStorage = nullptr;
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool AutoImageSize = false;
  // The image drawn: the picture, else the stored image at imageindex (empty when none).
  const PngImage& Image() const;

  std::function<void(TControl&, Canvas&)> OnAfterDrawPaint;
  // Published for layouts; never fired (it has no defined moment).
  std::function<void(TControl&, Canvas&)> OnBufferBeforeDraw;

  void DrawControl(Bitmap32& bitmap) override;

 private:
  void FitToImage();

  Picture picture_;
  int image_index_ = -1;
  bool center_ = false;
  bool stretch_ = false;
};

}  // namespace orvo
