#pragma once
// Firefox's compressed JSON files ("mozLz40"): the add-on startup cache
// addonStartup.json.lz4, and the session and search files written the same way. The
// browser reads them in toolkit/mozapps/extensions/AddonManagerStartup.cpp (ReadFileLZ4,
// DecodeLZ4) and writes them through IOUtils with compression: the eight bytes "mozLz40"
// and a NUL, the decoded size as an unsigned 32-bit little-endian number, then one raw LZ4
// block (no LZ4 frame). The block itself is liblz4's.
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

// The framing's magic, NUL included.
inline constexpr std::string_view kMozLz4Magic{"mozLz40\0", 8};
// Larger decoded sizes are refused before anything is allocated: a startup cache holds a
// few hundred bytes per add-on.
inline constexpr size_t kMozLz4MaxDecoded = size_t(64) << 20;

// The decoded bytes, or nothing with the reason in `why` (a wrong magic, a size beyond
// kMozLz4MaxDecoded, a block that does not decode to exactly the stated size).
std::optional<std::string> DecodeMozLz4(std::string_view file, std::string* why);
// The file for `data`; nothing (with the reason) only when data is too large for the
// framing or for liblz4.
std::optional<std::string> EncodeMozLz4(std::string_view data, std::string* why);

}  // namespace orvo
