#pragma once
// The news window: a small skinned window that slides up at the bottom right of the
// screen with the newsletter page of a news item, stays a minute and fades out. One
// window serves the whole run: made for the first news item, hidden when it closes, and
// re-targeted when the next item comes (also while it is still showing the last one).
//
//   hidden --ShowNews--> loading --page with a body--> sliding (20 px every 50 ms, from
//   below the work area) --settled--> shown (60 s) --> fading (alpha 255 to 5 in 25 steps,
//   33 ms apart) --> hidden.   A page without a body closes it unseen.
//
// It is shown without taking the activation: the user may be typing in another program.
// The window is layered, so the fade takes the whole window, page included.
#include <cstdint>
#include <string>

#include "ui/form.h"
#include "ui/lum_form.h"
#include "ui/timer.h"

namespace orvo {

class THtmlView;

class TFrmNews : public TForm {
 public:
  static constexpr int kDefaultWidth = 492;
  static constexpr int kDefaultHeight = 266;
  static constexpr int kCaptionHeight = 26;
  static constexpr int kSlideStep = 20;
  static constexpr int kSlideInterval = 50;
  static constexpr int kStayMs = 60000;
  static constexpr int kFadeInterval = 33;
  static constexpr int kFadeStep = 10;
  static constexpr int kFadeEnd = 5;

  enum class Phase { kHidden, kLoading, kSliding, kShown, kFading };

  TFrmNews();
  ~TFrmNews() override;

  TLumForm* lmfrm1 = nullptr;
  THtmlView* wb1 = nullptr;
  TTimer timer1;  // slide-in
  TTimer timer2;  // stay, then fade

  std::string PageUrl;
  int PageWidth = 0;
  int PageHeight = 0;

  // Shows the page of a news item: the size (width x height when both are positive, cut
  // to the work area; else the default 492 x 266), the place below the work area's
  // bottom right, then the preparation and the navigation.
  void ShowNews(const std::string& page_url, int width, int height);
  // The language's font and the caption "Newsletter", the navigation, full opacity and
  // the stay's length.
  void Prepare();

  Phase State() const { return phase_; }
  // Slid in, with the page and every picture it could get.
  bool Settled() const;

 private:
  void wb1NavigateComplete2();
  void timer1Timer();
  void timer2Timer();
  void Finish();

  Phase phase_ = Phase::kHidden;
};

// The process's news window, made on first use.
TFrmNews& NewsWindow();
// Null before the first news item.
TFrmNews* ExistingNewsWindow();
// Destroys it (at the end of a test, or of a run that cleans up).
void FreeNewsWindow();

}  // namespace orvo
