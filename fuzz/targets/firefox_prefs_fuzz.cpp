// Firefox's prefs.js and the languages the catalogue takes an add-on's name in. The
// input's parts: the prefs.js text, a preference name, a string value, and one add-on
// entry of extensions.json (with its "defaultLocale" and "locales"). Whatever they hold:
// - setting a string preference and reading it back gives the value, and leaves every
//   other preference the file held as it read before (a theme switch rewrites prefs.js,
//   which holds the user's whole browser set-up);
// - the languages asked for hold American English (the browser's last resort) and no
//   empty tag;
// - the locale chosen for the name is one of the entry's own objects, or none.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/firefox_locale.h"
#include "catalogue/firefox_prefs.h"
#include "catalogue/json_document.h"
#include "fuzz_support.h"

namespace {

// Names the catalogue reads and writes, and one a user's file commonly holds.
constexpr const char* kKnownNames[] = {"intl.locale.requested", "general.useragent.locale",
                                       "extensions.activeThemeID", "browser.startup.homepage"};

bool IsAmericanEnglish(std::string tag) {
  for (char& c : tag)
    c = c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tag == "en-us";
}

bool WithinEntry(const orvo::Json& addon, const orvo::Json* chosen) {
  if (chosen == orvo::ObjectMember(addon, "defaultLocale")) return true;
  const orvo::Json* locales = orvo::ArrayMember(addon, "locales");
  if (!locales) return false;
  for (const orvo::Json& entry : *locales) {
    if (&entry == chosen) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvo;
  const auto parts =
      fuzz::SplitParts(std::string_view(reinterpret_cast<const char*>(data), size), 4);
  const std::string_view prefs = parts[0];
  const std::string_view name = parts[1];
  const std::string_view value = parts[2];

  const std::string changed = WithUserPrefString(prefs, name, value);
  FUZZ_CHECK(UserPrefString(changed, name) == std::string(value));
  for (const char* other : kKnownNames) {
    if (name != other) FUZZ_CHECK(UserPrefString(changed, other) == UserPrefString(prefs, other));
  }

  const std::vector<std::string> requested =
      FirefoxRequestedLocales(UserPrefString(prefs, "intl.locale.requested"),
                              UserPrefString(prefs, "general.useragent.locale"), 0x0C07);
  FUZZ_CHECK(std::any_of(requested.begin(), requested.end(), IsAmericanEnglish));
  for (const std::string& tag : requested) FUZZ_CHECK(!tag.empty());

  const auto addon = ParseJsonDocument(parts[3]);
  if (addon && addon->value.is_object()) {
    const Json* chosen = SelectedLocale(addon->value, requested);
    FUZZ_CHECK(chosen == nullptr || WithinEntry(addon->value, chosen));
  }
  return 0;
}
