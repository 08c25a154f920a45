// Reading OrvoPM's command line.
#include "app/program_options.h"

#include <cstdio>

#include "platform/integer_text.h"

namespace orvo {

int ProgramUsage() {
  std::fputs(
      "usage: OrvoPM [--image DIR] [--png FILE [--size WxH] [--lang NAME] "
      "[--tab chrome|ie|firefox|opera]\n"
      "              [--ratings BROWSER:ADDON [--ratings-tab reviews|mine]]] [--news-png FILE]\n"
      "              [--smoke DIR] [--trace FILE] [--site URL]\n",
      stderr);
  return 2;
}

bool ParseProgramOptions(int argc, char** argv, ProgramOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (arg == "--image") {
      o.image = value;
    } else if (arg == "--png") {
      o.png = value;
    } else if (arg == "--news-png") {
      o.news_png = value;
    } else if (arg == "--site") {
      o.site = value;
    } else if (arg == "--lang") {
      o.lang = value;
    } else if (arg == "--trace") {
      o.trace = value;
    } else if (arg == "--ratings") {
      const bool mine = o.ratings && o.ratings->my_review;
      o.ratings = ParseRatingsRequest(value);
      if (!o.ratings) return false;
      o.ratings->my_review = mine;
    } else if (arg == "--ratings-tab") {
      if (value != "reviews" && value != "mine") return false;
      if (!o.ratings) o.ratings = RatingsRequest{};
      o.ratings->my_review = value == "mine";
    } else if (arg == "--smoke") {
      o.smoking = true;
      o.smoke = value == "-" ? "" : value;  // "-": no state files
    } else if (arg == "--tab") {
      const char* names[] = {"", "chrome", "ie", "firefox", "opera"};
      o.tab = 0;
      for (uint8_t kind = 1; kind <= 4; ++kind) {
        if (value == names[kind]) o.tab = kind;
      }
      if (o.tab == 0) return false;
    } else if (arg == "--size") {
      if (!ParseSize(value, o.width, o.height) || o.width < 100 || o.height < 100 ||
          o.width > 4096 || o.height > 4096) {
        return false;
      }
    } else {
      return false;
    }
  }
  // A tab without an add-on, or a ratings picture without a file, asks for nothing.
  if (o.ratings && (o.ratings->browser.empty() || o.png.empty())) return false;
  return true;
}

}  // namespace orvo
