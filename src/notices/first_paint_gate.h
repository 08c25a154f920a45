#pragma once
// The notices must never hold up the main window's first paint. Their downloads run on
// worker threads, but what a finished download does (the news window, an answer to the
// update check, the advert description and pictures) runs on the UI thread, and a call
// posted there is handled before the window's pending paint (as a posted message goes
// before WM_PAINT), and the downloads' own threads take processor time from the window's
// making. So that work waits, through this gate, until the main window has painted once.
#include <functional>

namespace orvo {

// Runs `call` now when there is no main window, or it has painted since it was shown;
// otherwise once it has (looked at every 10 ms on a timer, which never goes before a
// paint; at most 3 s). UI thread only.
void WhenMainWindowPainted(std::function<void()> call);

// The program's start-up: from now until its main window has painted once, every call
// waits, also while the main window is still being made (the checks start from its
// menu); so the downloads themselves, not only their results, come after the first
// paint and take no processor time from it.
void HoldNoticesForFirstPaint();

}  // namespace orvo
