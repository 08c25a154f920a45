// make-demo-image: writes the demo Windows image the tests, the CLI demo and the Wine demo
// use (fixtures/demo), or a large synthetic one for benchmarks.
//
//   make-demo-image OUT                      the demo image
//   make-demo-image OUT --legacy             Firefox with an old profile's database
//   make-demo-image OUT --modern             Chrome, Edge and Opera as current versions keep them
//   make-demo-image OUT --icons              the Firefox icons the demo site serves
//   make-demo-image OUT --synthetic N [--preferences-mb M]
//                                            Chrome with N extensions, Preferences >= M MB
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "demo_images.h"
#include "modern_image.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "--help") {
    std::fputs(
        "usage: make-demo-image OUT [--legacy | --modern | --icons | --synthetic N "
        "[--preferences-mb M]]\n",
        argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const fs::path out = argv[1];
  int synthetic = 0;
  const std::string mode = argc > 2 ? argv[2] : "";
  double megabytes = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--synthetic")
      synthetic = std::atoi(argv[i + 1]);
    else if (a == "--preferences-mb")
      megabytes = std::atof(argv[i + 1]);
  }
  std::error_code ec;
  fs::remove_all(out, ec);
  fs::create_directories(out);
  try {
    if (mode == "--legacy")
      orvo::tools::WriteLegacyDemoImage(out);
    else if (mode == "--modern")
      orvo::tools::WriteModernDemoImage(out);
    else if (mode == "--icons")
      orvo::tools::WriteFirefoxIcons(out);
    else if (synthetic > 0)
      orvo::tools::WriteSyntheticImage(out, synthetic, megabytes);
    else
      orvo::tools::WriteDemoImage(out);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-demo-image: %s\n", e.what());
    return 1;
  }
  return 0;
}
