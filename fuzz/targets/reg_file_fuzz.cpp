// regedit files, the sandbox's registry on disk: whatever the bytes, reading gives a hive
// or a refusal, and a hive saved in each of the three forms reads back to the same hive,
// key for key and value for value. The sandbox saves its registry after every change, so
// a value that did not survive that round trip would be lost the next time it starts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "platform/reg_file.h"

namespace {

using orvo::os::RegHive;

bool SameKey(const RegHive::Key& a, const RegHive::Key& b) {
  if (a.name != b.name || a.values.size() != b.values.size() ||
      a.subkeys.size() != b.subkeys.size()) {
    return false;
  }
  for (size_t i = 0; i < a.values.size(); ++i) {
    const auto& [name_a, value_a] = a.values[i];
    const auto& [name_b, value_b] = b.values[i];
    if (name_a != name_b || value_a.type != value_b.type || value_a.data != value_b.data)
      return false;
  }
  for (size_t i = 0; i < a.subkeys.size(); ++i) {
    if (!SameKey(*a.subkeys[i], *b.subkeys[i])) return false;
  }
  return true;
}

bool SameHive(const RegHive& a, const RegHive& b) {
  for (const auto& [root, name] : RegHive::Roots()) {
    if (!SameKey(a.RootKey(root), b.RootKey(root))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo::os;
  RegHive hive;
  const RegFileParse parse =
      ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size), &hive);
  if (!parse.ok) return 0;
  for (RegFileFormat format :
       {RegFileFormat::kRegedit4, RegFileFormat::kVersion5Utf16, RegFileFormat::kVersion5Utf8}) {
    RegFileFormat used = format;
    const std::string text = WriteRegFile(hive, format, &used);
    RegHive again;
    const RegFileParse reread = ParseRegFile(text, &again);
    FUZZ_CHECK(reread.ok);
    FUZZ_CHECK(reread.warnings.empty());
    FUZZ_CHECK(reread.format == used);
    FUZZ_CHECK(SameHive(hive, again));
  }
  return 0;
}
