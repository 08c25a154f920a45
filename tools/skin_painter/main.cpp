// The skin painter: paints every skin picture of the product from code, so the art can be
// regenerated and reviewed like any other source.
//   skin_painter write <folder>   writes <name>.png for every skin
//   skin_painter check <folder>   exits 1 when a picture there differs from what this
//                                 program paints (the build checks the committed art)
#include <cstdio>
#include <string>

#include "graphics/image_codecs.h"
#include "platform/raster.h"
#include "skins.h"

namespace orvo::painter {

std::vector<SkinDef> AllSkins() {
  std::vector<SkinDef> all;
  AddWindowSkins(all);
  AddListSkins(all);
  AddIconSkins(all);
  AddDialogSkins(all);
  AddControlSkins(all);
  return all;
}

}  // namespace orvo::painter

int main(int argc, char** argv) {
  using namespace orvo;
  if (argc != 3 || (std::string(argv[1]) != "write" && std::string(argv[1]) != "check")) {
    std::fprintf(stderr, "usage: skin_painter write|check <folder>\n");
    return 2;
  }
  std::string error;
  auto raster = os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "skin_painter: %s\n", error.c_str());
    return 1;
  }
  os::InstallRaster(raster.get());
  const bool write = std::string(argv[1]) == "write";
  const std::string folder = argv[2];
  int failures = 0;
  for (const auto& skin : painter::AllSkins()) {
    const PngImage png = skin.paint();
    const std::string path = folder + "/" + skin.name + ".png";
    if (write) {
      if (!SavePngFile(path, png)) {
        std::fprintf(stderr, "skin_painter: cannot write %s\n", path.c_str());
        ++failures;
      }
      continue;
    }
    const auto stored = LoadPngFile(path);
    if (!stored || !stored->SamePixels(png)) {
      std::fprintf(stderr, "skin_painter: %s differs from what the painter draws\n",
                   path.c_str());
      ++failures;
    }
  }
  os::InstallRaster(nullptr);
  return failures == 0 ? 0 : 1;
}
