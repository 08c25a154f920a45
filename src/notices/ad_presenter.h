#pragma once
// The advert presenter: draws the advert the reader reported last (its picture and its
// title, in one of six layouts) into an image control, lights the title while the pointer
// is over it, and opens the advert's link (a web page only) when it is clicked. Before
// any advert is ready the control shows only itself.
//
// Layouts, with L, T the title box's top-left (the control's clip left and top + rect),
// W x H the box, w x h the picture, t the height of the letter "a" in the title's font
// and v = |h - t| / 2:
//
//   align  picture                       title box
//   0      (L, T)                        (L + w, T + v) .. (L + w + W, T + H)
//   1      (L, T)                        (L, T + h) .. (L + W, T + H)
//   2      (L + title width, T)          (L, T + v) .. (L + W, T + H), drawn first
//   3      (L, T + title height)         (L, T) .. (L + W, T + H), drawn first
//   4      alone at (0, 0)               none
//   5      none                          (L, T) .. (L + W, T + H)
//
// Items of align 0 to 3 without a picture are shown as align 5.
#include <memory>
#include <optional>

#include "graphics/png_image.h"
#include "notices/ad_reader.h"

namespace orvo {

class Canvas;
class TLumImage;

// The reader's settings the program uses: its version text, the advert folder, the
// active language file and the site's advert address.
AdReaderSettings ProgramAdSettings();

class TOrvoAd {
 public:
  // Hooks the control's after-paint, click, mouse-enter and mouse-leave events and
  // starts the reader. The control must outlive the presenter.
  TOrvoAd(TLumImage& image, AdReaderSettings settings);
  explicit TOrvoAd(TLumImage& image) : TOrvoAd(image, ProgramAdSettings()) {}
  ~TOrvoAd();
  TOrvoAd(const TOrvoAd&) = delete;
  TOrvoAd& operator=(const TOrvoAd&) = delete;

  TOrvoADReader& Reader() { return *reader_; }
  // The item shown (a copy of the reader's), if any.
  const TagOrvoAdInfo* Shown() const { return shown_ ? &*shown_ : nullptr; }
  const PngImage& Picture() const { return picture_; }
  bool Hover() const { return hover_; }
  // Where the title went at the last paint (the control's coordinates; empty when none).
  const Rect& TitleBox() const { return title_box_; }

  // The reader's item-ready callback.
  void ItemReady(const TagOrvoAdInfo& item);
  // Draws the shown item on the control's canvas.
  void Draw(Canvas& canvas);

 private:
  TLumImage& image_;
  std::unique_ptr<TOrvoADReader> reader_;
  std::optional<TagOrvoAdInfo> shown_;
  PngImage picture_;
  Rect title_box_;
  bool hover_ = false;
};

}  // namespace orvo
