#pragma once
// Resources of a Windows executable read from its bytes, without Windows: the sandbox
// uses them for the version record and the icons of program files inside an image.
// Nothing here reads outside the bytes it is given, whatever the headers claim.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvo::os {

inline constexpr uint32_t kRtIcon = 3;
inline constexpr uint32_t kRtGroupIcon = 14;
inline constexpr uint32_t kRtVersion = 16;

// The data of a resource of `type`: the one with numeric `id` when given, else the nth
// entry of the type in stored order; its first language in both cases.
std::optional<std::string_view> PeResourceData(std::string_view image, uint32_t type,
                                               std::optional<uint32_t> id, size_t nth = 0);

}  // namespace orvo::os
