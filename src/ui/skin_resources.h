#pragma once
// The product's skin pictures, compiled into the program (resources/skins/*.png, embedded
// by the build as byte arrays so both builds carry the same pictures without files beside
// the program). Names are the file names without ".png".
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "graphics/png_image.h"

namespace orvo {

// The PNG file's bytes; empty for an unknown name.
std::span<const uint8_t> SkinBytes(std::string_view name);
// The decoded picture; empty for an unknown name.
PngImage SkinPng(std::string_view name);
// Every embedded name, sorted.
std::vector<std::string_view> SkinNames();

}  // namespace orvo
