#pragma once
// Is a browser running, and closing it.
#include <cstdint>
#include <string_view>

namespace orvo {

// Id of the first process whose executable name is exe_name, compared without regard to
// letter case as Windows compares file names ("CHROME.EXE" is Chrome running); 0 when none.
uint32_t FindProcessByName(std::string_view exe_name);
// Ends every process of that name (letter case aside).
void KillProcessesByName(std::string_view exe_name);

}  // namespace orvo
