#pragma once
// The largest pictures the program agrees to decode. A picture file announces its size in
// a few header bytes, so a small (or hostile) file can ask for gigabytes: every decoder
// checks these before it allocates anything.
#include <cstdint>

namespace orvo::os {

// Skins, icons in browser folders and pictures the program writes: 8192 on a side bounds a
// decoded picture at 256 MB of pixels, far beyond any real skin or icon.
inline constexpr uint32_t kMaxPictureSide = 8192;
// Pictures fetched over the network (add-on icons, advert pictures) are shown at most a
// few hundred pixels wide; 4096 on a side bounds one download's pixels at 64 MB.
inline constexpr uint32_t kMaxDownloadedPictureSide = 4096;

}  // namespace orvo::os
