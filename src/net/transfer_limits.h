#pragma once
// Bounds every transfer keeps, so that a misbehaving server can neither fill the memory
// nor hold a worker thread forever.
#include <cstddef>
#include <cstdint>

namespace orvo {

// A reply larger than this is refused as a whole (no partial text, no picture, a failed
// post): the program's downloads are descriptions, INI text, small pictures and JSON.
inline constexpr size_t kMaxTransferBytes = size_t(16) << 20;  // 16 MiB

// The notices' own bounds: a description (advert JSON, update and news INI text, the
// newsletter page) is a few kilobytes, an advert or newsletter picture a few hundred; more
// than this is refused like a failed download.
inline constexpr size_t kMaxDescriptionBytes = size_t(1) << 20;  // 1 MiB
inline constexpr size_t kMaxPictureBytes = size_t(4) << 20;      // 4 MiB

// Plain downloads give up after this long without data. WinInet's traditional default; the
// form posts have their own, shorter, time-out (TRateHttpClient).
inline constexpr uint32_t kDownloadReceiveTimeoutMs = 30000;

}  // namespace orvo
