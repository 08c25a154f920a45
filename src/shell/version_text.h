#pragma once
// The program's version as the windows show it: major "." minor and release written one
// after the other "." build, so file version 1.0.0.48 reads "1.00.48".
#include <cstdint>
#include <string>

namespace orvo {

std::string FormatVersionText(uint32_t version_ms, uint32_t version_ls);
// From the program file's version record; natively, where the program file has none, from
// the version the program was built as.
std::string VersionText();
// The build number: the fourth part of the program file's version (the low 16 bits of
// its least significant word), or the build the program was built as.
uint16_t ProgramBuild();

}  // namespace orvo
