#pragma once
// Picture files in and out: PNG through libpng (both ways), JPEG through libjpeg (read
// only), and the Windows BMP and ICO formats the picture properties of window layouts may
// hold. Untrusted bytes never crash: anything unreadable comes back as an empty result.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/png_image.h"

namespace orvo {

std::optional<PngImage> DecodePng(std::span<const uint8_t> bytes);
// RGBA when the picture has alpha, else RGB; empty on failure or for an empty picture.
std::vector<uint8_t> EncodePng(const PngImage& image);
// A bitmap is written as RGBA.
std::vector<uint8_t> EncodePng(const Bitmap32& bitmap);

// Opaque RGB pixels (colour type kRgb).
std::optional<PngImage> DecodeJpeg(std::span<const uint8_t> bytes);
// Uncompressed 1/4/8/24/32-bit bitmaps, bottom-up or top-down.
std::optional<PngImage> DecodeBmp(std::span<const uint8_t> bytes);
// The largest entry of an icon file (PNG or 32/24-bit DIB entries).
std::optional<PngImage> DecodeIco(std::span<const uint8_t> bytes);

// Whole files by UTF-8 path; empty / false on failure. Writing replaces the file through a
// temporary file in the same folder, so a failure never leaves half a picture.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);

std::optional<PngImage> ReadPngFile(const std::string& path);
bool SavePngFile(const std::string& path, const PngImage& image);
bool SavePngFile(const std::string& path, const Bitmap32& bitmap);

// The picture as a PNG image of colour type RGBA.
PngImage BitmapToPng(const Bitmap32& bitmap);
// A bitmap (heap or DIB, as the back end allocates) holding the picture's pixels.
Bitmap32 PngToBitmap(const PngImage& image);

}  // namespace orvo
