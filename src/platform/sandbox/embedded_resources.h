#pragma once
// The raw-data resources of the native build. The table is generated at build time from
// the same files the Windows build's resource script names (cmake/EmbedResources.cmake),
// so both builds carry the same bytes.
#include <span>
#include <string_view>

namespace orvo::os::sandbox {

struct EmbeddedResource {
  std::string_view name;
  std::string_view bytes;
};

std::span<const EmbeddedResource> EmbeddedResources();

}  // namespace orvo::os::sandbox
