#pragma once
// Is a browser running, and closing it.
#include <cstdint>
#include <string_view>

namespace orvo {

// Id of the first process whose executable name equals exe_name exactly (letter case
// counts), 0 when none.
uint32_t FindProcessByName(std::string_view exe_name);
// Ends every process of that name.
void KillProcessesByName(std::string_view exe_name);

}  // namespace orvo
