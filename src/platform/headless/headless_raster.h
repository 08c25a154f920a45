#pragma once
// The portable raster back end: heap pixels and FreeType text.
#include <memory>

#include "platform/raster.h"

namespace orvo::os::headless {

std::unique_ptr<TextRenderer> MakeFreeTypeTextRenderer(std::string* error);

}  // namespace orvo::os::headless
