#pragma once
// The modern demo image (fixtures/modern): a Windows 11 machine whose Chrome, Edge and
// Opera keep their profiles as current versions do.
#include <filesystem>

namespace orvo::tools {

// Chrome with two profiles ("Person 1" and "Work"): extension entries in Secure
// Preferences with MACs and, beside them, older unguarded ones in Preferences (with
// "state", a disable_reasons list, the old integer mask); localised names; an unpacked
// extension; one installed by policy; one blocked by Chrome's policy for this user. Edge
// with an extension its computer-wide policy blocks. Opera in its current layout (a
// Default profile folder). The user's interface language is British English.
void WriteModernDemoImage(const std::filesystem::path& root);

}  // namespace orvo::tools
