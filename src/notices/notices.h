#pragma once
// The online notices as the program wires them in: the main menu's hooks start the news
// and update checks (shell/main_menu.h), and the main window's advert area gets its
// presenter. The notices sit above the shell (they use its translated message box, its
// language font and settings), so the program installs them at start-up.
namespace orvo {

// MenuChecks().StartNewsCheck and StartUpdateCheck start the checks of this layer, and
// MainWindowAdvert() hangs an advert presenter (TOrvoAd) on the main window's imgad. For
// the start-up: the notices hold everything until the main window has painted once.
void InstallNoticeChecks();

// No advert presenter is waiting for its description or a picture (the program's --png
// waits for this, so that the picture shows the advert).
bool AdvertsSettled();

}  // namespace orvo
