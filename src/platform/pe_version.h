#pragma once
// Reads the fixed version record (VS_FIXEDFILEINFO) out of a Windows executable's version
// resource without Windows: the sandbox back end uses it for files inside an image, so
// GetFixedFileVersion answers the same for OrvoPM.exe there as on Windows.
#include <optional>
#include <string_view>

#include "platform/system_info.h"

namespace orvo::os {

// Nothing when the bytes are not a PE image or it has no version resource. Never reads
// outside `image`, whatever its headers claim.
std::optional<FixedFileInfo> ReadPeFixedFileInfo(std::string_view image);

}  // namespace orvo::os
