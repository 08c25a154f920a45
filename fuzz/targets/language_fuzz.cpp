// Language files: anyone can drop one into the Languages folder, and every text of every
// window comes through it. The input is the file's bytes; its first byte picks how the
// rest is stored (as it is, UTF-16LE with its mark, UTF-8 with its mark, or UTF-16 units
// written raw behind the mark), so the fuzzer works on text and still reaches every
// decoder. The file is chosen, detected and read as at start-up; every text the program
// formats with a placeholder is formatted.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "platform/program_files.h"
#include "platform/text.h"
#include "shell/lang_format.h"
#include "shell/language.h"
#include "shell/language_fonts.h"
#include "shell/language_list.h"

namespace {

namespace fs = std::filesystem;

fs::path ProgramFolderPath() {
  static const fs::path folder = [] {
    std::string templ = (fs::temp_directory_path() / "orvo-fuzz-lang-XXXXXX").string();
    if (fs::is_directory("/dev/shm")) templ = "/dev/shm/orvo-fuzz-lang-XXXXXX";
    if (!mkdtemp(templ.data())) orvo::fuzz::Fail(__FILE__, __LINE__, "mkdtemp");
    fs::create_directories(fs::path(templ) / "Languages");
    return fs::path(templ);
  }();
  return folder;
}

std::string FileBytes(std::string_view input) {
  if (input.empty()) return {};
  const std::string_view rest = input.substr(1);
  switch (static_cast<uint8_t>(input[0]) % 4) {
    case 1: return "\xFF\xFE" + orvo::Utf8ToUtf16LeBytes(rest, false);
    case 2: return "\xEF\xBB\xBF" + std::string(rest);
    case 3: return "\xFF\xFE" + std::string(rest);
    default: return std::string(rest);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  const fs::path folder = ProgramFolderPath();
  const std::string bytes = FileBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  std::ofstream(folder / "Languages" / "Fuzzed.ini", std::ios::binary | std::ios::trunc) << bytes;

  // Choosing the file below drops what was read of the last input's; the built-in texts
  // the lookups fall back on stay loaded, as they do in the program (decoding them again
  // for every input took most of its time).
  UseProgramFolder(os::OpenProgramFolder(folder.string() + "/"));
  // A new user's language comes from the files' LangCode lists.
  FUZZ_CHECK(!DetectLanguageFor(0x0409).empty());
  ChooseLanguageFile("Fuzzed");
  for (const char* key : {"TfrmXOBMain.lbl1.Caption", "TfrmXOBMain.lbl2.caption", "Confirm"}) {
    const std::string text = GetLangString("Translation", key, "%d");
    FormatLangText(text, {"12", "1.11.11"});
    FormatLangText(text, {});
  }
  GetLangString("Messages", "DeleteConf", "DeleteConf");
  GetLangString("Lang", "NativeLanguage", "Fuzzed");
  const std::string face = GetLangFontName();
  FUZZ_CHECK(IsValidUtf8(face));
  GetLangFontSize();
  GetLangCharset();
  return 0;
}
