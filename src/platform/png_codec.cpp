#include "platform/png_codec.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace orvo::os {
namespace {

constexpr int kMaxSide = 8192;

struct ReadCursor {
  std::string_view bytes;
  size_t pos = 0;
};

void ReadFromCursor(png_structp png, png_bytep out, png_size_t length) {
  auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
  if (cursor->bytes.size() - cursor->pos < length) png_error(png, "truncated");
  std::memcpy(out, cursor->bytes.data() + cursor->pos, length);
  cursor->pos += length;
}

void WriteToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void FlushNothing(png_structp) {}
void SilentWarning(png_structp, png_const_charp) {}

}  // namespace

std::optional<Pixels> DecodePng(std::string_view bytes) {
  if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0) {
    return std::nullopt;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, SilentWarning);
  if (!png) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  ReadCursor cursor{bytes, 0};
  Pixels out;
  std::vector<png_bytep> rows;
  std::vector<unsigned char> rgba;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return std::nullopt;
  }
  png_set_read_fn(png, &cursor, ReadFromCursor);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_read_info(png, info);
  png_uint_32 w = 0, h = 0;
  int depth = 0, color = 0;
  png_get_IHDR(png, info, &w, &h, &depth, &color, nullptr, nullptr, nullptr);
  // Everything becomes 8-bit RGBA.
  if (color == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (color == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_strip_16(png);
  if (color == PNG_COLOR_TYPE_GRAY || color == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  rgba.resize(size_t(w) * h * 4);
  rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y) rows[y] = rgba.data() + size_t(y) * w * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);

  out.width = static_cast<int>(w);
  out.height = static_cast<int>(h);
  out.argb.resize(size_t(w) * h);
  for (size_t i = 0; i < out.argb.size(); ++i) {
    const unsigned char* p = &rgba[i * 4];
    out.argb[i] = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
  }
  return out;
}

std::optional<std::string> EncodePng(const Pixels& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0 ||
      pixels.argb.size() != size_t(pixels.width) * size_t(pixels.height)) {
    return std::nullopt;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, SilentWarning);
  if (!png) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  std::string out;
  std::vector<unsigned char> row(size_t(pixels.width) * 4);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return std::nullopt;
  }
  png_set_write_fn(png, &out, WriteToString, FlushNothing);
  png_set_IHDR(png, info, pixels.width, pixels.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      const uint32_t c = pixels.argb[size_t(y) * pixels.width + x];
      row[x * 4 + 0] = static_cast<unsigned char>(c >> 16);
      row[x * 4 + 1] = static_cast<unsigned char>(c >> 8);
      row[x * 4 + 2] = static_cast<unsigned char>(c);
      row[x * 4 + 3] = static_cast<unsigned char>(c >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool LooksLikePng(std::string_view bytes) {
  return bytes.size() >= 8 && png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) == 0;
}

}  // namespace orvo::os
