#pragma once
// Owners for the handles the Win32 back end takes from the system: kernel objects, GDI
// objects, memory device contexts, icons, a window's device context and a selection into
// a device context. Each frees (or restores) what it holds on every path out of a scope,
// early returns included, so no function has to remember the matching call.
#include <windows.h>

#include <cstdint>
#include <utility>

namespace orvo::os::win32 {

// One owned handle of type T, freed with Free. Null is "nothing held"; move-only.
template <typename T, typename Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T handle) : handle_(handle) {}
  ~Owned() { reset(); }
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  T get() const { return handle_; }
  explicit operator bool() const { return handle_ != T{}; }
  T release() { return std::exchange(handle_, T{}); }
  void reset(T handle = T{}) {
    if (handle_ != T{}) Free{}(handle_);
    handle_ = handle;
  }

 private:
  T handle_{};
};

struct FreeGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct FreeMemoryDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct FreeIcon {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

using GdiBitmap = Owned<HBITMAP, FreeGdiObject>;
using GdiFont = Owned<HFONT, FreeGdiObject>;
using GdiBrush = Owned<HBRUSH, FreeGdiObject>;
using GdiRegion = Owned<HRGN, FreeGdiObject>;
using MemoryDc = Owned<HDC, FreeMemoryDc>;
using IconHandle = Owned<HICON, FreeIcon>;

// A kernel object (file, process, snapshot). Some creators answer INVALID_HANDLE_VALUE,
// others null, on failure: both mean "nothing held".
class KernelHandle {
 public:
  explicit KernelHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~KernelHandle() { close(); }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  void close() {
    if (valid()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

// GetDC paired with ReleaseDC (a null window is the screen).
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for the scope; the previous one comes back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  // False when the object could not be selected (a bitmap selected elsewhere, say).
  bool ok() const { return previous_ && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A top-down 32-bit DIB section with its pixels, or nothing (out of GDI objects or memory).
inline GdiBitmap MakeDibSection(int width, int height, uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  GdiBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
  if (!memory) dib.reset();
  *bits = dib ? static_cast<uint32_t*>(memory) : nullptr;
  return dib;
}

}  // namespace orvo::os::win32
