// The installed raster back end and the heap pixel storage every build has.
#include "platform/raster.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace orvo::os {
namespace {

RasterSystem* g_raster = nullptr;

class HeapBlock : public PixelBlock {
 public:
  explicit HeapBlock(uint32_t* pixels) : pixels_(pixels) {}
  ~HeapBlock() override { std::free(pixels_); }
  uint32_t* pixels() override { return pixels_; }

 private:
  uint32_t* pixels_;
};

class HeapStorage : public PixelStorage {
 public:
  std::unique_ptr<PixelBlock> Allocate(int width, int height) override {
    if (width <= 0 || height <= 0) return nullptr;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (count > (SIZE_MAX / 4) / 2) return nullptr;
    void* memory = std::calloc(count, sizeof(uint32_t));
    if (!memory) return nullptr;
    return std::make_unique<HeapBlock>(static_cast<uint32_t*>(memory));
  }
};

}  // namespace

PixelStorage& HeapPixelStorage() {
  static HeapStorage storage;
  return storage;
}

void InstallRaster(RasterSystem* system) { g_raster = system; }
bool IsRasterInstalled() { return g_raster != nullptr; }

PixelStorage& CurrentPixelStorage() { return g_raster ? g_raster->pixels() : HeapPixelStorage(); }

TextRenderer& CurrentTextRenderer() {
  if (!g_raster) {
    std::fputs("orvo: text drawn before a raster back end was installed\n", stderr);
    std::abort();
  }
  return g_raster->text();
}

}  // namespace orvo::os
