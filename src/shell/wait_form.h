#pragma once
// The wait window: a turning spinner over a window that is busy loading (the ratings
// window fetching an add-on's reviews). It is a layered window laid over its owner, the
// size of the owner, transparent but for the spinner card centred in it; a frame every
// 80 ms (14 frames to a turn). A click on the card closes it, as does its owner, which
// must outlive it.
//
//   auto wait = std::make_unique<TfrmWait>(main);
//   wait->Show();        // over the owner, the first frame painted at once
//   ... pump messages while the work runs; wait->Shown() turns false after a click ...
//   wait->Close();
#include "graphics/bitmap.h"
#include "ui/form.h"
#include "ui/lum_image_list.h"
#include "ui/timer.h"

namespace orvo {

inline constexpr int kWaitFrameWidth = 190;
inline constexpr int kWaitFrameHeight = 220;
inline constexpr int kWaitFrameCount = 15;  // the last repeats the first: 14 are used
inline constexpr int kWaitIntervalMs = 80;

class TfrmWait : public TForm {
 public:
  explicit TfrmWait(TForm& owner);
  ~TfrmWait() override;

  TTimer tmr1;
  TLumImageList mglst1;  // the animation frames, 190 x 220 with alpha

  // Frames drawn since the window was shown.
  int Ticks() const { return ticks_; }
  // Where the spinner card was last drawn (form coordinates).
  const Rect& FrameRect() const { return frame_rect_; }

  void Click() override;  // FormClick

 private:
  void FormShow();
  void FormHide();
  void tmr1Timer();

  TForm& owner_;
  Bitmap32 layer_;
  Rect frame_rect_;
  int ticks_ = 0;
};

}  // namespace orvo
