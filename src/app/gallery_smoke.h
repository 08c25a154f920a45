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
#include "ui/timer.h"

namespace orvo::gallery {

class GallerySmoke {
 public:
  // Empty `dir`: no state file and no waiting for acknowledgements.
  GallerySmoke(TGalleryWindow& gallery, std::string dir);
  void Start();
  int ExitCode() const { return exit_code_; }
  const std::string& Failure() const { return failure_; }

 private:
  void Tick();
  bool Done() const;
  void Act();
  void Publish(const std::string& state);
  bool Acknowledged(const std::string& state) const;
  void Finish(int code, const std::string& why);

  TGalleryWindow& gallery_;
  std::string dir_;
  TTimer timer_;
  int step_ = 0;
  int waited_ms_ = 0;
  bool acting_ = false;
  std::string waiting_for_ack_;
  int exit_code_ = 1;
  std::string failure_;
  size_t memo_length_ = 0;
};

}  // namespace orvo::gallery
