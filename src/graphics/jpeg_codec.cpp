// JPEG reading through libjpeg. libjpeg reports fatal errors by calling an exit routine;
// ours jumps back to the decoder with longjmp, and no C++ object with a destructor lives
// between the setjmp and the library's frames, so the jump skips nothing that needs
// cleaning up (the output buffer is plain malloc memory released on every path).
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "graphics/image_codecs.h"
#include "platform/picture_limits.h"

namespace orvo {
namespace {

constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr) {}  // warnings are not worth a word on stderr

// Decodes into a malloc'd RGB buffer; 0 on failure.
bool DecodeRgb(const uint8_t* data, size_t size, unsigned char** out, int* width, int* height) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  unsigned char* volatile buffer = nullptr;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.output_message = OnMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    std::free(buffer);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  // The sides are checked before libjpeg allocates its buffers (a progressive picture's
  // coefficients for the whole frame): a hundred bytes can announce 17000 x 2000 pixels.
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width == 0 ||
      info.image_height == 0 || info.image_width > os::kMaxPictureSide ||
      info.image_height > os::kMaxPictureSide) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const uint64_t pixels = static_cast<uint64_t>(info.output_width) * info.output_height;
  if (pixels == 0 || pixels > kMaxPixels || info.output_components != 3) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  const size_t stride = static_cast<size_t>(info.output_width) * 3;
  buffer = static_cast<unsigned char*>(std::malloc(stride * info.output_height));
  if (!buffer) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = buffer + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  *width = static_cast<int>(info.output_width);
  *height = static_cast<int>(info.output_height);
  jpeg_destroy_decompress(&info);
  *out = buffer;
  return true;
}

}  // namespace

std::optional<PngImage> DecodeJpeg(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
  unsigned char* rgb = nullptr;
  int width = 0, height = 0;
  if (!DecodeRgb(bytes.data(), bytes.size(), &rgb, &width, &height)) return std::nullopt;
  PngImage image(width, height, PngColorType::kRgb);
  for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
    image.pixels()[i] = MakeArgb(255, rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
  }
  std::free(rgb);
  return image;
}

}  // namespace orvo
