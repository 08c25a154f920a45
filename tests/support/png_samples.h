#pragma once
// Small PNG files made on the spot, for the transfer tests.
#include <cstdint>
#include <string>

namespace orvo::test {

// A valid RGBA PNG file of the given size (a gradient, so the data is not trivial).
std::string MakePng(uint32_t width, uint32_t height);

}  // namespace orvo::test
