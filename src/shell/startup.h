#pragma once
// The program's main routine, in its binding order:
//
//   1  the instance record is opened (and the rating session exists on first use)
//   2  a second instance restores the first one and ends here, making no window
//   3  settings   4  language file   5  registry access (refusal: a plain message box,
//      then the quit request is posted, so 6 to 10 still run and the loop ends at once)
//   6  application title, the main window on the taskbar   7  the shared image module
//   8  the main window (translated; its menu)   9  its handle into the instance record
//   10 the message loop until the main window closes
//
// Then the main window is destroyed, which saves the settings, and the caller ends the
// process at once (worker threads are cut off, nothing else is cleaned up).
#include <functional>
#include <optional>
#include <string>

#include "shell/startup_windows.h"

namespace orvo {

class TfrmXOBMain;

inline constexpr char kApplicationTitle[] = "Orvo Plug-in Manager";

struct StartupOptions {
  // Use this language instead of the settings' one (as if the settings named it).
  std::optional<std::string> language;
  // The main window's size instead of 800 x 500.
  int width = 0;
  int height = 0;
  // Called inside the message loop once the main window has been shown and painted.
  std::function<void(TfrmXOBMain&)> on_shown;
  // Called when another start (or the system) asked the application window to restore.
  std::function<void()> on_restore;
  // The system's by default; tests give their own.
  InstanceWindows* instance_windows = nullptr;
  PlainMessageBox* message_box = nullptr;
};

struct StartupOutcome {
  bool second_instance = false;  // another instance was woken; no window was made
  bool refused = false;          // the registry access check refused
  bool ran = false;              // the main window existed and the loop ran
};

// Needs an installed platform, raster system and window system (on the calling thread,
// which is the UI thread). The instance record is opened here when it isn't yet.
StartupOutcome RunProgram(const StartupOptions& options = {});

}  // namespace orvo
