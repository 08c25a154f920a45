// Lookup in the table the build generates from resources/skins/.
#include "ui/skin_resources.h"

#include <algorithm>

#include "graphics/image_codecs.h"
#include "ui/skins_embedded.h"

namespace orvo {

std::span<const uint8_t> SkinBytes(std::string_view name) {
  const auto* begin = skins_embedded::kSkins;
  const auto* end = begin + skins_embedded::kSkinCount;
  const auto* found = std::lower_bound(begin, end, name, [](const auto& entry, std::string_view n) {
    return std::string_view(entry.name) < n;
  });
  if (found == end || std::string_view(found->name) != name) return {};
  return {found->data, found->size};
}

PngImage SkinPng(std::string_view name) {
  const auto bytes = SkinBytes(name);
  if (bytes.empty()) return {};
  auto png = DecodePng(bytes);
  return png ? std::move(*png) : PngImage();
}

std::vector<std::string_view> SkinNames() {
  std::vector<std::string_view> names;
  for (size_t i = 0; i < skins_embedded::kSkinCount; ++i) {
    names.emplace_back(skins_embedded::kSkins[i].name);
  }
  return names;
}

}  // namespace orvo
