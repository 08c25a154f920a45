#pragma once
// The browser catalogues: the four the window shows, in display order (Chrome, Internet
// Explorer, Firefox, Opera, with the installed ones first), and one catalogue of any
// browser for any of its profiles.
#include <memory>
#include <string>
#include <vector>

#include "catalogue/browser_app.h"

namespace orvo {

using BrowserList = std::vector<std::unique_ptr<TBrowserAppBase>>;

// Appends exactly four catalogues, each on the profile its browser opens with.
void BuildBrowserList(BrowserList& list);

// Appends the catalogues of Chromium's relatives orvopm knows beside the window's four:
// Microsoft Edge, Brave and Vivaldi, installed or not.
void AddChromiumRelatives(BrowserList& list);

// The catalogue of one browser kind for one of its profiles (a Name from its Profiles;
// empty: the one the browser opens with), its registration read when the browser is
// installed. A profile the browser does not list gives a catalogue with an empty
// ProfileName and no records. Null for an unknown kind.
std::unique_ptr<TBrowserAppBase> MakeCatalogue(uint8_t kind, const std::string& profile = {});

}  // namespace orvo
