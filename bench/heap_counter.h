#pragma once
// Live heap bytes of the benchmark process, counted by its own operator new / delete
// (heap_counter.cpp replaces them), so a benchmark can say how much a structure holds.
#include <cstddef>

namespace orvo::bench {

size_t LiveHeapBytes();

}  // namespace orvo::bench
