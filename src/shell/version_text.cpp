// The version text of the program file.
#include "shell/version_text.h"

#include <utility>

#include "catalogue/shell_helpers.h"
#include "platform/program_files.h"
#include "shell/language.h"

namespace orvo {

std::string FormatVersionText(uint32_t ms, uint32_t ls) {
  return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + std::to_string(ls >> 16) +
         "." + std::to_string(ls & 0xFFFF);
}

namespace {

// The file version's two words (most and least significant).
std::pair<uint32_t, uint32_t> ProgramVersion() {
  TFixedFileInfo info{};
  if (os::ProgramFolder* folder = ProgramFolder();
      folder && GetFixedFileVersion(folder->Folder() + "OrvoPM.exe", info)) {
    return {info[2], info[3]};
  }
  return {(ORVO_VERSION_MAJOR << 16) | ORVO_VERSION_MINOR,
          (ORVO_VERSION_PATCH << 16) | ORVO_VERSION_TWEAK};
}

}  // namespace

std::string VersionText() {
  const auto [ms, ls] = ProgramVersion();
  return FormatVersionText(ms, ls);
}

uint16_t ProgramBuild() { return static_cast<uint16_t>(ProgramVersion().second & 0xFFFF); }

}  // namespace orvo
