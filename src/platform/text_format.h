#pragma once
// The DrawText format bits the toolkit uses, with their Windows values so the GDI back end
// passes them straight through and the portable back end reads the same numbers.
#include <cstdint>

namespace orvo {

inline constexpr uint32_t kDtLeft = 0x0;
inline constexpr uint32_t kDtTop = 0x0;
inline constexpr uint32_t kDtCenter = 0x1;
inline constexpr uint32_t kDtRight = 0x2;
inline constexpr uint32_t kDtVCenter = 0x4;  // single line only
inline constexpr uint32_t kDtBottom = 0x8;   // single line only
inline constexpr uint32_t kDtWordBreak = 0x10;
inline constexpr uint32_t kDtSingleLine = 0x20;
inline constexpr uint32_t kDtExpandTabs = 0x40;
inline constexpr uint32_t kDtNoClip = 0x100;
inline constexpr uint32_t kDtCalcRect = 0x400;
inline constexpr uint32_t kDtNoPrefix = 0x800;      // "&" is drawn as itself
inline constexpr uint32_t kDtEditControl = 0x2000;  // break long words, hide a partial last line
inline constexpr uint32_t kDtEndEllipsis = 0x8000;
inline constexpr uint32_t kDtHidePrefix = 0x100000;

}  // namespace orvo
