#pragma once
// The system's ANSI code page, for text files written without a byte-order mark (language
// files, settings files of older versions). The Win32 back end converts with the real
// CP_ACP; the sandbox back end takes Windows-1252, as the rest of the portable side does.
#include <string>
#include <string_view>

namespace orvo::os {

std::string AnsiToUtf8(std::string_view bytes);
// Characters the code page lacks become '?'; `lossless` (if given) is then set to false.
std::string Utf8ToAnsi(std::string_view text, bool* lossless = nullptr);

}  // namespace orvo::os
