#pragma once
// Two values of the advert description that need care: the title colours ("#RRGGBB") and
// the file name an advert picture is kept under in the advert folder, which comes from
// the picture's address and so from the network.
#include <optional>
#include <string>
#include <string_view>

#include "graphics/color.h"

namespace orvo {

// The character at position 1 is skipped, positions 2-3, 4-5 and 6-7 are read as
// hexadecimal red, green and blue: red + green x 256 + blue x 65536. Empty text is black;
// text too short for six digits, or with other characters there, is no colour.
std::optional<TColor> ParseAdColor(std::string_view text);

// The last path segment of the address (the text after its last "/") when it is a plain
// file name: 1 to 100 characters, no path separator of either kind, no drive colon or
// other character Windows refuses in names (<>:"|?* and control characters), no "%"
// (an escaped separator stays out too), no "..", not ending in a dot or blank, and not a
// device name (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$, with or without an
// extension). Empty otherwise: the item then has no picture.
std::string AdPictureFileName(std::string_view imgsrc);

}  // namespace orvo
