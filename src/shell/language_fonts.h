#pragma once
// The font a language asks for: face, size in points and GDI character set, from the
// header entries of section "Translation" ("DefaultFont", "DefaultFontSize",
// "DefaultCharset"). They are read from LanguageFile on disk at every call, not from the
// parsed copy, and never from the built-in text.
#include <cstdint>
#include <string>
#include <string_view>

#include "graphics/font.h"  // kDefaultCharset

namespace orvo {

inline constexpr uint8_t kAnsiCharset = 0;

// The GDI value of a character-set constant name ("ANSI_CHARSET", "GB2312_CHARSET", ...,
// compared without case); DEFAULT_CHARSET for a name that is none of them.
uint8_t CharsetFromName(std::string_view name);

// "DefaultCharset": ANSI_CHARSET when the file lacks it, DEFAULT_CHARSET when there is no
// usable file.
uint8_t GetLangCharset();
// "DefaultFont", default "Tahoma".
std::string GetLangFontName();
// "DefaultFontSize", default 8 (also for a value that is not a number).
int32_t GetLangFontSize();

}  // namespace orvo
