#pragma once
// PNG in both directions through libpng, for the few places below the raster layer that
// meet pictures: icons the sandbox decodes, pictures the catalogues and downloads keep.
// The decoder never reads outside the bytes it is given and refuses pictures larger than
// 8192 x 8192.
#include <optional>
#include <string>
#include <string_view>

#include "platform/pixels.h"

namespace orvo::os {

std::optional<Pixels> DecodePng(std::string_view bytes);
std::optional<std::string> EncodePng(const Pixels& pixels);
bool LooksLikePng(std::string_view bytes);

}  // namespace orvo::os
