// Raster timings, printed as "name: value unit" lines:
//   window_compose_ms  median time to compose a full 800 x 500 window: the main window skin
//                      drawn nine-sliced into the form picture, then 20 transparent labels
//                      with text painted through the control pipeline
//   glow_label_ms      median time to paint one 200 x 30 label with a glowing caption
//   blend_vs_memcpy    an 800 x 500 blend transfer (the message box skin tiled to that size)
//                      against a plain memcpy of the same bytes
// plus companions: the window stretched to 1000 x 600, and the blend of an opaque skin and
// of a picture whose every pixel is partly transparent (the worst case).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "graphics/transfer.h"
#include "platform/raster.h"
#include "support/sample_controls.h"
#include "ui/form.h"
#include "ui/lum_ui_utils.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

double MedianMs(int runs, const std::function<void()>& work) {
  work();  // warm caches, glyphs and bitmaps
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[static_cast<size_t>(runs / 2)];
}

// The skinned form's own surface: the skin stretched by nine-slice into a picture of the
// form's size whenever the size changes (as the skinned form does), copied on every paint.
class SkinnedSurface : public TWinControl {
 public:
  PngImage skin;
  TLumUIPadding split;
  void Rebuild() {
    surface_.SetSize(Width(), Height());
    surface_.Clear(0xFFFFFFFFu);
    const int w = skin.width(), h = skin.height(), W = Width(), H = Height();
    const int L = split.Left, T = split.Top, R = split.Right, B = split.Bottom;
    const Rect pairs[9][2] = {{{0, 0, L, T}, {0, 0, L, T}},
                              {{L, 0, R, T}, {L, 0, W + R - w, T}},
                              {{R, 0, w, T}, {W + R - w, 0, W, T}},
                              {{0, T, L, B}, {0, T, L, H + B - h}},
                              {{0, B, L, h}, {0, H + B - h, L, H}},
                              {{L, B, R, h}, {L, H + B - h, W + R - w, H}},
                              {{R, B, w, h}, {W + R - w, H + B - h, W, H}},
                              {{R, T, w, B}, {W + R - w, T, W, H + B - h}},
                              {{L, T, R, B}, {L, T, W + R - w, H + B - h}}};
    for (const auto& [from, to] : pairs) {
      StretchTransfer(surface_, to, surface_.bounds(), skin.view(), from, DrawMode::kBlend,
                      CombineMode::kMerge, Resampler::kLinear);
    }
  }
  void Paint(Canvas& canvas) override { canvas.Draw(0, 0, surface_.view()); }

 private:
  Bitmap32 surface_;
};

struct Window {
  TForm form;
  SkinnedSurface* surface;
  Window(int width, int height) {
    form.SetBounds(0, 0, width, height);
    surface = form.Make<SkinnedSurface>();
    surface->SetAlign(alClient);
    surface->skin = SkinPng("main_form");
    surface->split = TLumUIPadding(180, 60, 700, 400);
    for (int i = 0; i < 20; ++i) {
      auto* label = surface->Make<test::TextLabel>();
      label->Name = "lbl" + std::to_string(i);
      label->SetTransparent(true);
      label->SetBounds(190 + (i % 2) * 300, 70 + (i / 2) * 40, 280, 20);
      label->caption = "Plug-in name " + std::to_string(i) + " with its description";
    }
  }
  void Compose() {
    surface->Rebuild();
    form.PaintAll();
  }
};

}  // namespace
}  // namespace orvo

int main() {
  using namespace orvo;
  std::string error;
  auto raster = os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "bench_raster: %s\n", error.c_str());
    return 1;
  }
  os::InstallRaster(raster.get());

  Window window(800, 500);
  std::printf("window_compose_ms: %.3f ms\n", MedianMs(41, [&] { window.Compose(); }));
  Window stretched(1000, 600);
  std::printf("window_compose_1000x600_ms: %.3f ms\n", MedianMs(41, [&] { stretched.Compose(); }));

  TForm glow_form;
  glow_form.SetBounds(0, 0, 240, 60);
  auto* glow = glow_form.Make<test::TextLabel>();
  glow->Name = "lblGlow";
  glow->SetTransparent(true);
  glow->SetBounds(20, 15, 200, 30);
  glow->caption = "Orvo Plugin Manager";
  glow->glow = MakeColor(255, 200, 40);
  glow_form.PaintAll();
  std::printf("glow_label_ms: %.3f ms\n", MedianMs(101, [&] {
                glow->Invalidate();
                glow_form.Update();
              }));

  // The blend transfer against memcpy, for three sources: the message box skin assembled
  // to 800 x 500 (an opaque body inside translucent shadows and transparent corners: what a
  // layered window composes), the main window skin (opaque), and a picture whose every
  // pixel is partly transparent (the worst case: no pixel takes a shortcut).
  const size_t bytes = 800u * 500u * 4u;
  std::vector<uint8_t> a(bytes), b(bytes, 1);
  const double copy_ms = MedianMs(201, [&] {
    std::memcpy(a.data(), b.data(), bytes);
    b[a[bytes / 2] % bytes] ^= 1;  // keep the copy from being optimised away
  });
  Bitmap32 target(800, 500);
  target.Clear(0xFF204060u);
  const auto blend_ms = [&](const PixelView& source) {
    return MedianMs(201, [&] {
      BlockTransfer(target, 0, 0, target.bounds(), source, source.bounds(), DrawMode::kBlend,
                    CombineMode::kBlend);
    });
  };
  PngImage dialog_skin = SkinPng("msg_form");
  NinePng pieces;
  PngImage dialog;
  if (CutNinePng(dialog_skin, {5, 30}, {25, 35}, 255, clNone, pieces)) {
    if (auto assembled = AssembleNinePng(800, 500, pieces)) dialog = *assembled;
  }
  const PngImage main_skin = SkinPng("main_form");
  Bitmap32 translucent(800, 500);
  for (int y = 0; y < 500; ++y) {
    for (int x = 0; x < 800; ++x) {
      translucent.Row(y)[x] = MakeArgb(1 + (x + y) % 254, x & 255, y & 255, 90);
    }
  }
  const double dialog_ms = blend_ms(dialog.view());
  const double opaque_ms = blend_ms(main_skin.view());
  const double translucent_ms = blend_ms(translucent.view());
  std::printf("memcpy_800x500_ms: %.3f ms\n", copy_ms);
  std::printf("blend_800x500_ms: %.3f ms\n", dialog_ms);
  std::printf("blend_vs_memcpy: %.2f x\n", dialog_ms / copy_ms);
  std::printf("blend_opaque_skin_vs_memcpy: %.2f x\n", opaque_ms / copy_ms);
  std::printf("blend_translucent_vs_memcpy: %.2f x\n", translucent_ms / copy_ms);
  os::InstallRaster(nullptr);
  return 0;
}
