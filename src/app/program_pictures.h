#pragma once
// OrvoPM's pictures of its own windows on the headless screen (--png, --news-png): each is
// taken once what it shows has settled, so the same image and service give the same
// picture on every run, and the program then ends as the user would end it. The Windows
// build has no headless screen and refuses both options.
#include <cstdint>
#include <string>

namespace orvo {

namespace os {
class WindowSystem;
}
class TForm;
class TfrmXOBMain;

// Shows the tab of browser `kind` (0: the one shown), then waits, handling messages,
// until its add-ons' ratings (at most 10 s), the advert and its picture (at most 10 s)
// and the web icons (at most 2 s) have arrived or failed. Native build only.
void SettleMainWindow(TfrmXOBMain& main, uint8_t kind);

// The form's picture into a PNG file; false (with a message) when it can't be written or
// there is no headless screen.
bool SaveWindowPicture(os::WindowSystem& windows, TForm& form, const std::string& file);

// Looks every 100 ms for the news window; once it has settled its picture goes to
// `file`, or after 30 s without one the run fails; either way the main window then
// closes. `code` (the exit code) becomes 1 on a failure and must outlive the run.
void TakeNewsPictureWhenSettled(os::WindowSystem& windows, const std::string& file, int& code);

}  // namespace orvo
