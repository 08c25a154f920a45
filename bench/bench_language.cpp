// bench_language: what translating costs. In a scratch program folder with the shipped
// English and German files plus generated ones, prints "name: value unit" lines:
//   builtin_parse_us         median time to parse the built-in English text
//   lookup_ns                mean GetLangString of a key the active (German) file holds
//   lookup_fallback_ns       mean GetLangString that falls through to the built-in text
//   font_name_us             median GetLangFontName (reads the file from disk each time)
//   detect_50_files_ms       median DetectLanguageFor over 50 language files, none matching
//   parse_1mb_file_ms        median ReloadLanguage of a valid file just under the 1 MiB cap
//   refuse_1mb_file_ms       median ReloadLanguage of a file that proves broken at its end
//   lookups_refused_file_us  1000 lookups while such a file is active (it is not re-read)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ini_text.h"
#include "platform/program_files.h"
#include "shell/language.h"
#include "shell/language_fonts.h"
#include "shell/language_list.h"
#include "shell/language_text.h"
#include "timing.h"

namespace fs = std::filesystem;
using namespace orvo;

namespace {

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Utf16(const std::string& text) { return EncodeIniText(text, IniEncoding::kUtf16Le); }

}  // namespace

int main() {
  char templ[] = "/tmp/orvo-bench-language-XXXXXX";
  if (!mkdtemp(templ)) return 1;
  const fs::path program = templ;
  const fs::path languages = program / "Languages";
  fs::create_directories(languages);
  auto own = os::OpenProgramFolder();
  for (const char* name : {"English", "German"}) {
    Write(
        languages / (std::string(name) + ".ini"),
        own->ReadFile(own->Folder() + "Languages/" + name + ".ini", size_t(1) << 20).value_or(""));
  }
  UseProgramFolder(os::OpenProgramFolder(program.string()));

  const auto builtin = os::FindRawResource("MEMLANG");
  std::printf("builtin_parse_us: %.1f us\n",
              1000 * MedianMs(201, [&] { LanguageText::FromBytes(*builtin); }));

  ChooseLanguageFile("German");
  constexpr int kLookups = 200000;
  size_t sink = 0;
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < kLookups; ++i)
    sink += GetLangString("Translation", "TfrmXOBMain.btnDel.hint", "").size();
  double ns =
      std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count();
  std::printf("lookup_ns: %.0f ns\n", ns / kLookups);
  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < kLookups; ++i)
    sink += GetLangString("Translation", "TfrmXOBMain.default", "(Default)").size();
  ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count();
  std::printf("lookup_fallback_ns: %.0f ns\n", ns / kLookups);
  std::printf("font_name_us: %.1f us\n",
              1000 * MedianMs(201, [&] { sink += GetLangFontName().size(); }));

  for (int i = 0; i < 48; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Lang%02d.ini", i);
    Write(languages / name,
          Utf16("[Translation]\r\nLangCode=0C0A|080A|040A|" + std::to_string(1000 + i) + "\r\n"));
  }
  std::printf("detect_50_files_ms: %.2f ms\n",
              MedianMs(21, [&] { sink += DetectLanguageFor(0x0411).size(); }));

  std::string big = "[Translation]\r\n";
  for (int i = 0; big.size() < 480000; ++i)
    big += "Key" + std::to_string(i) + "=Some translated text number " + std::to_string(i) + "\r\n";
  Write(languages / "Big.ini", Utf16(big));
  ChooseLanguageFile("Big");
  std::printf("parse_1mb_file_ms: %.2f ms\n", MedianMs(11, [] { ReloadLanguage(); }));
  Write(languages / "Big.ini",
        Utf16(big) + std::string("\x00\xD8", 2));  // a lone surrogate at the end
  std::printf("refuse_1mb_file_ms: %.2f ms\n", MedianMs(11, [] { ReloadLanguage(); }));
  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000; ++i) sink += GetLangString("Messages", "ReportS", "").size();
  std::printf(
      "lookups_refused_file_us: %.0f us\n",
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());

  fs::remove_all(program);
  return sink == 0;
}
