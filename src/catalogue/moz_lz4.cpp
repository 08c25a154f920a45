#include "catalogue/moz_lz4.h"

#include <lz4.h>

#include <cstdint>
#include <limits>

namespace orvo {

std::optional<std::string> DecodeMozLz4(std::string_view file, std::string* why) {
  constexpr size_t kHeader = kMozLz4Magic.size() + 4;
  if (file.size() < kHeader || file.substr(0, kMozLz4Magic.size()) != kMozLz4Magic) {
    *why = "not a mozLz40 file (its first bytes are not \"mozLz40\" and a NUL)";
    return std::nullopt;
  }
  const auto byte = [&](size_t i) {
    return uint32_t(static_cast<unsigned char>(file[kMozLz4Magic.size() + i]));
  };
  const uint32_t size = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
  if (size > kMozLz4MaxDecoded) {
    *why = "it says it holds " + std::to_string(size) + " bytes, more than a startup cache can";
    return std::nullopt;
  }
  const std::string_view block = file.substr(kHeader);
  if (block.size() > size_t(std::numeric_limits<int>::max())) {
    *why = "its compressed block is too large";
    return std::nullopt;
  }
  std::string out(size, '\0');
  // The safe decoder never reads past the block nor writes past `size`; a damaged block
  // gives a negative result instead.
  const int got = LZ4_decompress_safe(block.data(), out.data(), static_cast<int>(block.size()),
                                      static_cast<int>(size));
  if (got < 0 || static_cast<uint32_t>(got) != size) {
    *why = got < 0 ? "its LZ4 block is damaged"
                   : "its LZ4 block gives " + std::to_string(got) + " bytes where " +
                         std::to_string(size) + " were stated";
    return std::nullopt;
  }
  return out;
}

std::optional<std::string> EncodeMozLz4(std::string_view data, std::string* why) {
  if (data.size() > size_t(LZ4_MAX_INPUT_SIZE) || data.size() > kMozLz4MaxDecoded) {
    *why = std::to_string(data.size()) + " bytes are too many for a mozLz40 file";
    return std::nullopt;
  }
  const int input = static_cast<int>(data.size());
  const int bound = LZ4_compressBound(input);
  std::string out(kMozLz4Magic);
  const uint32_t size = static_cast<uint32_t>(data.size());
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((size >> shift) & 0xFF);
  const size_t header = out.size();
  out.resize(header + static_cast<size_t>(bound));
  const int written = LZ4_compress_default(data.data(), out.data() + header, input, bound);
  if (written <= 0) {
    *why = "liblz4 could not compress " + std::to_string(data.size()) + " bytes";
    return std::nullopt;
  }
  out.resize(header + static_cast<size_t>(written));
  return out;
}

}  // namespace orvo
