// VS_VERSIONINFO: wLength, wValueLength, wType, L"VS_VERSION_INFO", padding to a 32-bit
// boundary, then VS_FIXEDFILEINFO (signature 0xFEEF04BD and twelve more DWORDs).
#include "platform/pe_version.h"

#include "platform/pe_resources.h"

namespace orvo::os {

std::optional<FixedFileInfo> ReadPeFixedFileInfo(std::string_view image) {
  const auto data = PeResourceData(image, kRtVersion, std::nullopt, 0);
  if (!data || data->size() < 6) return std::nullopt;
  auto u16 = [&](size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>((*data)[at]) |
                                 (static_cast<uint8_t>((*data)[at + 1]) << 8));
  };
  auto u32 = [&](size_t at) { return uint32_t(u16(at)) | (uint32_t(u16(at + 2)) << 16); };
  size_t pos = 6;  // past wLength, wValueLength, wType
  while (pos + 2 <= data->size() && u16(pos) != 0) pos += 2;
  pos = (pos + 2 + 3) & ~size_t(3);
  if (pos + 52 > data->size() || u32(pos) != 0xFEEF04BDu) return std::nullopt;
  FixedFileInfo info{};
  for (size_t i = 0; i < info.size(); ++i) info[i] = u32(pos + 4 * i);
  return info;
}

}  // namespace orvo::os
