#pragma once
// The start-up guard: the program changes the machine-wide browser registrations, so it
// refuses to run when it may not open their key for all access.
#include "shell/startup_windows.h"

namespace orvo {

inline constexpr char kBrowserClientsKey[] = "SOFTWARE\\Clients\\StartMenuInternet\\";

// Opens HKEY_LOCAL_MACHINE\SOFTWARE\Clients\StartMenuInternet\ for KEY_ALL_ACCESS. Only
// "access denied" refuses: then the translated "ACCESSDENIED" message of section
// "Messages" goes to the plain message box and false comes back, and the caller asks the
// application to quit (posting the request, so the window creation still runs and the
// message loop ends on its first message). Any other result, a missing key too, is true.
bool CheckRegistryAccess(PlainMessageBox& message_box);

}  // namespace orvo
