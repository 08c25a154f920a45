// The header entries of the active language file, read from disk each time.
#include "shell/language_fonts.h"

#include <optional>
#include <utility>

#include "platform/program_files.h"
#include "platform/text.h"
#include "platform/integer_text.h"
#include "shell/language.h"
#include "shell/language_text.h"

namespace orvo {
namespace {

constexpr std::pair<std::string_view, uint8_t> kCharsets[] = {
    {"ANSI_CHARSET", 0},          {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},          {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"HANGUL_CHARSET", 129},      {"JOHAB_CHARSET", 130},    {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},    {"TURKISH_CHARSET", 162},
    {"VIETNAMESE_CHARSET", 163},  {"HEBREW_CHARSET", 177},   {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186},      {"RUSSIAN_CHARSET", 204},  {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238},  {"OEM_CHARSET", 255},
};

std::optional<LanguageText> ActiveFileOnDisk() {
  os::ProgramFolder* folder = ProgramFolder();
  if (!folder || LanguageFile().empty()) return std::nullopt;
  return ReadLanguageFile(*folder, LanguageFile());
}

}  // namespace

uint8_t CharsetFromName(std::string_view name) {
  name = TrimView(name);
  for (const auto& [ident, value] : kCharsets) {
    if (EqualsNoCase(ident, name)) return value;
  }
  return kDefaultCharset;
}

uint8_t GetLangCharset() {
  const auto text = ActiveFileOnDisk();
  if (!text) return kDefaultCharset;
  return CharsetFromName(text->Get("Translation", "DefaultCharset", "ANSI_CHARSET"));
}

std::string GetLangFontName() {
  const auto text = ActiveFileOnDisk();
  return text ? text->Get("Translation", "DefaultFont", "Tahoma") : "Tahoma";
}

int32_t GetLangFontSize() {
  const auto text = ActiveFileOnDisk();
  return text ? ParseInt32Or(text->Get("Translation", "DefaultFontSize", "8"), 8) : 8;
}

}  // namespace orvo
