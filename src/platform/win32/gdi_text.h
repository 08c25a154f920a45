#pragma once
// GDI text for the raster seam: DrawTextW into the bitmap's DIB section.
#include <memory>
#include <string>

#include "platform/raster.h"

namespace orvo::os::win32 {

std::unique_ptr<TextRenderer> MakeGdiTextRenderer(std::string* error);

}  // namespace orvo::os::win32
