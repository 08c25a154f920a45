// The version text of the program file.
#include "shell/version_text.h"

#include "catalogue/shell_helpers.h"
#include "platform/program_files.h"
#include "shell/language.h"

namespace orvo {

std::string FormatVersionText(uint32_t ms, uint32_t ls) {
  return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + std::to_string(ls >> 16) +
         "." + std::to_string(ls & 0xFFFF);
}

std::string VersionText() {
  TFixedFileInfo info{};
  if (os::ProgramFolder* folder = ProgramFolder();
      folder && GetFixedFileVersion(folder->Folder() + "OrvoPM.exe", info)) {
    return FormatVersionText(info[2], info[3]);
  }
  return FormatVersionText((ORVO_VERSION_MAJOR << 16) | ORVO_VERSION_MINOR,
                           (ORVO_VERSION_PATCH << 16) | ORVO_VERSION_TWEAK);
}

}  // namespace orvo
