// File icons through shell32 (ExtractIconEx, ExtractAssociatedIcon), turned into pixels
// with their alpha: icons with an alpha channel keep it; older icons get it from their
// AND mask.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_icons.h"

namespace orvo::os::win32 {
namespace {

std::vector<uint32_t> Bits(HDC dc, HBITMAP bitmap, int w, int h) {
  std::vector<uint32_t> out(size_t(w) * h);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  if (!GetDIBits(dc, bitmap, 0, h, out.data(), &info, DIB_RGB_COLORS)) out.clear();
  return out;
}

}  // namespace

std::optional<Pixels> FileIconPixels(std::string_view path, int index, bool associated,
                                     int canvas_size) {
  IconHandle icon;
  std::wstring wide = Wide(path);
  if (associated) {
    std::vector<wchar_t> buf(wide.begin(), wide.end());
    buf.resize(std::max<size_t>(buf.size() + 1, MAX_PATH), L'\0');
    WORD idx = static_cast<WORD>(index);
    icon.reset(ExtractAssociatedIconW(nullptr, buf.data(), &idx));
  } else {
    HICON extracted = nullptr;
    ExtractIconExW(wide.c_str(), index, &extracted, nullptr, 1);
    icon.reset(extracted);
  }
  if (!icon) return std::nullopt;

  ICONINFO info{};
  std::optional<Pixels> result;
  if (GetIconInfo(icon.get(), &info)) {
    // GetIconInfo hands over copies of both bitmaps: they are ours to free.
    const GdiBitmap color_bitmap(info.hbmColor), mask_bitmap(info.hbmMask);
    BITMAP bm{};
    HBITMAP shape = info.hbmColor ? info.hbmColor : info.hbmMask;
    GetObjectW(shape, sizeof bm, &bm);
    const int w = bm.bmWidth;
    const int h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;  // monochrome: mask + image
    std::vector<uint32_t> color, mask;
    if (w > 0 && h > 0) {
      const WindowDc screen(nullptr);
      if (info.hbmColor) color = Bits(screen.get(), info.hbmColor, w, h);
      mask = Bits(screen.get(), info.hbmMask, w, info.hbmColor ? h : h * 2);
    }
    if (w > 0 && h > 0 && mask.size() >= size_t(w) * h) {
      if (color.empty()) {  // monochrome icon: the lower half of the mask is the image
        color.assign(mask.begin() + size_t(w) * h, mask.end());
      }
      bool any_alpha = false;
      for (uint32_t c : color) any_alpha = any_alpha || (c >> 24) != 0;
      Pixels canvas{canvas_size, canvas_size,
                    std::vector<uint32_t>(size_t(canvas_size) * canvas_size, 0)};
      for (int y = 0; y < std::min(h, canvas_size); ++y) {
        for (int x = 0; x < std::min(w, canvas_size); ++x) {
          uint32_t c = color[size_t(y) * w + x];
          if (!any_alpha)
            c = (c & 0xFFFFFF) | ((mask[size_t(y) * w + x] & 0xFFFFFF) ? 0 : 0xFF000000u);
          canvas.argb[size_t(y) * canvas_size + x] = c;
        }
      }
      result = std::move(canvas);
    }
  }
  return result;
}

}  // namespace orvo::os::win32
