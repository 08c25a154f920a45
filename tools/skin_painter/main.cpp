// The skin painter: paints every skin picture of the product from code, so the art can be
// regenerated and reviewed like any other source.
//   skin_painter write <folder>   writes <name>.png for every skin
//   skin_painter check <folder>   exits 1 when a picture there differs from what this
//                                 program paints (the build checks the committed art)
//   skin_painter icon <file>      writes the program's icon (.ico, PNG entries of 16, 24,
//                                 32, 48 and 256 pixels)
//   skin_painter site <folder>    writes the demo site's advert and newsletter pictures
//   skin_painter site-check <folder>  exits 1 when one there differs
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

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

namespace {

// An icon file holding PNG pictures, as Windows reads them since Vista.
bool WriteIcon(const std::string& path) {
  using namespace orvo;
  const int sizes[] = {16, 24, 32, 48, 256};
  std::vector<std::vector<uint8_t>> pictures;
  for (int size : sizes) pictures.push_back(EncodePng(painter::Logo(size)));
  std::vector<uint8_t> out;
  const auto put16 = [&](uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
  };
  const auto put32 = [&](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  put16(0);
  put16(1);
  put16(static_cast<uint32_t>(pictures.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(pictures.size());
  for (size_t i = 0; i < pictures.size(); ++i) {
    out.push_back(sizes[i] >= 256 ? 0 : static_cast<uint8_t>(sizes[i]));
    out.push_back(sizes[i] >= 256 ? 0 : static_cast<uint8_t>(sizes[i]));
    out.push_back(0);
    out.push_back(0);
    put16(1);
    put16(32);
    put32(static_cast<uint32_t>(pictures[i].size()));
    put32(offset);
    offset += static_cast<uint32_t>(pictures[i].size());
  }
  for (const auto& picture : pictures) out.insert(out.end(), picture.begin(), picture.end());
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orvo;
  const std::string command = argc == 3 ? argv[1] : "";
  if (command != "write" && command != "check" && command != "icon" && command != "site" &&
      command != "site-check") {
    std::fprintf(stderr,
                 "usage: skin_painter write|check|site|site-check <folder> | icon <file>\n");
    return 2;
  }
  std::string error;
  auto raster = os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "skin_painter: %s\n", error.c_str());
    return 1;
  }
  os::InstallRaster(raster.get());
  if (command == "icon") {
    const bool ok = WriteIcon(argv[2]);
    if (!ok) std::fprintf(stderr, "skin_painter: cannot write %s\n", argv[2]);
    os::InstallRaster(nullptr);
    return ok ? 0 : 1;
  }
  const bool write = command == "write" || command == "site";
  const bool site = command == "site" || command == "site-check";
  const std::string folder = argv[2];
  int failures = 0;
  for (const auto& skin : site ? painter::SitePictures() : painter::AllSkins()) {
    const PngImage png = skin.paint();
    const std::string path = folder + "/" + skin.name + ".png";
    if (write) {
      if (!SavePngFile(path, png)) {
        std::fprintf(stderr, "skin_painter: cannot write %s\n", path.c_str());
        ++failures;
      }
      continue;
    }
    const auto stored = ReadPngFile(path);
    if (!stored || !stored->SamePixels(png)) {
      std::fprintf(stderr, "skin_painter: %s differs from what the painter draws\n", path.c_str());
      ++failures;
    }
  }
  os::InstallRaster(nullptr);
  return failures == 0 ? 0 : 1;
}
