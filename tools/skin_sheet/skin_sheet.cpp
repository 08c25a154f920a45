// The contact sheet of the embedded skins: every picture with its name and size on a
// checkerboard (so transparency shows), first at 1x, then at 2x with nearest-pixel zoom.
//   skin_sheet <out.png>
#include <algorithm>
#include <cstdio>
#include <string>

#include "graphics/canvas.h"
#include "graphics/image_codecs.h"
#include "platform/raster.h"
#include "preview.h"
#include "ui/skin_resources.h"

namespace orvo {
namespace {

constexpr int kSheetWidth = 1680;
constexpr int kMargin = 16;
constexpr int kLabel = 16;

void Checker(Bitmap32& b, const Rect& r) {
  for (int y = std::max(r.top, 0); y < std::min(r.bottom, b.height()); ++y) {
    for (int x = std::max(r.left, 0); x < std::min(r.right, b.width()); ++x) {
      const bool dark = (((x - r.left) / 8) + ((y - r.top) / 8)) % 2 == 1;
      // Mid greys, so white glyphs meant for the navy bands show as well as dark ones.
      b.Row(y)[x] = dark ? 0xFFA9AFB8u : 0xFFC3C8CFu;
    }
  }
}

int LabelWidth(const std::string& label) {
  Bitmap32 scratch(1, 1);
  scratch.canvas().font.height = -11;
  return scratch.canvas().TextWidth(label);
}

// Lays the pictures out in rows; with `paint` set draws them, else only measures.
int Layout(Bitmap32* sheet, int top, int zoom, const char* title) {
  int x = kMargin, y = top + 28, row_height = 0;
  if (sheet) {
    Canvas& c = sheet->canvas();
    c.font.height = -16;
    c.font.style = fsBold;
    c.font.color = 0x483018;
    c.TextOut(kMargin, top + 4, title);
    c.font.style = 0;
    c.font.height = -11;
  }
  for (std::string_view name : SkinNames()) {
    const PngImage png = SkinPng(name);
    const int w = png.width() * zoom, h = png.height() * zoom;
    const std::string label =
        std::string(name) + "  " + std::to_string(png.width()) + "x" + std::to_string(png.height());
    const int cell_w = std::max(w, LabelWidth(label)) + kMargin;
    if (x + cell_w > kSheetWidth && x > kMargin) {
      x = kMargin;
      y += row_height + kMargin;
      row_height = 0;
    }
    if (sheet) {
      Canvas& c = sheet->canvas();
      c.font.color = 0x404040;
      c.TextOut(x, y, label);
      const Rect area = RectOfSize(x, y + kLabel, w, h);
      Checker(*sheet, area);
      StretchTransfer(*sheet, area, sheet->bounds(), png.view(), png.bounds(), DrawMode::kBlend,
                      CombineMode::kMerge, Resampler::kNearest);
    }
    row_height = std::max(row_height, h + kLabel);
    x += cell_w;
  }
  return y + row_height + kMargin;
}

}  // namespace
}  // namespace orvo

int main(int argc, char** argv) {
  using namespace orvo;
  if (argc != 2) {
    std::fprintf(stderr, "usage: skin_sheet <out.png>\n");
    return 2;
  }
  std::string error;
  auto raster = os::OpenRasterSystem(&error);
  if (!raster) {
    std::fprintf(stderr, "skin_sheet: %s\n", error.c_str());
    return 1;
  }
  os::InstallRaster(raster.get());
  // Mock-ups first (main window, message box, menu side by side), then every picture at
  // 1x and at 2x.
  const Bitmap32 main_window = PreviewMainWindow();
  const Bitmap32 message = PreviewMessageBox();
  const Bitmap32 menu = PreviewMenu();
  const int mock_height = 40 + std::max({main_window.height(), message.height(), menu.height()});
  const int half = Layout(nullptr, mock_height, 1, "");
  const int height = Layout(nullptr, half, 2, "");
  Bitmap32 sheet(kSheetWidth, height);
  sheet.Clear(0xFFFFFFFFu);
  Canvas& c = sheet.canvas();
  c.font.height = -16;
  c.font.style = fsBold;
  c.font.color = 0x483018;
  c.TextOut(kMargin, 4, "Put together");
  c.Draw(kMargin, 28, main_window.view());
  c.Draw(kMargin + 820, 28, message.view());
  c.Draw(kMargin + 820 + message.width() + 20, 28, menu.view());
  Layout(&sheet, mock_height, 1, "Skins at 1x");
  Layout(&sheet, half, 2, "Skins at 2x");
  const bool ok = SavePngFile(argv[1], sheet);
  os::InstallRaster(nullptr);
  if (!ok) std::fprintf(stderr, "skin_sheet: cannot write %s\n", argv[1]);
  return ok ? 0 : 1;
}
