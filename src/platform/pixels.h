#pragma once
// A plain block of 32-bit pixels, the form in which pictures cross the seam (icons drawn
// by the system, pictures decoded from files).
#include <cstdint>
#include <vector>

namespace orvo::os {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // row-major, top row first, 0xAARRGGBB, straight alpha
};

}  // namespace orvo::os
