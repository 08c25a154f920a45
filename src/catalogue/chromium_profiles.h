#pragma once
// The profiles of a Chromium-family browser. Every profile is a folder of the browser's
// "User Data" folder; the file "Local State" beside them lists them
// (profile.info_cache, keyed by folder name, with the name the browser shows) and names
// the one used last (profile.last_used), which is the one a new window opens with
// (chrome/browser/profiles/profile_attributes_storage.cc, chrome/common/pref_names.h).
// A browser of the old single-profile layout (Opera before it took up profiles) keeps
// Preferences in the data folder itself.
#include <string>
#include <vector>

#include "catalogue/browser_app.h"

namespace orvo {

struct ChromiumProfileSet {
  // In the order Local State lists them; only those whose folder exists.
  std::vector<TBrowserProfile> profiles;
  // The one a catalogue made without a profile shows: the last used when it is listed,
  // else "Default" when listed, else the first; empty when there is none.
  std::string shown;
  // The data folder is itself the one profile (named "Default"; old Opera).
  bool flat = false;
  // The UI language chosen in the browser (Local State intl.app_locale), empty when none.
  std::string app_locale;
};

// `data_dir` ends in a backslash. With `flat_allowed`, a data folder that holds
// Preferences and no "Default" profile is read as the old single-profile layout.
ChromiumProfileSet ReadChromiumProfiles(const std::string& data_dir, bool flat_allowed);

// The folder of a profile the set lists (ending in a backslash); empty for any other name.
std::string ChromiumProfileFolder(const ChromiumProfileSet& set, const std::string& data_dir,
                                  const std::string& name);

}  // namespace orvo
