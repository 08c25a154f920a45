#pragma once
// Deleting an add-on's files and saying what really happened. The shell's delete is one
// opaque call: when it stops half way (a file in use, a file it may not remove) the files
// it took first are gone for good. The catalogues must not report such a delete as done,
// nor as nothing done: the user is told which folder is now incomplete.
#include <string_view>

#include "platform/file_system.h"

namespace orvo {

// Removes `path` (a file or a folder tree) with `remove` (one of the shell helpers), then
// looks: success when nothing is left at the path (also when nothing was there). Else
// the error names the path, says whether it is untouched or partly deleted (how many of
// its files went, the first of them by name), and which of the files left are in use.
os::WriteResult RemoveForGood(std::string_view path, bool (*remove)(std::string_view));

}  // namespace orvo
