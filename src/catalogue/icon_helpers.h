#pragma once
// Pictures for the add-on list and the browser buttons: icons taken from files through
// the system, and PNG files read from a profile.
#include <memory>
#include <string_view>

#include "catalogue/png_image.h"

namespace orvo {

// The file's icon at IconIndex drawn at (0, 0) on a transparent 48 x 48 canvas, as PNG;
// null when the file has no such icon.
std::unique_ptr<TPngImage> IconFileToPng(std::string_view file_name, int icon_index);
// The same for the file's associated icon (the browser registrations use this).
std::unique_ptr<TPngImage> AssociatedIconToPng(std::string_view file_name, int icon_index);
// The PNG file, or null when it can't be read or does not decode whole (a good header
// over a damaged body included), so no list ever draws a broken icon.
std::unique_ptr<TPngImage> LoadPngFile(std::string_view file_name);

}  // namespace orvo
