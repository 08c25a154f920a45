#pragma once
// Bounds every transfer keeps, so that a misbehaving server can neither fill the memory
// nor hold a worker thread forever.
#include <cstddef>
#include <cstdint>

namespace orvo {

// A reply larger than this is refused as a whole (no partial text, no picture, a failed
// post): the program's downloads are descriptions, INI text, small pictures and JSON.
inline constexpr size_t kMaxTransferBytes = size_t(16) << 20;  // 16 MiB

// Plain downloads give up after this long without data. WinInet's traditional default; the
// form posts have their own, shorter, time-out (TRateHttpClient).
inline constexpr uint32_t kDownloadReceiveTimeoutMs = 30000;

}  // namespace orvo
