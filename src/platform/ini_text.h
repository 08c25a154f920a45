#pragma once
// Initialisation files as bytes on disk: the encodings Windows' profile functions accept
// (UTF-16LE with a byte-order mark, and the ANSI code page without one; we also take UTF-8
// with its mark) turned into UTF-8 text and back. Decoding says whether the bytes really
// are text in that encoding, so readers of files they do not trust (language files) can
// refuse binary junk instead of showing it.
#include <string>
#include <string_view>

namespace orvo {

enum class IniEncoding { kAnsi, kUtf16Le, kUtf8 };

struct IniText {
  std::string utf8;
  IniEncoding encoding = IniEncoding::kAnsi;
  // False for bytes that are not text in their encoding: an odd-sized or big-endian UTF-16
  // file, unpaired surrogates, malformed UTF-8, or NUL characters anywhere.
  bool valid = true;
};

IniText DecodeIniBytes(std::string_view bytes);
// The text in the encoding, with the byte-order mark the encoding carries. ANSI text loses
// the characters the code page lacks; `lossless` (if given) is then set to false.
std::string EncodeIniText(std::string_view utf8, IniEncoding encoding, bool* lossless = nullptr);

}  // namespace orvo
