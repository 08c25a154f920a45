#pragma once
// The gallery's smoke run, on whatever window system is installed: with synthetic input
// (SendInput on Windows) it opens the menu from the caption's menu button down to its
// third level, closes it with Esc, opens the Yes/No box from its button and answers it
// with Enter; then it opens the lists window, drops the sort choice up from the bottom of
// the screen and picks its second entry, and presses Enter in the review box (on Windows
// the system's own multi-line box). At the window, the open menu, the open box, the lists
// window, the dropped list and the review box it writes the state's name to DIR/state and
// waits (up to 20 s) for DIR/ack-<state>, so a script can take a screenshot
// of the screen meanwhile. It ends the application with exit code 0 when every step came
// true in time, else 1, leaving "failed <step>" in DIR/state.
#include <string>

#include "app/gallery_window.h"
#include "app/smoke_run.h"

namespace orvo::gallery {

class GallerySmoke : public TSmokeRun {
 public:
  // Empty `dir`: no state file and no waiting for acknowledgements.
  GallerySmoke(TGalleryWindow& gallery, std::string dir);

 private:
  void Act(int step) override;
  bool Done(int step) override;

  TGalleryWindow& gallery_;
  size_t memo_length_ = 0;
};

}  // namespace orvo::gallery
