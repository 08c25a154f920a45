#pragma once
// One running instance per user logon. The first instance leaves the handles of its
// application window (slot 0) and its main window (slot 1) in a named block of shared
// memory; a second start finds them, restores the first instance and brings its main
// window to the front, and ends. The block is read and written without a lock: two
// instances started at the same moment may both run.
//
//   offset 0  4 bytes  application window of the first instance (0: none yet)
//   offset 4  4 bytes  main window of the first instance (0: not created yet)
//
// The main routine calls OpenInstanceMemory before anything else, CheckPreviousInstance
// with its application window, and RegisterMainWindow once the main window exists. The
// slots are never cleared; they go with the block when the last process holding it ends.
#include <string_view>

#include "shell/startup_windows.h"

namespace orvo {

inline constexpr char kInstanceMemoryName[] = "{58E136B7-93CE-4215-A1AE-58C25222371D}";
inline constexpr size_t kInstanceMemorySize = 8;

// Opens the named block, creating it with both slots 0. When it can't be opened, created
// or mapped, the program runs without single-instance protection. Another name is for
// tests only.
void OpenInstanceMemory(std::string_view name = kInstanceMemoryName);
// True when another instance is running and has been sent SC_RESTORE (and, when its main
// window exists, brought to the top of the window order); false when this process is the
// first (it then owns slot 0) or the block is unavailable.
bool CheckPreviousInstance(WindowHandle32 application_window, InstanceWindows& windows);
// Writes slot 1; nothing when the block is unavailable.
void RegisterMainWindow(WindowHandle32 main_window);
void CloseInstanceMemory();

}  // namespace orvo
