#pragma once
// Names for the notice checks' temporary files: the temporary folder in its long form,
// random file names, and the long form of any path.
#include <string>
#include <string_view>

namespace orvo {

// The user's temporary folder (Windows path) in its long form, ending in exactly one
// "\". When the long form can't be had (a component is missing) the folder as the system
// gives it; callers check that the folder exists before they write.
std::string GetTempDir();

// `count` letters a to z, each drawn uniformly; empty for a count of 0 or less. The
// generator is seeded afresh from the high-resolution clock on every call.
std::string RandomLetters(int count);

// The path with every component replaced by its long name as the file system reports it;
// empty when a component does not exist. A path without "\" (or whose only "\" is its
// first character) comes back as it is; a trailing "\" is kept.
std::string ExpandLongPath(std::string_view path);

}  // namespace orvo
