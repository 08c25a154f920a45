// Settings files and ANSI text natively: Windows-1252 stands for the ANSI code page, and
// the settings go through the portable profile reader and writer on the image's files.
#include "platform/ansi_code_page.h"
#include "platform/profile_files.h"
#include "platform/text.h"

namespace orvo::os {

std::string AnsiToUtf8(std::string_view bytes) { return Cp1252ToUtf8(bytes); }

std::string Utf8ToAnsi(std::string_view text, bool* lossless) {
  return Utf8ToCp1252(text, lossless);
}

std::unique_ptr<ProfileFiles> OpenProfileFiles(FileSystem& files) {
  return MakePortableProfileFiles(files);
}

}  // namespace orvo::os
