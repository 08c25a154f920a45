#pragma once
// The user's settings: one record for the whole run, read at start from
// "<application data>\Orvo Plugin Manager\OrvoPM.ini" (section "General") and written
// back at three moments only: a language pick, a toggle of the menu's update or news
// entry, and the end of the run. Settings go through the system's profile functions (the
// portable reader and writer natively), in the settings folder of the machine the
// program runs on (the Windows image natively).
#include <cstdint>
#include <string>

namespace orvo {

struct TAppConfig {
  std::string Language;     // a base name from the Languages folder, e.g. "English"
  bool CheckNews = false;   // look for news at start
  bool AutoUpdate = false;  // look for a newer version at start
  // The news check's last seen news number. The news check changes it through a
  // reference; it must do so on the main thread (its completion callback runs there).
  int32_t MSGID = 0;
};

extern TAppConfig AppConfig;

// "<CSIDL_APPDATA>\Orvo Plugin Manager" and the file in it; both empty when the system
// names no application-data folder (then nothing is read or written, rather than a
// folder appearing wherever the program was started from).
std::string ConfigFolder();
std::string ConfigFile();

// Zeroes AppConfig and fills it from the file. Without the folder: both checks on and the
// detected language, nothing written. With it: "Language" (empty means detect again),
// "CheckNews" and "AutoUpdate" (1 when absent or not a number; any other non-zero number
// is on), "MSGID" (0 when absent or not a number).
void LoadConfig();
// Creates the folder and writes the four entries in that order. False when any of them
// could not be written (nobody is told; a later save tries again).
bool SaveConfig();

}  // namespace orvo
