#pragma once
// The Firefox profiles of a user, from profiles.ini in the Firefox folder
// (toolkit/profile/nsToolkitProfileService.cpp): one [ProfileN] section per profile with
// Name=, Path= and IsRelative= (1: Path lies below the Firefox folder, with forward
// slashes; 0: Path is a full path), and since Firefox 67 one [Install<hash>] section per
// installed copy of the browser whose Default= names (by its Path=) the profile that copy
// starts with.
#include <string>
#include <vector>

namespace orvo {

struct FirefoxProfile {
  std::string name;    // Name=, as the browser's profile manager shows it
  std::string folder;  // the profile folder, ending in a backslash
};

struct FirefoxProfiles {
  std::vector<FirefoxProfile> profiles;  // in file order; profiles whose Path is unusable left out
  // The profile the browser starts with: the first [Install…] section's Default= that names
  // a listed profile; -1 when none does (older Firefox, or no installs recorded).
  int install_default = -1;
  // What the old rule takes: Path= of [Profile0] with backslashes, always meant below the
  // Firefox folder; empty when missing or when it climbs out of that folder.
  std::string profile0_path;
};

// Reads `firefox_folder` + "profiles.ini" (the folder ends in a backslash). Paths that
// climb out of their base with ".." name no profile.
FirefoxProfiles ReadFirefoxProfiles(const std::string& firefox_folder);

}  // namespace orvo
