#include "catalogue/firefox_locale.h"

#include "platform/text.h"

namespace orvo {
namespace {

struct LangIdTag {
  uint16_t langid;
  const char* tag;
};

// Windows language ids (MAKELANGID) of the interface languages Windows ships, with the tag
// Windows itself gives them (LCIDToLocaleName).
constexpr LangIdTag kLangIds[] = {
    {0x0401, "ar-SA"}, {0x0402, "bg-BG"},      {0x0403, "ca-ES"},      {0x0404, "zh-TW"},
    {0x0405, "cs-CZ"}, {0x0406, "da-DK"},      {0x0407, "de-DE"},      {0x0408, "el-GR"},
    {0x0409, "en-US"}, {0x040A, "es-ES"},      {0x040B, "fi-FI"},      {0x040C, "fr-FR"},
    {0x040D, "he-IL"}, {0x040E, "hu-HU"},      {0x040F, "is-IS"},      {0x0410, "it-IT"},
    {0x0411, "ja-JP"}, {0x0412, "ko-KR"},      {0x0413, "nl-NL"},      {0x0414, "nb-NO"},
    {0x0415, "pl-PL"}, {0x0416, "pt-BR"},      {0x0418, "ro-RO"},      {0x0419, "ru-RU"},
    {0x041A, "hr-HR"}, {0x041B, "sk-SK"},      {0x041C, "sq-AL"},      {0x041D, "sv-SE"},
    {0x041E, "th-TH"}, {0x041F, "tr-TR"},      {0x0420, "ur-PK"},      {0x0421, "id-ID"},
    {0x0422, "uk-UA"}, {0x0423, "be-BY"},      {0x0424, "sl-SI"},      {0x0425, "et-EE"},
    {0x0426, "lv-LV"}, {0x0427, "lt-LT"},      {0x0429, "fa-IR"},      {0x042A, "vi-VN"},
    {0x042B, "hy-AM"}, {0x042C, "az-Latn-AZ"}, {0x042D, "eu-ES"},      {0x042F, "mk-MK"},
    {0x0436, "af-ZA"}, {0x0437, "ka-GE"},      {0x0439, "hi-IN"},      {0x043E, "ms-MY"},
    {0x043F, "kk-KZ"}, {0x0441, "sw-KE"},      {0x0443, "uz-Latn-UZ"}, {0x0445, "bn-IN"},
    {0x0449, "ta-IN"}, {0x0456, "gl-ES"},      {0x0804, "zh-CN"},      {0x0807, "de-CH"},
    {0x0809, "en-GB"}, {0x080A, "es-MX"},      {0x080C, "fr-BE"},      {0x0810, "it-CH"},
    {0x0813, "nl-BE"}, {0x0814, "nn-NO"},      {0x0816, "pt-PT"},      {0x081A, "sr-Latn-CS"},
    {0x081D, "sv-FI"}, {0x0C04, "zh-HK"},      {0x0C07, "de-AT"},      {0x0C09, "en-AU"},
    {0x0C0A, "es-ES"}, {0x0C0C, "fr-CA"},      {0x0C1A, "sr-Cyrl-CS"}, {0x1004, "zh-SG"},
    {0x1009, "en-CA"}, {0x100C, "fr-CH"},      {0x1407, "de-LI"},      {0x1409, "en-NZ"},
    {0x1809, "en-IE"}, {0x1C09, "en-ZA"},      {0x2C0A, "es-AR"},      {0x340A, "es-CL"},
    {0x4009, "en-IN"},
};

// "pt_BR" and "pt-br" are the same tag.
std::string Normalised(std::string_view tag) {
  std::string out = ToLowerAscii(TrimView(tag));
  for (char& c : out) {
    if (c == '_') c = '-';
  }
  return out;
}

std::string_view LanguageOf(std::string_view normalised) {
  return normalised.substr(0, normalised.find('-'));
}

// How well an offered tag answers a request: 0 not at all, 3 exactly, 2 the request's bare
// language, 1 another region of the same language.
int MatchLevel(const std::string& requested, const std::string& offered) {
  if (requested.empty() || offered.empty()) return 0;
  if (offered == requested) return 3;
  if (offered == LanguageOf(requested)) return 2;
  return LanguageOf(offered) == LanguageOf(requested) ? 1 : 0;
}

}  // namespace

std::string LanguageTagOfLangId(uint16_t langid) {
  for (const auto& entry : kLangIds) {
    if (entry.langid == langid) return entry.tag;
  }
  // Another region of a known language: the language alone.
  for (const auto& entry : kLangIds) {
    if ((entry.langid & 0x3FF) == (langid & 0x3FF)) return std::string(LanguageOf(entry.tag));
  }
  return "";
}

std::vector<std::string> FirefoxRequestedLocales(const std::optional<std::string>& requested_pref,
                                                 const std::optional<std::string>& useragent_pref,
                                                 uint16_t langid) {
  std::vector<std::string> out;
  if (requested_pref) {
    std::string_view rest = *requested_pref;
    while (!rest.empty()) {
      const size_t comma = rest.find(',');
      const std::string tag(TrimView(rest.substr(0, comma)));
      if (!tag.empty()) out.push_back(tag);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
  }
  if (out.empty() && useragent_pref && !TrimView(*useragent_pref).empty()) {
    out.emplace_back(TrimView(*useragent_pref));
  }
  if (out.empty()) {
    const std::string tag = LanguageTagOfLangId(langid);
    if (!tag.empty()) out.push_back(tag);
  }
  bool has_en_us = false;
  for (const auto& tag : out) has_en_us = has_en_us || Normalised(tag) == "en-us";
  if (!has_en_us) out.emplace_back("en-US");
  return out;
}

const Json* SelectedLocale(const Json& addon, const std::vector<std::string>& requested) {
  if (const Json* locales = ArrayMember(addon, "locales")) {
    for (const std::string& wanted : requested) {
      const std::string want = Normalised(wanted);
      for (int level = 3; level >= 1; --level) {
        for (const Json& entry : *locales) {
          const Json* tags = entry.is_object() ? ArrayMember(entry, "locales") : nullptr;
          if (!tags) continue;
          for (const Json& tag : *tags) {
            if (tag.is_string() &&
                MatchLevel(want, Normalised(tag.get_ref<const std::string&>())) == level) {
              return &entry;
            }
          }
        }
      }
    }
  }
  return ObjectMember(addon, "defaultLocale");
}

}  // namespace orvo
