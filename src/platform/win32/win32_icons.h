#pragma once
#include <optional>
#include <string_view>

#include "platform/pixels.h"

namespace orvo::os::win32 {

std::optional<Pixels> FileIconPixels(std::string_view path, int index, bool associated,
                                     int canvas_size);

}  // namespace orvo::os::win32
