#pragma once
// The process-wide facts every catalogue asks for, computed once when a back end is put to
// use: whether we run on 64-bit Windows (so the WOW6432Node views must be scanned too),
// and where Program Files and the roaming application data are.
#include <memory>
#include <string>

#include "platform/platform.h"

namespace orvo {

// Installs the back end for the whole program (shared with the worker threads made while
// it is installed) and computes the values below from it. Null removes it.
void UseSystem(std::shared_ptr<os::Platform> platform);

// True on 64-bit Windows: a 32-bit process reporting WOW64 on an x64 or Itanium
// processor, and also the 64-bit build itself, which must still reach the 32-bit views.
bool IsWin64();
// With trailing backslash.
const std::string& ProgramFilesDir();
const std::string& AppDataDir();

}  // namespace orvo
