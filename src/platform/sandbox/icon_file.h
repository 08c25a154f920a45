#pragma once
// Icons from files inside a Windows image, decoded for real: .ico files (entries stored
// as PNG or as Windows bitmaps with their AND masks) and, as a convenience Windows does
// not offer, plain .png files; and the icon groups of program files (.exe, .dll).
#include <optional>
#include <string_view>

#include "platform/pixels.h"

namespace orvo::os::sandbox {

// The entry the system would take for its large icon (32 x 32, else the nearest larger
// one scaled down, else the largest scaled up), as ARGB pixels of that size.
std::optional<Pixels> DecodeLargeIcon(std::string_view file_bytes);

// The large icon of a program file's icon group number `index` (or, when negative, of the
// group with id -index), chosen and scaled as above.
std::optional<Pixels> DecodeProgramIcon(std::string_view pe_image, int index);

// Puts `icon` at (0, 0) of a transparent size x size canvas, clipping what sticks out.
Pixels OnCanvas(const Pixels& icon, int size);

}  // namespace orvo::os::sandbox
