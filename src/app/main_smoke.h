#pragma once
// The program's smoke run under synthetic input, for the Windows build under Wine (see
// smoke_run.h for the state files and acknowledgements): once the Chrome tab's ratings
// have come ("chrome"), it clicks the switch of the list's second row and waits until the
// record and the Preferences file on disk have changed; clicks the third row's delete
// button, answers the question with Enter, and waits until the record and its folder are
// gone; clicks the Firefox tab ("firefox"); clicks "Set as default browser" and waits for
// the toast to have slid in ("toast"). Then the ratings window (main_smoke_ratings.cpp):
// back on the Chrome tab it clicks the first row's stars, waits for the window with its
// reviews, picks "My Review", three stars, a nickname and a text, clicks Submit, and waits
// until the review is listed first ("ratings"); then closes the window.
#include <string>

#include "app/smoke_run.h"
#include "shell/main_window.h"

namespace orvo {

inline constexpr int kFirstRatingsStep = 6;

class TMainSmoke : public TSmokeRun {
 public:
  TMainSmoke(TfrmXOBMain& main, std::string dir);

 private:
  void Act(int step) override;
  bool Done(int step) override;
  // The screen point at the middle of a list rectangle of row `index`.
  Point RowPoint(int index, Rect TAddonRow::*place) const;
  TAddonRow* RowData(int index) const;
  std::string PreferencesText() const;
  // The ratings window's steps (from kFirstRatingsStep on).
  void ActOnRatings(int step);
  bool RatingsDone(int step);

  TfrmXOBMain& main_;
  TBrowserAppBase* chrome_ = nullptr;
  TBrowserExtensionInfo* switched_ = nullptr;
  bool was_disabled_ = false;
  std::string preferences_before_;
  TBrowserExtensionInfo* deleted_ = nullptr;
  std::string deleted_folder_;
};

}  // namespace orvo
