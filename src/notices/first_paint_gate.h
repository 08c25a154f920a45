#pragma once
// The notices must never hold up the main window's first paint. Their downloads run on
// worker threads, but what a finished download does (the news window, an answer to the
// update check, the advert description and pictures) runs on the UI thread, and a call
// posted there is handled before the window's pending paint (as a posted message goes
// before WM_PAINT). So that work waits, through this gate, until the main window has
// painted once.
#include <functional>

namespace orvo {

// Runs `call` now when there is no main window, or it has painted since it was shown;
// otherwise once it has (looked at every 10 ms on a timer, which never goes before a
// paint; at most 2 s). UI thread only.
void WhenMainWindowPainted(std::function<void()> call);

}  // namespace orvo
