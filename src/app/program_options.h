#pragma once
// OrvoPM's command line (see program_main.cpp for what each option does). Parsed once at
// start; a bad option or a missing value ends the program with the usage text.
#include <cstdint>
#include <optional>
#include <string>

#include "app/program_ratings.h"

namespace orvo {

struct ProgramOptions {
  std::string image;     // --image: the Windows image folder (sandbox back end)
  std::string png;       // --png: the main window's picture
  std::string news_png;  // --news-png: the news window's picture
  std::string lang;
  std::string trace;
  std::string site;                       // --site: the notice site instead of the built-in one
  std::optional<RatingsRequest> ratings;  // --ratings: the ratings window's picture
  std::string smoke;
  bool smoking = false;
  uint8_t tab = 0;  // browser kind; 0: the first tab
  int width = 0;
  int height = 0;
};

// Prints the usage text to stderr; returns the exit code for a bad command line.
int ProgramUsage();
// False for an unknown option, a missing value or a value out of range.
bool ParseProgramOptions(int argc, char** argv, ProgramOptions& o);

}  // namespace orvo
