#pragma once
// Reader and writer of regedit files: "REGEDIT4" (ANSI) and "Windows Registry Editor
// Version 5.00" (UTF-16LE with byte-order mark as regedit writes it, or UTF-8), with every
// value form regedit uses: strings, dword:, hex:, hex(n): with line continuations, "-" to
// delete a value and [-key] to delete a key. The same files import into Wine with
// `wine reg import`, so one fixture feeds the sandbox and a real registry.
#include <string>
#include <string_view>
#include <vector>

#include "platform/reg_hive.h"

namespace orvo::os {

enum class RegFileFormat { kRegedit4, kVersion5Utf16, kVersion5Utf8 };

struct RegFileParse {
  bool ok = false;                    // false only when the text is not a regedit file at all
  std::string error;                  // why, when not ok
  std::vector<std::string> warnings;  // lines that were skipped, with their line numbers
  RegFileFormat format = RegFileFormat::kVersion5Utf16;
};

// Applies the file to the hive (keys created, values set, deletions done), line by line as
// regedit does: a damaged line is skipped with a warning, the rest still applies.
RegFileParse ParseRegFile(std::string_view bytes, RegHive* hive);

// The whole hive as a file. A REGEDIT4 file can't hold text outside Windows-1252, so such a
// hive is written in the Version 5.00 UTF-16 form instead; `used` says which form it got.
std::string WriteRegFile(const RegHive& hive, RegFileFormat format, RegFileFormat* used = nullptr);

}  // namespace orvo::os
