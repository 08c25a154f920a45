#pragma once
// The system ANSI code page, for the few places where text crosses the program's edge in
// it (downloaded notice and advert text, files written for other programs). The Windows
// build converts with the real CP_ACP; the portable build takes Windows-1252 as the ANSI
// code page, the one of an English or Western European Windows.
#include <string>
#include <string_view>

namespace orvo::os {

std::string AnsiToUtf8(std::string_view bytes);
// Characters the code page lacks become '?', as WideCharToMultiByte does by default.
std::string Utf8ToAnsi(std::string_view text);

}  // namespace orvo::os
